#include "window_placement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <cmath>

namespace toolkit {

namespace {

constexpr double twipsPerInch = 1440.0;

double usableDpi(double dpi)
{
    return dpi > 0 ? dpi : 96.0;
}

QScreen *screenOf(QWidget *window)
{
    QScreen *screen = window->screen();
    return screen ? screen : QGuiApplication::primaryScreen();
}

} // namespace

int pixelsToTwips(int pixels, double dpi)
{
    return static_cast<int>(std::lround(pixels * twipsPerInch / usableDpi(dpi)));
}

int twipsToPixels(int twips, double dpi)
{
    return static_cast<int>(std::lround(twips * usableDpi(dpi) / twipsPerInch));
}

// Positions are counted from the top-left corner of the screen's available area, the part that
// panels and docks leave to windows.
void SaveWindowPosition(QWidget *window, UserSettings &settings)
{
    if (!window)
        return;
    QScreen *screen = screenOf(window);
    if (!screen)
        return;
    const double dpi = screen->logicalDotsPerInch();
    int top = -1;
    int left = -1;
    // A minimised window has no place on the screen worth keeping; -1 makes the next start
    // centre it, as the negative position that Windows reports for it would.
    if (!window->isMinimized()) {
        const QPoint corner =
            window->frameGeometry().topLeft() - screen->availableGeometry().topLeft();
        top = pixelsToTwips(corner.y(), dpi);
        left = pixelsToTwips(corner.x(), dpi);
    }
    settings.SaveUserSetting(QStringLiteral("_Top"), top);
    settings.SaveUserSetting(QStringLiteral("_Left"), left);
}

void RestoreWindowPosition(QWidget *window, UserSettings &settings)
{
    if (!window)
        return;
    QScreen *screen = screenOf(window);
    if (!screen)
        return;
    const double dpi = screen->logicalDotsPerInch();
    const QRect area = screen->availableGeometry();
    const QSize frame = window->frameGeometry().size();
    const QSize screenTwips(pixelsToTwips(area.width(), dpi), pixelsToTwips(area.height(), dpi));
    const QSize windowTwips(pixelsToTwips(frame.width(), dpi), pixelsToTwips(frame.height(), dpi));

    const TwipPoint place =
        restoredPosition(settings.LoadUserSetting(QStringLiteral("_Top"), QStringLiteral("-1")),
                         settings.LoadUserSetting(QStringLiteral("_Left"), QStringLiteral("-1")),
                         screenTwips, windowTwips);
    window->move(area.topLeft() +
                 QPoint(twipsToPixels(place.left, dpi), twipsToPixels(place.top, dpi)));
}

void CenterWindow(QWidget *window)
{
    if (!window)
        return;
    QScreen *screen = screenOf(window);
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    // Whole pixels here: going through twips could only add rounding.
    const TwipPoint place = centredPosition(area.size(), window->frameGeometry().size());
    window->move(area.topLeft() + QPoint(place.left, place.top));
}

} // namespace toolkit
