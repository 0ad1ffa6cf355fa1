#pragma once
// The window "Main" of Corvix: shows the form state of the logic and forwards every user event
// to it. It also stands for the notification-area icon.

#include "corvix_ports.h"
#include "message_boxes.h"
#include "settings_store.h"
#include "tray_icon.h"

#include <QMainWindow>
#include <array>
#include <functional>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

namespace corvix {

class UpdateCycle;

class MainWindow : public QMainWindow, public CorvixWindow {
    Q_OBJECT
public:
    MainWindow(toolkit::UserSettings &userSettings, toolkit::Shell &shell,
               QWidget *parent = nullptr);
    ~MainWindow() override;

    // Connects the window to the logic; call before the logic's load handling.
    void bind(UpdateCycle &cycle, toolkit::MessageBoxes &boxes);

    // Shows the whole form state again (after the logic's load handling).
    void refreshForm() { showForm(); }

    // Hides a shown window and shows a hidden one (the tray icon's click).
    void ToggleMainWindow();

    TrayIcon &tray() { return m_tray; }
    // What ending the program does; quits the application unless replaced.
    std::function<void()> onEndProgram;

    // CorvixWindow
    void setCaption(const QString &caption) override;
    void setStateIcon(int state) override;
    void setStatusText(const QString &text) override;
    void showWindow() override;
    void hideWindow() override;
    bool isWindowVisible() const override;
    void showMakerBadge() override;
    void restoreWindowPosition() override;
    void saveWindowPosition() override;
    void hookWindow() override;
    void unhookWindow() override;
    void trayAdd(const QString &tip) override;
    void trayModify(const QString &tip) override;
    void trayDelete() override;
    void beep() override;
    void processEvents() override;
    void endProgram() override;

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildWidgets();
    void bindForm();
    void showForm();
    void showHelp();
    void showAbout();

    toolkit::UserSettings &m_userSettings;
    toolkit::Shell &m_shell;
    toolkit::MessageBoxes *m_boxes = nullptr;
    UpdateCycle *m_cycle = nullptr;
    TrayIcon m_tray;
    bool m_ending = false;
    bool m_showingForm = false;

    QComboBox *m_serviceList = nullptr;
    QCheckBox *m_serviceActive = nullptr;
    std::array<QLineEdit *, 4> m_lineBoxes{}; // index 2 unused: the host names are multi-line
    QPlainTextEdit *m_hostBox = nullptr;
    QLabel *m_hostLabel = nullptr;
    QCheckBox *m_wildcard = nullptr;
    std::array<QRadioButton *, 2> m_access{};
    std::array<QPushButton *, 5> m_buttons{};
    QCheckBox *m_autoStart = nullptr;
    QCheckBox *m_appActive = nullptr;
    QLabel *m_logo = nullptr;
    QLabel *m_badge = nullptr;
    QLabel *m_status = nullptr;
};

// The form's host names use CR LF, the text box LF.
QString toFormLines(const QString &boxText);
QString toBoxLines(const QString &formText);

} // namespace corvix
