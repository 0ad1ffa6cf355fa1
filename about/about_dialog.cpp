#include "about_dialog.h"

#include "assets.h"
#include "help_links.h"
#include "path_helpers.h"
#include "window_placement.h"

#include <QEvent>
#include <QFont>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>
#include <QPointer>
#include <QPushButton>
#include <QScreen>

namespace {

constexpr QChar cr = QLatin1Char('\r');

// The dialog's design in twips, converted at the screen's resolution.
struct TwipRect {
    int left, top, width, height;
};
constexpr int clientWidth = 9390;
constexpr int clientHeight = 4875;
constexpr TwipRect logoRect{120, 120, 960, 960};
constexpr TwipRect labelRect{1140, 120, 8115, 3975};
constexpr TwipRect lineRect{1140, 4170, 8205, 30};
constexpr TwipRect webButtonRect{1140, 4320, 3315, 435};
constexpr TwipRect closeButtonRect{6780, 4320, 2565, 435};

QRect toPixels(const TwipRect &r, double dpi)
{
    using toolkit::twipsToPixels;
    return QRect(twipsToPixels(r.left, dpi), twipsToPixels(r.top, dpi), twipsToPixels(r.width, dpi),
                 twipsToPixels(r.height, dpi));
}

double screenDpi(const QWidget *widget)
{
    const QScreen *screen = widget->screen();
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    return screen ? screen->logicalDotsPerInch() : 96.0;
}

} // namespace

QString aboutProductLine(const toolkit::Product &p)
{
    QString line = p.name + toolkit::ProgramVersionText(p, 256) + QStringLiteral(" –");
    if (!p.description.isEmpty())
        line += QLatin1Char(' ') + p.description;
    return line;
}

QString aboutNoticeLine(const QDate &today)
{
    return QStringLiteral("Copyright © ") + today.toString(QStringLiteral("yyyy")) +
           QStringLiteral(" NORTIDE. Alle Rechte vorbehalten.");
}

QString aboutBodyText(const toolkit::Product &p, const QDate &today)
{
    return aboutProductLine(p) + cr + cr + aboutNoticeLine(today) + cr + cr + p.name +
           QStringLiteral(" ist eines von vielen kleinen, praktischen Werkzeugen von NORTIDE – "
                          "über die Schaltfläche unten links lernen Sie die übrigen kennen.");
}

bool aboutDialogAtScreenCorner(QSize screenPixels)
{
    return screenPixels.height() <= 480 || screenPixels.width() <= 640;
}

InfoFormCommercial::InfoFormCommercial(const toolkit::Product &p, toolkit::Shell &shell,
                                       const QDate &today, QWidget *parent)
    : QDialog(parent), m_shell(shell)
{
    initAssets();
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    setWindowTitle(p.name + QStringLiteral(" - Info"));

    const double dpi = screenDpi(this);

    m_logo = new QLabel(this);
    m_logo->setObjectName(QStringLiteral("Image1"));
    m_logo->setGeometry(toPixels(logoRect, dpi));
    // Drawn at twice the shown size, so it stays sharp on screens that scale.
    QPixmap logo(QStringLiteral(":/common/logo.png"));
    const qreal ratio = devicePixelRatioF();
    logo = logo.scaled(m_logo->size() * ratio, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    logo.setDevicePixelRatio(ratio);
    m_logo->setPixmap(logo);
    m_logo->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_logo->setToolTip(QStringLiteral(
        "Klicken Sie hier, um noch mehr interessante NORTIDE-Programme kennenzulernen ..."));
    m_logo->setCursor(Qt::PointingHandCursor);
    m_logo->installEventFilter(this);

    auto *text = new QLabel(this);
    text->setObjectName(QStringLiteral("Label0"));
    text->setGeometry(toPixels(labelRect, dpi));
    text->setFont(QFont(QStringLiteral("Arial"), 10));
    text->setTextFormat(Qt::PlainText);
    text->setWordWrap(true);
    text->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    text->setText(aboutBodyText(p, today).replace(cr, QLatin1Char('\n')));

    auto *line = new QFrame(this);
    line->setObjectName(QStringLiteral("Line1"));
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    line->setGeometry(toPixels(lineRect, dpi));

    auto *webButton = new QPushButton(QStringLiteral("NORTIDE im Web besuchen"), this);
    webButton->setObjectName(QStringLiteral("Btn1"));
    webButton->setGeometry(toPixels(webButtonRect, dpi));
    webButton->setToolTip(QStringLiteral("... startet Ihren Internet-Browser mit dem Ziel ") +
                          toolkit::makerSiteName());
    webButton->setAutoDefault(false);
    connect(webButton, &QPushButton::clicked, this, [this] { toolkit::OpenMakerSite(m_shell); });

    auto *closeButton = new QPushButton(QStringLiteral("&Schliessen"), this);
    closeButton->setObjectName(QStringLiteral("Btn3"));
    closeButton->setGeometry(toPixels(closeButtonRect, dpi));
    closeButton->setToolTip(QStringLiteral("... bringt Sie zurück zum Programm"));
    closeButton->setDefault(true);
    closeButton->setFocus();
    connect(closeButton, &QPushButton::clicked, this, &QWidget::close);

    setFixedSize(toolkit::twipsToPixels(clientWidth, dpi),
                 toolkit::twipsToPixels(clientHeight, dpi));
    placeOnScreen();
}

void InfoFormCommercial::placeOnScreen()
{
    const QScreen *screen = this->screen();
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (screen && aboutDialogAtScreenCorner(screen->geometry().size()))
        move(screen->geometry().topLeft());
    else
        toolkit::CenterWindow(this);
}

void InfoFormCommercial::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    // The window frame is known only once the dialog is on the screen; centring again then
    // keeps the frame, not just the client area, in the middle.
    if (!m_placedWithFrame) {
        m_placedWithFrame = true;
        placeOnScreen();
    }
}

bool InfoFormCommercial::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_logo && event->type() == QEvent::MouseButtonRelease) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        // Like a button: only a left click released over the picture counts.
        if (mouse->button() == Qt::LeftButton &&
            m_logo->rect().contains(mouse->position().toPoint())) {
            toolkit::OpenMakerSite(m_shell);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

InfoFormCommercial *ShowAboutDialog(const toolkit::Product &p, toolkit::Shell &shell,
                                    QWidget *parent)
{
    static QPointer<InfoFormCommercial> open;
    // A closed dialog is hidden at once but deleted only later; it is not reused.
    if (!open || !open->isVisible()) {
        open = new InfoFormCommercial(p, shell, QDate::currentDate(), parent);
        open->show();
    }
    open->raise();
    open->activateWindow();
    return open;
}
