#include "account_settings.h"

#include "ansi_codepage.h"
#include "path_helpers.h"
#include "text_helpers.h"

namespace corvix {

namespace {
const QChar kFieldSeparator(3);

int numericValue(const QString &text)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    return ok ? value : 0;
}
} // namespace

AccountSettings::AccountSettings(CorvixContext &context, toolkit::IniAccess &ini,
                                 const QString &iniPath)
    : m_context(context), m_ini(ini), m_iniPath(iniPath)
{
}

QString AccountSettings::hostLabelTemplate()
{
    return QStringLiteral("Domain-Namen: \\n\\n(Für jeden einzelnen \\nNamen eine eigene \\nZeile "
                          "verwenden.) \\n");
}

void AccountSettings::connectChangeHandling()
{
    CorvixForm &form = m_context.form;
    for (auto &box : form.FtpTB)
        box.onChange = [this] { accountChanged(); };
    form.WildcardChk.onClick = [this] { accountChanged(); };
    form.ThisServiceActiveChk.onClick = [this] { accountChanged(); };
    form.AccessTypOpt.onClick = [this](int) { accountChanged(); };
}

void AccountSettings::accountChanged()
{
    if (m_context.stopMonitoring)
        m_context.stopMonitoring();
    SaveSettings();
}

void AccountSettings::textBoxLeft(int index)
{
    if (index < 0 || index >= int(m_context.form.FtpTB.size()))
        return;
    auto &box = m_context.form.FtpTB[size_t(index)];
    box.setText(box.text().trimmed());
}

QString AccountSettings::ServiceSection(bool programWide) const
{
    return programWide ? QStringLiteral("Common") : m_context.form.DynDnsServiceList.selectedText();
}

QString AccountSettings::ReadServiceSetting(const QString &key, const QString &defaultValue,
                                            bool programWide)
{
    return m_ini.ReadIniValue(ServiceSection(programWide), key, defaultValue, m_iniPath);
}

void AccountSettings::WriteServiceSetting(const QString &key, const QString &value,
                                          bool programWide)
{
    m_ini.WriteIniValue(ServiceSection(programWide), key, value, m_iniPath);
}

void AccountSettings::LoadSettings()
{
    CorvixForm &form = m_context.form;
    form.DynDnsServiceList.items = QStringList{m_context.provider.serviceName};
    form.DynDnsServiceList.selected = 0;
    form.hostLabelText = toolkit::FillPlaceholders(hostLabelTemplate());

    bool ok = false;
    const QString login = toolkit::ScrambleText(
        ReadServiceSetting(QStringLiteral("TB"), QString(), false), false, &ok);
    const QStringList fields = login.split(kFieldSeparator);
    for (int i = 0; i < int(form.FtpTB.size()); ++i)
        form.FtpTB[size_t(i)].setText(ok && fields.size() >= 4 ? fields.at(i) : QString());

    form.WildcardChk.setChecked(
        numericValue(ReadServiceSetting(QStringLiteral("WC"), QStringLiteral("0"), false)) != 0);
    form.ThisServiceActiveChk.setChecked(
        numericValue(ReadServiceSetting(QStringLiteral("TSA"), QStringLiteral("0"), false)) != 0);
    form.AccessTypOpt.select(
        numericValue(ReadServiceSetting(QStringLiteral("AT"), QStringLiteral("0"), true)) & 1);
}

QString AccountSettings::loginDataText(const CorvixForm &form)
{
    QString text;
    for (const auto &box : form.FtpTB)
        text += box.text().trimmed() + kFieldSeparator;
    return text;
}

void AccountSettings::SaveSettings()
{
    if (!SettingsLoaded)
        return;
    const CorvixForm &form = m_context.form;
    const QString login = loginDataText(form);
    bool ok = false;
    const QString scrambled = toolkit::ScrambleText(login, true, &ok);
    if (ok) {
        WriteServiceSetting(QStringLiteral("TB"), scrambled, false);
    } else {
        // The stored login data stay as they were rather than being stored mangled.
        m_context.ShowStatus(
            QStringLiteral("Die Login-Angaben enthalten das Zeichen '%1', das nicht gespeichert "
                           "werden kann - bitte ändern.")
                .arg(toolkit::firstNonAnsiChar(login)));
    }
    WriteServiceSetting(QStringLiteral("WC"),
                        form.WildcardChk.isChecked() ? QStringLiteral("1") : QStringLiteral("0"),
                        false);
    WriteServiceSetting(
        QStringLiteral("TSA"),
        form.ThisServiceActiveChk.isChecked() ? QStringLiteral("1") : QStringLiteral("0"), false);
    WriteServiceSetting(QStringLiteral("AT"),
                        form.networkMode() ? QStringLiteral("1") : QStringLiteral("0"), true);
}

bool AccountSettings::LoginDataComplete() const
{
    const CorvixForm &form = m_context.form;
    return !form.FtpTB[0].text().isEmpty() && !form.FtpTB[1].text().isEmpty() &&
           !form.FtpTB[2].text().isEmpty();
}

} // namespace corvix
