#pragma once
// The notification-area icon of Corvix and Pellor. A click on it shows or hides the main window
// through the program's own toggle; it has no menu.

#include <QIcon>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QSystemTrayIcon>

#include <functional>

class QWidget;

class TrayIcon : public QObject {
    Q_OBJECT
public:
    explicit TrayIcon(QObject *parent = nullptr);
    ~TrayIcon() override;

    // Connects the icon's clicks to the window's toggle. Until then, and after UnhookWindow(),
    // clicks do nothing.
    void HookWindow(QWidget *window, std::function<void()> toggleMainWindow);
    void UnhookWindow();

    // Both programs use identifier 0. Modify and delete act only on the identifier that was
    // added; the tip is cut to 63 characters.
    void TrayAdd(int id, const QIcon &icon, const QString &tip);
    void TrayModify(int id, const QIcon &icon, const QString &tip);
    void TrayDelete(int id);

    // The first 63 characters of the tip (a character pair that forms one sign is not split).
    static QString trayTip(const QString &tip);

    bool isAvailable() const;
    bool isShown() const;
    QString tip() const;
    QIcon icon() const;
    QWidget *hookedWindow() const;

public slots:
    // Left click, right click and double click each toggle the window once. A real double click
    // arrives as Trigger followed by DoubleClick and so leaves the window as it was.
    void activate(QSystemTrayIcon::ActivationReason reason);

private:
    QSystemTrayIcon m_tray;
    QPointer<QWidget> m_window;
    std::function<void()> m_toggle;
    int m_id = -1;
};
