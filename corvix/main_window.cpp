#include "main_window.h"

#include "about_dialog.h"
#include "assets.h"
#include "desktop_services.h"
#include "help_links.h"
#include "path_helpers.h"
#include "update_cycle.h"
#include "window_placement.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProxyStyle>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QVBoxLayout>

namespace corvix {

namespace {

// Passwords show one "*" per character, whatever the desktop style would draw.
class StarPasswordStyle : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                  QStyleHintReturn *returnData) const override
    {
        if (hint == SH_LineEdit_PasswordCharacter)
            return '*';
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

// A picture that reacts to a click.
class ClickableLabel : public QLabel {
public:
    using QLabel::QLabel;
    std::function<void()> onClick;

protected:
    void mouseReleaseEvent(QMouseEvent *event) override
    {
        QLabel::mouseReleaseEvent(event);
        if (onClick)
            onClick();
    }
};

QString labelLines(const QString &text)
{
    QString lines = text;
    lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    lines.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return lines;
}

} // namespace

QString toFormLines(const QString &boxText)
{
    QString text = boxText;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return text;
}

QString toBoxLines(const QString &formText)
{
    QString text = formText;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

MainWindow::MainWindow(toolkit::UserSettings &userSettings, toolkit::Shell &shell, QWidget *parent)
    : QMainWindow(parent), m_userSettings(userSettings), m_shell(shell)
{
    initAssets();
    setObjectName(QStringLiteral("Main"));
    setWindowIcon(multiSizeIcon(QStringLiteral(":/corvix/corvix")));
    onEndProgram = [] { QCoreApplication::quit(); };
    buildWidgets();
    // The real size before the first placement, which centres the window on its size.
    resize(sizeHint());
}

MainWindow::~MainWindow() = default;

void MainWindow::buildWidgets()
{
    auto *central = new QWidget(this);
    auto *outer = new QVBoxLayout(central);

    // Servicekonfiguration
    auto *service = new QGroupBox(QStringLiteral("Servicekonfiguration"), central);
    service->setObjectName(QStringLiteral("Frame1_0"));
    auto *grid = new QGridLayout(service);
    const auto label = [service](const QString &text) {
        auto *l = new QLabel(text, service);
        l->setAlignment(Qt::AlignRight | Qt::AlignTop);
        return l;
    };
    m_serviceList = new QComboBox(service);
    m_serviceList->setObjectName(QStringLiteral("DynDnsServiceList"));
    m_serviceActive = new QCheckBox(QStringLiteral("&Aktivieren"), service);
    m_serviceActive->setObjectName(QStringLiteral("ThisServiceActiveChk"));
    grid->addWidget(label(QStringLiteral("DynDNS-Service: ")), 0, 0);
    grid->addWidget(m_serviceList, 0, 1);
    grid->addWidget(m_serviceActive, 0, 2);

    for (int i : {0, 1, 3}) {
        m_lineBoxes[size_t(i)] = new QLineEdit(service);
        m_lineBoxes[size_t(i)]->setObjectName(QStringLiteral("FtpTB_%1").arg(i));
        m_lineBoxes[size_t(i)]->installEventFilter(this);
    }
    auto *passwordStyle = new StarPasswordStyle;
    passwordStyle->setParent(this);
    m_lineBoxes[1]->setStyle(passwordStyle);
    m_lineBoxes[1]->setEchoMode(QLineEdit::Password);

    m_buttons[4] = new QPushButton(QStringLiteral("&Test"), service);
    grid->addWidget(label(QStringLiteral("Anwendername: ")), 1, 0);
    grid->addWidget(m_lineBoxes[0], 1, 1);
    grid->addWidget(label(QStringLiteral("Passwort: ")), 2, 0);
    grid->addWidget(m_lineBoxes[1], 2, 1);
    grid->addWidget(m_buttons[4], 2, 2);

    m_hostLabel = label(QString());
    m_hostLabel->setObjectName(QStringLiteral("Label1_2"));
    m_hostBox = new QPlainTextEdit(service);
    m_hostBox->setObjectName(QStringLiteral("FtpTB_2"));
    m_hostBox->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_hostBox->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_hostBox->setTabChangesFocus(true);
    m_hostBox->setFixedHeight(m_hostBox->fontMetrics().lineSpacing() * 5 + 12);
    m_hostBox->installEventFilter(this);
    grid->addWidget(m_hostLabel, 3, 0);
    grid->addWidget(m_hostBox, 3, 1, 1, 2);

    m_wildcard = new QCheckBox(QStringLiteral("&Ja"), service);
    m_wildcard->setObjectName(QStringLiteral("WildcardChk"));
    grid->addWidget(label(QStringLiteral("Wildcard erlauben: ")), 4, 0);
    grid->addWidget(m_wildcard, 4, 1);
    grid->addWidget(label(QStringLiteral("Mail exchange (MX): ")), 5, 0);
    grid->addWidget(m_lineBoxes[3], 5, 1, 1, 2);
    grid->setColumnStretch(1, 1);
    outer->addWidget(service);

    // Internetanbindung, with the maker badge beside it
    auto *middle = new QHBoxLayout;
    auto *access = new QGroupBox(QStringLiteral("Internetanbindung"), central);
    access->setObjectName(QStringLiteral("Frame1_1"));
    auto *accessGrid = new QGridLayout(access);
    m_access[0] =
        new QRadioButton(QStringLiteral("N&ormale Einwahl direkt über diesen PC"), access);
    m_access[1] = new QRadioButton(QStringLiteral("&Über Netzwerk"), access);
    auto *accessLabel = new QLabel(QStringLiteral("Internetzugang: "), access);
    accessLabel->setAlignment(Qt::AlignRight | Qt::AlignTop);
    accessGrid->addWidget(accessLabel, 0, 0);
    for (int i = 0; i < 2; ++i) {
        m_access[size_t(i)]->setObjectName(QStringLiteral("AccessTypOpt_%1").arg(i));
        accessGrid->addWidget(m_access[size_t(i)], i, 1);
    }
    accessGrid->setColumnStretch(1, 1);
    middle->addWidget(access, 1);

    auto *logo = new ClickableLabel(central);
    logo->setObjectName(QStringLiteral("Image1"));
    logo->setPixmap(QPixmap(QStringLiteral(":/common/logo.png"))
                        .scaled(48, 48, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    logo->setFixedSize(48, 48);
    logo->onClick = [this] { toolkit::OpenMakerSite(m_shell); };
    m_logo = logo;
    auto *badge = new ClickableLabel(central);
    badge->setObjectName(QStringLiteral("Image2"));
    badge->setScaledContents(true);
    badge->setPixmap(QPixmap(QStringLiteral(":/common/badge.png")));
    badge->setCursor(Qt::PointingHandCursor);
    badge->onClick = [this] { toolkit::OpenMakerHome(m_shell); };
    badge->hide();
    m_badge = badge;
    auto *pictures = new QWidget(central);
    pictures->setFixedSize(toolkit::makerBadgeWidth(48), 48);
    logo->setParent(pictures);
    badge->setParent(pictures);
    logo->move(0, 0);
    middle->addWidget(pictures, 0, Qt::AlignBottom);
    outer->addLayout(middle);

    // Steuerung
    auto *control = new QGroupBox(QStringLiteral("Steuerung"), central);
    control->setObjectName(QStringLiteral("Frame1_2"));
    auto *row = new QHBoxLayout(control);
    m_buttons[3] = new QPushButton(QStringLiteral("&Hilfe"), control);
    m_buttons[2] = new QPushButton(QStringLiteral("&Info"), control);
    m_buttons[1] = new QPushButton(QStringLiteral("&Ende"), control);
    m_autoStart = new QCheckBox(QStringLiteral("Auto&start"), control);
    m_autoStart->setObjectName(QStringLiteral("AutoStartChk"));
    m_appActive = new QCheckBox(QStringLiteral("E&in/Aus"), control);
    m_appActive->setObjectName(QStringLiteral("AppActiveChk"));
    m_buttons[0] = new QPushButton(QStringLiteral("&Ausblenden"), control);
    // "&Info" and "E&in/Aus" share the letter I; Alt+I belongs to the monitoring switch, which
    // is used far more often, so the key is not shared and never only moves the focus.
    m_buttons[2]->setShortcut(QKeySequence());
    row->addWidget(m_buttons[3]);
    row->addWidget(m_buttons[2]);
    row->addWidget(m_buttons[1]);
    row->addStretch(1);
    row->addWidget(m_autoStart);
    row->addWidget(m_appActive);
    row->addStretch(1);
    row->addWidget(m_buttons[0]);
    for (int i = 0; i < int(m_buttons.size()); ++i) {
        m_buttons[size_t(i)]->setObjectName(QStringLiteral("Command1_%1").arg(i));
        m_buttons[size_t(i)]->setAutoDefault(false);
    }
    outer->addWidget(control);
    setCentralWidget(central);

    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("SBar"));
    m_status->setTextInteractionFlags(Qt::TextSelectableByMouse);
    statusBar()->addWidget(m_status, 1);
    statusBar()->setSizeGripEnabled(false);
}

void MainWindow::bind(UpdateCycle &cycle, toolkit::MessageBoxes &boxes)
{
    m_cycle = &cycle;
    m_boxes = &boxes;
    bindForm();
    showForm();
}

void MainWindow::bindForm()
{
    CorvixForm &form = m_cycle->form();
    const auto refresh = [this] { showForm(); };
    for (auto *box :
         {&form.AppActiveChk, &form.AutoStartChk, &form.ThisServiceActiveChk, &form.WildcardChk})
        box->onViewChange = refresh;
    for (auto &box : form.FtpTB)
        box.onViewChange = refresh;
    form.AccessTypOpt.onViewChange = refresh;

    const auto forward = [this](QCheckBox *widget, toolkit::CheckBox &box) {
        connect(widget, &QCheckBox::clicked, this, [this, &box](bool checked) {
            if (!m_showingForm)
                box.setChecked(checked);
            showForm(); // the logic may have refused or changed the state
        });
    };
    forward(m_appActive, form.AppActiveChk);
    forward(m_autoStart, form.AutoStartChk);
    forward(m_serviceActive, form.ThisServiceActiveChk);
    forward(m_wildcard, form.WildcardChk);

    for (int i : {0, 1, 3}) {
        connect(m_lineBoxes[size_t(i)], &QLineEdit::textChanged, this,
                [this, &form, i](const QString &text) {
                    if (!m_showingForm)
                        form.FtpTB[size_t(i)].setText(text);
                });
    }
    connect(m_hostBox, &QPlainTextEdit::textChanged, this, [this, &form] {
        if (!m_showingForm)
            form.FtpTB[2].setText(toFormLines(m_hostBox->toPlainText()));
    });
    for (int i = 0; i < 2; ++i) {
        connect(m_access[size_t(i)], &QRadioButton::clicked, this, [this, &form, i] {
            if (!m_showingForm)
                form.AccessTypOpt.select(i);
            showForm();
        });
    }

    connect(m_buttons[0], &QPushButton::clicked, this, [this] { m_cycle->hideClicked(); });
    connect(m_buttons[1], &QPushButton::clicked, this, [this] { m_cycle->endClicked(); });
    connect(m_buttons[2], &QPushButton::clicked, this, [this] { showAbout(); });
    connect(m_buttons[3], &QPushButton::clicked, this, [this] { showHelp(); });
    connect(m_buttons[4], &QPushButton::clicked, this, [this] { m_cycle->testClicked(); });
}

// Puts the form state into the widgets without raising their change handling.
void MainWindow::showForm()
{
    if (!m_cycle || m_showingForm)
        return;
    m_showingForm = true;
    const CorvixForm &form = m_cycle->form();
    m_appActive->setChecked(form.AppActiveChk.isChecked());
    m_autoStart->setChecked(form.AutoStartChk.isChecked());
    m_serviceActive->setChecked(form.ThisServiceActiveChk.isChecked());
    m_wildcard->setChecked(form.WildcardChk.isChecked());
    for (int i : {0, 1, 3}) {
        if (m_lineBoxes[size_t(i)]->text() != form.FtpTB[size_t(i)].text())
            m_lineBoxes[size_t(i)]->setText(form.FtpTB[size_t(i)].text());
    }
    const QString hosts = toBoxLines(form.FtpTB[2].text());
    if (m_hostBox->toPlainText() != hosts)
        m_hostBox->setPlainText(hosts);
    m_access[size_t(form.AccessTypOpt.selected())]->setChecked(true);
    if (m_serviceList->count() != form.DynDnsServiceList.items.size()) {
        m_serviceList->clear();
        m_serviceList->addItems(form.DynDnsServiceList.items);
    }
    m_serviceList->setCurrentIndex(form.DynDnsServiceList.selected);
    m_hostLabel->setText(labelLines(form.hostLabelText));
    m_showingForm = false;
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusOut && m_cycle) {
        for (int i = 0; i < 4; ++i) {
            QObject *box = i == 2 ? static_cast<QObject *>(m_hostBox) : m_lineBoxes[size_t(i)];
            if (watched == box) {
                m_cycle->settings().textBoxLeft(i);
                showForm();
            }
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::showHelp()
{
    toolkit::ShowHelp(corvixProduct(), toolkit::ProgramFolder(), m_shell, *m_boxes);
}

void MainWindow::showAbout()
{
    ShowAboutDialog(corvixProduct(), m_shell, this);
}

void MainWindow::ToggleMainWindow()
{
    if (isWindowVisible())
        hideWindow();
    else
        showWindow();
}

void MainWindow::setCaption(const QString &caption)
{
    setWindowTitle(caption);
}

void MainWindow::setStateIcon(int state)
{
    setWindowIcon(multiSizeIcon(QStringLiteral(":/corvix/state%1").arg(state)));
}

void MainWindow::setStatusText(const QString &text)
{
    m_status->setText(text);
}

void MainWindow::showWindow()
{
    if (isMinimized())
        showNormal();
    else
        show();
    raise();
    activateWindow();
}

void MainWindow::hideWindow()
{
    // Without a notification area a hidden window could not be brought back.
    if (m_tray.isAvailable())
        hide();
    else
        showMinimized();
}

bool MainWindow::isWindowVisible() const
{
    return isVisible() && !isMinimized();
}

void MainWindow::showMakerBadge()
{
    toolkit::ShowMakerBadge(m_logo, m_badge);
}

void MainWindow::restoreWindowPosition()
{
    toolkit::RestoreWindowPosition(this, m_userSettings);
}

void MainWindow::saveWindowPosition()
{
    toolkit::SaveWindowPosition(this, m_userSettings);
}

void MainWindow::hookWindow()
{
    m_tray.HookWindow(this, [this] { ToggleMainWindow(); });
}

void MainWindow::unhookWindow()
{
    m_tray.UnhookWindow();
}

void MainWindow::trayAdd(const QString &tip)
{
    m_tray.TrayAdd(0, windowIcon(), tip);
}

void MainWindow::trayModify(const QString &tip)
{
    m_tray.TrayModify(0, windowIcon(), tip);
}

void MainWindow::trayDelete()
{
    m_tray.TrayDelete(0);
}

void MainWindow::beep()
{
    QApplication::beep();
}

void MainWindow::processEvents()
{
    QCoreApplication::processEvents();
}

void MainWindow::endProgram()
{
    m_ending = true;
    hide();
    if (onEndProgram)
        onEndProgram();
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (m_ending || !m_cycle) {
        event->accept();
        return;
    }
    m_cycle->requestUnload(UnloadCause::UserClose);
    event->ignore();
}

} // namespace corvix
