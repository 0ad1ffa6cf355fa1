#pragma once
// Profile (INI) files, the per-user settings store and the small registry layer.

#include "product.h"

#include <QSize>
#include <QString>
#include <QVariant>

class QSettings;

namespace toolkit {

// One profile file with the Windows rules: section and key names case-insensitive, values
// trimmed and one pair of surrounding quotes removed on read, every other line kept as it is,
// CR LF line ends. A write goes to a temporary file that replaces the old one only when complete.
namespace profile {
QString readValue(const QString &file, const QString &section, const QString &key,
                  const QString &defaultValue);
// ownerOnly: the file is created readable and writable by its owner only (login data).
bool writeValue(const QString &file, const QString &section, const QString &key,
                const QString &value, bool ownerOnly = false);
} // namespace profile

// ReadIniValue/WriteIniValue remember the last file they were given; an empty file argument
// means that remembered file.
class IniAccess {
public:
    explicit IniAccess(bool ownerOnly = false) : m_ownerOnly(ownerOnly) {}

    QString ReadIniValue(const QString &section, const QString &key, const QString &defaultValue,
                         const QString &file = {});
    void WriteIniValue(const QString &section, const QString &key, const QString &value,
                       const QString &file = {});
    QString rememberedFile() const { return m_remembered; }

private:
    QString m_remembered;
    bool m_ownerOnly;
};

// DataFolder() + product name + ".INI".
QString ProgramIniPath(const Product &product);

// Per-user values under "Quillon Software" / product name.
class UserSettings {
public:
    explicit UserSettings(const QString &productName);
    ~UserSettings();
    UserSettings(const UserSettings &) = delete;
    UserSettings &operator=(const UserSettings &) = delete;
    void SaveUserSetting(const QString &name, const QVariant &value);
    QString LoadUserSetting(const QString &name, const QString &defaultValue);

private:
    QSettings *m_settings;
};

// Where a window goes at start: the stored top-left corner when it lies on the screen (both
// values at least 0 and strictly inside), else centred. All values in twips.
struct TwipPoint {
    int left = 0;
    int top = 0;
    bool operator==(const TwipPoint &o) const { return left == o.left && top == o.top; }
};
TwipPoint centredPosition(QSize screen, QSize window);
TwipPoint restoredPosition(const QString &storedTop, const QString &storedLeft, QSize screen,
                           QSize window);

// The registry counterpart: values addressed by root, key path and value name, kept in one file
// per user. Nothing exists there unless someone wrote it.
enum class RegistryRoot { CurrentUser, LocalMachine };
enum RegistryType { RegSz = 1, RegExpandSz = 2, RegBinary = 3, RegDword = 4, RegMultiSz = 7 };

class Registry {
public:
    // storeFile empty: ~/.config/Quillon Software/registry.ini (XDG_CONFIG_HOME honoured).
    explicit Registry(const QString &storeFile = {});
    QString storeFile() const { return m_file; }

    bool RegistryValueExists(RegistryRoot root, const QString &keyPath, const QString &name) const;
    QString ReadRegistryValue(RegistryRoot root, const QString &keyPath, const QString &name) const;
    void WriteRegistryValue(RegistryRoot root, const QString &keyPath, const QString &name,
                            const QString &data, int type);
    void DeleteRegistryValue(RegistryRoot root, const QString &keyPath, const QString &name);

private:
    QString m_file;
};

} // namespace toolkit
