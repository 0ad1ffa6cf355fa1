#pragma once
// Starting a program when the user logs on, over XDG autostart entries: one .desktop file per
// entry, named after the entry, in $XDG_CONFIG_HOME/autostart (allUsers: the first folder of
// $XDG_CONFIG_DIRS). A "once" entry removes its own file before it starts the program.

#include "form_controls.h"
#include "message_boxes.h"
#include "product.h"
#include "settings_store.h"

#include <QString>
#include <QStringList>

#include <functional>

namespace toolkit {

QString autostartFolder(bool allUsers);
QString autostartFilePath(const QString &name, bool allUsers, bool once);
// The Exec= value for a program and its arguments, quoted as the desktop-entry format requires.
QString desktopExecValue(const QStringList &command);

// command: the program path followed by its arguments.
bool SetAutostartEntry(const QString &name, const QStringList &command, bool allUsers, bool once);
void DeleteAutostartEntry(const QString &name, bool allUsers, bool once);
bool AutostartEntryExists(const QString &name, bool allUsers, bool once);
// The program and arguments of an existing entry, or empty.
QStringList AutostartEntryCommand(const QString &name, bool allUsers, bool once);

using LinkOperation = std::function<bool(const QString &path)>;

// The autostart check box of a program: its tag is empty until InitAutostartChoice has run.
struct AutostartContext {
    const Product &product;
    QStringList command; // what the entry starts, e.g. { ProgramFilePath(), "/AUTOSTART" }
    Registry &registry;
    MessageBoxes &boxes;
    // How the old Startup link is made writable and deleted; empty means the file system
    // itself. Given by tests for the failures that no folder shows to an administrator.
    LinkOperation resetAttributes = {};
    LinkOperation removeFile = {};
};
void InitAutostartChoice(CheckBox &box, AutostartContext &context);
void ApplyAutostartChoice(CheckBox &box, AutostartContext &context);

inline const char *kShellFoldersKey =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

} // namespace toolkit
