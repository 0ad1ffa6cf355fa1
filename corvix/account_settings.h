#pragma once
// The dynamic-DNS account as the user enters it, and its storage in the program's INI file.

#include "corvix_context.h"
#include "settings_store.h"

#include <QString>

namespace corvix {

class AccountSettings {
public:
    AccountSettings(CorvixContext &context, toolkit::IniAccess &ini, const QString &iniPath);

    // Every change of an account element pauses the monitoring and saves at once.
    void connectChangeHandling();

    void LoadSettings();
    void SaveSettings();
    bool LoginDataComplete() const;

    QString ServiceSection(bool programWide) const;
    QString ReadServiceSetting(const QString &key, const QString &defaultValue, bool programWide);
    void WriteServiceSetting(const QString &key, const QString &value, bool programWide);

    // The input focus left text box index: its text is trimmed.
    void textBoxLeft(int index);

    bool SettingsLoaded = false;

    static QString hostLabelTemplate();
    // The four boxes joined for "TB", each trimmed and followed by character 3.
    static QString loginDataText(const CorvixForm &form);

private:
    void accountChanged();

    CorvixContext &m_context;
    toolkit::IniAccess &m_ini;
    QString m_iniPath;
};

} // namespace corvix
