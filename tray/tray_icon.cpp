#include "tray_icon.h"

#include <QWidget>

namespace {
constexpr int maxTipLength = 63;
}

TrayIcon::TrayIcon(QObject *parent) : QObject(parent), m_tray(this)
{
    connect(&m_tray, &QSystemTrayIcon::activated, this, &TrayIcon::activate);
}

TrayIcon::~TrayIcon()
{
    m_tray.hide();
}

void TrayIcon::HookWindow(QWidget *window, std::function<void()> toggleMainWindow)
{
    m_window = window;
    m_toggle = std::move(toggleMainWindow);
}

void TrayIcon::UnhookWindow()
{
    m_window.clear();
    m_toggle = nullptr;
}

void TrayIcon::TrayAdd(int id, const QIcon &icon, const QString &tip)
{
    m_id = id;
    m_tray.setIcon(icon);
    m_tray.setToolTip(trayTip(tip));
    m_tray.show();
}

void TrayIcon::TrayModify(int id, const QIcon &icon, const QString &tip)
{
    if (id != m_id)
        return;
    m_tray.setIcon(icon);
    m_tray.setToolTip(trayTip(tip));
}

void TrayIcon::TrayDelete(int id)
{
    if (id != m_id)
        return;
    m_tray.hide();
    m_tray.setToolTip(QString());
    m_id = -1;
}

QString TrayIcon::trayTip(const QString &tip)
{
    if (tip.size() <= maxTipLength)
        return tip;
    int length = maxTipLength;
    if (tip.at(length - 1).isHighSurrogate())
        --length;
    return tip.left(length);
}

bool TrayIcon::isAvailable() const
{
    return QSystemTrayIcon::isSystemTrayAvailable();
}

bool TrayIcon::isShown() const
{
    return m_tray.isVisible();
}

QString TrayIcon::tip() const
{
    return m_tray.toolTip();
}

QIcon TrayIcon::icon() const
{
    return m_tray.icon();
}

QWidget *TrayIcon::hookedWindow() const
{
    return m_window;
}

void TrayIcon::activate(QSystemTrayIcon::ActivationReason reason)
{
    switch (reason) {
    case QSystemTrayIcon::Trigger:
    case QSystemTrayIcon::Context:
    case QSystemTrayIcon::DoubleClick:
        // The window may have gone without an unhook (an abrupt end); then there is nothing to
        // toggle.
        if (m_toggle && m_window)
            m_toggle();
        break;
    case QSystemTrayIcon::MiddleClick:
    case QSystemTrayIcon::Unknown:
        break;
    }
}
