#include "update_cycle.h"

#include "text_helpers.h"

namespace corvix {

toolkit::Product corvixProduct()
{
    return {kProductName, QStringLiteral("Verbindet Ihren Heim-Web-Server mit dem Internet"), 1, 0,
            62};
}

UpdateCycle::UpdateCycle(const CorvixDependencies &deps)
    : m_deps(deps),
      m_context(deps.window, deps.boxes, deps.now, deps.checkChannel, deps.updateChannel),
      m_settings(m_context, m_ini, deps.iniPath), m_update(m_context),
      m_detection(m_context, m_settings, deps.localAddresses, m_update),
      m_transfers(m_context, m_detection, m_update),
      m_product(corvixProduct()), m_autostart{m_product, deps.autostartCommand, deps.registry,
                                              deps.boxes}
{
    m_context.stopMonitoring = [this] { StopMonitoring(); };
    m_context.form.AppActiveChk.onClick = [this] { monitoringSwitchClicked(); };
    m_context.form.AutoStartChk.onClick = [this] {
        toolkit::ApplyAutostartChoice(m_context.form.AutoStartChk, m_autostart);
    };
    m_settings.connectChangeHandling();
    m_transfers.connectChannels();
    m_deps.timer.onTick = [this] { tick(); };
}

void UpdateCycle::load(const QStringList &arguments)
{
    CorvixWindow &window = m_context.window;
    window.setCaption(kProductName);
    window.showMakerBadge();
    window.restoreWindowPosition();
    toolkit::InitAutostartChoice(m_context.form.AutoStartChk, m_autostart);
    QStringList problems;
    m_context.provider = readProviderConfig(m_ini, m_deps.iniPath, &problems);
    m_settings.LoadSettings();
    window.hookWindow();
    window.trayAdd(kProductName);
    bool hidden = false;
    if (arguments.join(QLatin1Char(' ')).trimmed().toUpper() == QLatin1String("/AUTOSTART") &&
        m_settings.LoginDataComplete()) {
        StartMonitoring();
        window.hideWindow();
        hidden = true;
    }
    m_settings.SettingsLoaded = true;
    if (!hidden)
        window.showWindow();
    if (!problems.isEmpty())
        m_context.ShowStatus(problems.join(QLatin1Char(' ')));
}

void UpdateCycle::monitoringSwitchClicked()
{
    m_detection.LastLocalAddress = QStringLiteral("\t");
    m_context.LastSentAddress.clear();
    QString text;
    if (m_context.form.AppActiveChk.isChecked()) {
        m_checkNow = true;
        m_deps.timer.start();
        text = QStringLiteral("IP-Überwachung aktiviert");
    } else {
        m_deps.timer.stop();
        text = QStringLiteral("IP-Überwachung unterbrochen");
    }
    m_context.ShowStatus(text);
    ShowMonitoringState();
}

QString UpdateCycle::monitoringTip(int state)
{
    return toolkit::FillPlaceholders(
        QStringLiteral("%1 (%2)"),
        {kProductName, toolkit::PickText(state - 1, {QStringLiteral("deaktiviert"),
                                                     QStringLiteral("aktiviert")})});
}

void UpdateCycle::ShowMonitoringState()
{
    const int state = m_context.form.AppActiveChk.isChecked() ? 2 : 1;
    m_context.window.setStateIcon(state);
    m_context.window.trayModify(monitoringTip(state));
}

void UpdateCycle::tick()
{
    if (++m_counter == kCounterWrap)
        m_counter = 0;
    // A tick that arrives while an earlier one still waits in a message box does no work of its
    // own: otherwise every second would open another box on top of the first.
    if (m_tickBusy)
        return;
    const bool checkNow = m_checkNow;
    m_checkNow = false;
    m_tickBusy = true;
    if (m_context.form.networkMode()) {
        if (checkNow || m_counter % 50 == 0)
            m_detection.InitWebCom_Part_1(false);
    } else if (checkNow || m_counter % 3 == 0) {
        m_detection.PollLocalAddress();
    }
    m_tickBusy = false;
}

QString UpdateCycle::exitQuestion()
{
    return QStringLiteral("Wenn Sie ") + kProductName +
           QStringLiteral(" jetzt beenden, können Ihre Internetverbindungen\r"
                          "nicht mehr überwacht werden!\r\rSoll ") +
           kProductName + QStringLiteral(" wirklich beendet werden?");
}

QString UpdateCycle::busyQuestion()
{
    return QStringLiteral("Die Anwendung ist noch aktiv! Wollen Sie wirklich jetzt abbrechen?");
}

void UpdateCycle::endClicked()
{
    const toolkit::BoxAnswer answer =
        m_context.boxes.showMessage(exitQuestion(), toolkit::BoxIcon::Question,
                                    toolkit::BoxButtons::YesNo, toolkit::BoxAnswer::No);
    if (answer == toolkit::BoxAnswer::Yes)
        requestUnload(UnloadCause::Program);
}

void UpdateCycle::testClicked()
{
    m_context.LastSentAddress.clear();
    m_detection.InitWebCom_Part_1(true);
}

bool UpdateCycle::queryUnload(UnloadCause cause)
{
    if (m_unloaded)
        return true;
    if (cause == UnloadCause::UserClose) {
        m_context.window.hideWindow();
        return false;
    }
    // A process asked to stop has nobody to answer a question; it ends with its settings saved.
    if (cause == UnloadCause::Terminate)
        return true;
    const bool busy = m_context.channels[0]->isBusy() || m_context.channels[1]->isBusy();
    if (!busy)
        return true;
    return m_context.boxes.showMessage(busyQuestion(), toolkit::BoxIcon::Question,
                                       toolkit::BoxButtons::YesNo,
                                       toolkit::BoxAnswer::No) == toolkit::BoxAnswer::Yes;
}

void UpdateCycle::unload()
{
    if (m_unloaded)
        return;
    m_unloaded = true;
    m_deps.timer.stop();
    m_transfers.CancelTransfer(0);
    m_transfers.CancelTransfer(1);
    m_context.window.trayDelete();
    m_context.window.unhookWindow();
    m_settings.SaveSettings();
    m_context.window.saveWindowPosition();
    m_context.window.endProgram();
}

bool UpdateCycle::requestUnload(UnloadCause cause)
{
    if (!queryUnload(cause))
        return false;
    unload();
    return true;
}

} // namespace corvix
