#pragma once
// The driver of Corvix: start-up, the one-second timer, the monitoring switch, the buttons and
// the end of the program. Everything the program does starts here.

#include "account_settings.h"
#include "address_detection.h"
#include "autostart.h"
#include "corvix_context.h"
#include "update_request.h"

#include <QStringList>

namespace corvix {

struct CorvixDependencies {
    CorvixWindow &window;
    toolkit::MessageBoxes &boxes;
    TransferChannel &checkChannel;
    TransferChannel &updateChannel;
    LocalAddresses &localAddresses;
    TickTimer &timer;
    toolkit::Registry &registry;
    QString iniPath;
    QStringList autostartCommand; // program path followed by "/AUTOSTART"
    Clock now;
};

enum class UnloadCause {
    UserClose,  // the window's close box or system menu
    Program,    // "&Ende" answered Yes
    SessionEnd, // the desktop session ends (logout)
    Terminate,  // the system asks the process to stop (SIGTERM)
};

class UpdateCycle {
public:
    explicit UpdateCycle(const CorvixDependencies &deps);

    CorvixForm &form() { return m_context.form; }
    CorvixContext &context() { return m_context; }
    AccountSettings &settings() { return m_settings; }
    AddressDetection &detection() { return m_detection; }
    UpdateRequest &update() { return m_update; }
    TransferHandling &transfers() { return m_transfers; }

    // The window's load handling; arguments are the command line without the program.
    void load(const QStringList &arguments);
    void tick();

    void StartMonitoring() { m_context.form.AppActiveChk.setChecked(true); }
    void StopMonitoring() { m_context.form.AppActiveChk.setChecked(false); }
    void ShowMonitoringState();

    // Buttons of the window.
    void hideClicked() { m_context.window.hideWindow(); }
    void endClicked();
    void testClicked();

    // Returns true when the unload may go ahead; a close by the user only hides the window.
    bool queryUnload(UnloadCause cause);
    void unload();
    // queryUnload and, when allowed, unload. Returns whether the program ends.
    bool requestUnload(UnloadCause cause);

    int tickCounter() const { return m_counter; }
    bool checkNowPending() const { return m_checkNow; }
    static constexpr int kCounterWrap = 600000;
    static QString exitQuestion();
    static QString busyQuestion();
    static QString monitoringTip(int state);

private:
    void monitoringSwitchClicked();

    CorvixDependencies m_deps;
    CorvixContext m_context;
    toolkit::IniAccess m_ini{true};
    AccountSettings m_settings;
    UpdateRequest m_update;
    AddressDetection m_detection;
    TransferHandling m_transfers;
    toolkit::Product m_product;
    toolkit::AutostartContext m_autostart;
    int m_counter = 0;
    bool m_checkNow = false;
    bool m_tickBusy = false;
    bool m_unloaded = false;
};

toolkit::Product corvixProduct();

} // namespace corvix
