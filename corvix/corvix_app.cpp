#include "corvix_app.h"

#include "path_helpers.h"

#include <QSessionManager>

namespace corvix {

CorvixApp::CorvixApp(const CorvixAppOptions &options)
    : m_userSettings(kProductName), m_registry(options.registryFile),
      m_checkChannel(&m_network, options.transferTimeoutMs),
      m_updateChannel(&m_network, options.transferTimeoutMs)
{
    m_window = std::make_unique<MainWindow>(m_userSettings, m_shell);
    m_widgetBoxes = std::make_unique<toolkit::WidgetMessageBoxes>(m_window.get(), kProductName);
    m_relay.target = m_widgetBoxes.get();
    m_boxes = m_widgetBoxes.get();
    const QString iniPath =
        options.iniPath.isEmpty() ? toolkit::ProgramIniPath(corvixProduct()) : options.iniPath;
    m_cycle = std::make_unique<UpdateCycle>(CorvixDependencies{
        *m_window, m_relay, m_checkChannel, m_updateChannel, m_addresses, m_timer, m_registry,
        iniPath, QStringList{toolkit::ProgramFilePath(), QStringLiteral("/AUTOSTART")},
        [] { return QDateTime::currentDateTime(); }});
    m_window->bind(*m_cycle, m_relay);
}

CorvixApp::~CorvixApp()
{
    // The window goes before the logic it points to; the channels stop first.
    m_checkChannel.cancel();
    m_updateChannel.cancel();
    m_window.reset();
}

void CorvixApp::setMessageBoxes(toolkit::MessageBoxes *boxes)
{
    m_boxes = boxes ? boxes : m_widgetBoxes.get();
    m_relay.target = m_boxes;
}

void CorvixApp::start(const QStringList &arguments)
{
    m_cycle->load(arguments);
    m_window->refreshForm();
}

void CorvixApp::sessionEnds(QSessionManager &manager)
{
    if (!m_cycle->queryUnload(UnloadCause::SessionEnd)) {
        manager.cancel();
        return;
    }
    m_cycle->unload();
}

} // namespace corvix
