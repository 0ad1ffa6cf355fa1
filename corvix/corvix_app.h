#pragma once
// Corvix put together: the window, the logic and the real channels, timer and address list.

#include "address_detection.h"
#include "desktop_services.h"
#include "http_channel.h"
#include "main_window.h"
#include "qt_tick_timer.h"
#include "settings_store.h"
#include "update_cycle.h"

#include <QNetworkAccessManager>
#include <memory>

class QSessionManager;

namespace corvix {

struct CorvixAppOptions {
    QString iniPath;      // empty: the program's own Corvix.INI
    QString registryFile; // empty: the per-user default
    int transferTimeoutMs = 30000;
};

class CorvixApp {
public:
    explicit CorvixApp(const CorvixAppOptions &options = {});
    ~CorvixApp();

    // The load handling of the window, with the command line arguments after the program.
    void start(const QStringList &arguments);
    // The desktop session ends: the window unloads unless a question is answered No.
    void sessionEnds(QSessionManager &manager);

    MainWindow &window() { return *m_window; }
    UpdateCycle &cycle() { return *m_cycle; }
    toolkit::MessageBoxes &boxes() { return *m_boxes; }
    // Tests replace the message boxes with scripted ones.
    void setMessageBoxes(toolkit::MessageBoxes *boxes);

private:
    toolkit::UserSettings m_userSettings;
    toolkit::DesktopShell m_shell;
    toolkit::Registry m_registry;
    QNetworkAccessManager m_network;
    HttpChannel m_checkChannel;
    HttpChannel m_updateChannel;
    SystemLocalAddresses m_addresses;
    QtTickTimer m_timer;
    std::unique_ptr<MainWindow> m_window;
    std::unique_ptr<toolkit::WidgetMessageBoxes> m_widgetBoxes;
    // Forwards to whichever boxes are current, so the logic keeps one reference.
    class BoxesRelay : public toolkit::MessageBoxes {
    public:
        toolkit::MessageBoxes *target = nullptr;
        toolkit::BoxAnswer showMessage(const QString &text, toolkit::BoxIcon icon,
                                       toolkit::BoxButtons buttons,
                                       toolkit::BoxAnswer defaultAnswer) override
        {
            return target->showMessage(text, icon, buttons, defaultAnswer);
        }
    } m_relay;
    toolkit::MessageBoxes *m_boxes = nullptr;
    std::unique_ptr<UpdateCycle> m_cycle;
};

} // namespace corvix
