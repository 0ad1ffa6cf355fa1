#pragma once
// What the Corvix logic needs from the outside world besides its form state.

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace corvix {

// The main window and its notification-area icon.
class CorvixWindow {
public:
    virtual ~CorvixWindow() = default;

    virtual void setCaption(const QString &caption) = 0;
    // state 1: monitoring off, 2: on (the pictures of the window's image list).
    virtual void setStateIcon(int state) = 0;
    virtual void setStatusText(const QString &text) = 0;
    virtual void showWindow() = 0;
    virtual void hideWindow() = 0;
    virtual bool isWindowVisible() const = 0;
    virtual void showMakerBadge() = 0;
    virtual void restoreWindowPosition() = 0;
    virtual void saveWindowPosition() = 0;
    // The tray icon shows the window's current icon.
    virtual void hookWindow() = 0;
    virtual void unhookWindow() = 0;
    virtual void trayAdd(const QString &tip) = 0;
    virtual void trayModify(const QString &tip) = 0;
    virtual void trayDelete() = 0;
    virtual void beep() = 0;
    // Lets pending window events run.
    virtual void processEvents() = 0;
    virtual void endProgram() = 0;
};

// The one-second timer.
class TickTimer {
public:
    virtual ~TickTimer() = default;
    virtual void start() = 0;
    virtual void stop() = 0;
    virtual bool isActive() const = 0;
    std::function<void()> onTick;
};

// The machine's own IPv4 addresses in the order the system lists them; nothing when the list
// cannot be read (errorNumber then tells why).
class LocalAddresses {
public:
    virtual ~LocalAddresses() = default;
    virtual std::optional<QStringList> ipv4Addresses(int &errorNumber) = 0;
};

using Clock = std::function<QDateTime()>;

} // namespace corvix
