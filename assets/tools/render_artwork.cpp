// Draws the programs' pictures into PNG files. The PNGs are committed; run this again after
// changing a drawing:  render_artwork <assets folder>
//
// Every picture is drawn per size rather than scaled from one large image, so that the tray sizes
// (16 and 22 px) get strokes on whole pixels and fewer details.

#include <QColor>
#include <QDir>
#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QTextStream>

#include <cmath>

namespace {

const int iconSizes[] = {16, 22, 32, 48, 256};

enum class Mark { None, Off, On, House };

struct Palette {
    QColor light, dark, outline, grid;
};

const Palette colourGlobe{QColor(0x8f, 0xd3, 0xff), QColor(0x12, 0x5c, 0xb8),
                          QColor(0x0b, 0x33, 0x6b), QColor(255, 255, 255, 190)};
const Palette greyGlobe{QColor(0xdc, 0xdc, 0xdc), QColor(0x74, 0x74, 0x74),
                        QColor(0x40, 0x40, 0x40), QColor(255, 255, 255, 200)};

// Stroke width in pixels: thin lines stay one whole pixel at the tray sizes.
double strokePx(int size, double atLarge)
{
    if (size <= 22)
        return 1.0;
    if (size <= 48)
        return std::max(1.0, std::round(atLarge * size / 256.0 * 2.0) / 2.0);
    return atLarge;
}

void drawGlobe(QPainter &p, int size, QRectF r, const Palette &pal)
{
    const QPointF c = r.center();
    const double rad = r.width() / 2.0;

    QRadialGradient fill(c - QPointF(rad * 0.35, rad * 0.4), rad * 1.4);
    fill.setColorAt(0.0, pal.light);
    fill.setColorAt(1.0, pal.dark);
    p.setPen(Qt::NoPen);
    p.setBrush(fill);
    p.drawEllipse(r);

    // Grid: the small sizes keep only equator, central meridian and one pair of meridians.
    p.save();
    QPainterPath clip;
    clip.addEllipse(r);
    p.setClipPath(clip);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(pal.grid, strokePx(size, 7.0)));
    p.drawLine(QPointF(r.left(), c.y()), QPointF(r.right(), c.y()));
    p.drawLine(QPointF(c.x(), r.top()), QPointF(c.x(), r.bottom()));
    p.drawEllipse(c, rad * 0.5, rad);
    if (size >= 32) {
        const double dy = rad * 0.52;
        const double halfWidth = std::sqrt(rad * rad - dy * dy);
        p.drawLine(QPointF(c.x() - halfWidth, c.y() - dy), QPointF(c.x() + halfWidth, c.y() - dy));
        p.drawLine(QPointF(c.x() - halfWidth, c.y() + dy), QPointF(c.x() + halfWidth, c.y() + dy));
    }
    if (size >= 48)
        p.drawEllipse(c, rad * 0.82, rad);
    p.restore();

    const double outline = strokePx(size, 6.0);
    p.setPen(QPen(pal.outline, outline));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(r.adjusted(outline / 2, outline / 2, -outline / 2, -outline / 2));
}

void drawRoundMark(QPainter &p, int size, QRectF r, QColor light, QColor dark, Mark mark)
{
    // A white ring keeps the mark apart from the globe behind it.
    const double ring = size <= 22 ? 1.0 : strokePx(size, 10.0);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(r.adjusted(-ring, -ring, ring, ring));

    QLinearGradient fill(r.topLeft(), r.bottomLeft());
    fill.setColorAt(0.0, light);
    fill.setColorAt(1.0, dark);
    p.setBrush(fill);
    p.setPen(QPen(dark.darker(140), size <= 22 ? 0.0 : strokePx(size, 4.0)));
    if (size <= 22)
        p.setPen(Qt::NoPen);
    p.drawEllipse(r);

    const double w = r.width();
    const double sym = size <= 16 ? 1.6 : size <= 22 ? 2.0 : std::max(2.0, w * 0.17);
    QPen pen(Qt::white, sym, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    const QPointF c = r.center();
    if (mark == Mark::On) {
        QPainterPath tick;
        tick.moveTo(c + QPointF(-w * 0.26, w * 0.02));
        tick.lineTo(c + QPointF(-w * 0.07, w * 0.22));
        tick.lineTo(c + QPointF(w * 0.27, -w * 0.21));
        p.drawPath(tick);
    } else {
        const double d = w * 0.2;
        p.drawLine(c + QPointF(-d, -d), c + QPointF(d, d));
        p.drawLine(c + QPointF(-d, d), c + QPointF(d, -d));
    }
}

void drawHouse(QPainter &p, int size, QRectF r)
{
    // The home web server: a small orange house with a door.
    const double ring = size <= 22 ? 1.0 : strokePx(size, 9.0);
    const double x = r.left(), y = r.top(), w = r.width(), h = r.height();
    QPainterPath house;
    house.moveTo(x + w / 2, y);
    house.lineTo(x + w, y + h * 0.48);
    house.lineTo(x + w * 0.86, y + h * 0.48);
    house.lineTo(x + w * 0.86, y + h);
    house.lineTo(x + w * 0.14, y + h);
    house.lineTo(x + w * 0.14, y + h * 0.48);
    house.lineTo(x, y + h * 0.48);
    house.closeSubpath();

    p.setPen(QPen(Qt::white, ring * 2, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.setBrush(Qt::white);
    p.drawPath(house);

    QLinearGradient fill(r.topLeft(), r.bottomLeft());
    fill.setColorAt(0.0, QColor(0xff, 0xb3, 0x3b));
    fill.setColorAt(1.0, QColor(0xe0, 0x6a, 0x00));
    p.setBrush(fill);
    p.setPen(size <= 22 ? QPen(Qt::NoPen) : QPen(QColor(0x8a, 0x3d, 0x00), strokePx(size, 4.0)));
    p.drawPath(house);

    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x5a, 0x2a, 0x00));
    const double doorW = std::max(size <= 22 ? 2.0 : 1.0, w * 0.24);
    const double doorH = std::max(size <= 22 ? 3.0 : 1.0, h * 0.34);
    p.drawRect(QRectF(x + (w - doorW) / 2, y + h - doorH, doorW, doorH));
}

QImage newImage(int w, int h)
{
    QImage img(w, h, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    return img;
}

QImage drawCorvixIcon(int size, Mark mark)
{
    QImage img = newImage(size, size);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);

    // The small sizes give the mark a larger share so that it stays readable.
    const double markShare = size <= 16 ? 0.62 : size <= 22 ? 0.56 : 0.46;
    const double globeShare = mark == Mark::None ? 1.0 : (size <= 22 ? 0.86 : 0.84);
    double g = std::round(size * globeShare);
    // An odd diameter puts the centre on a pixel centre, so one-pixel grid lines stay sharp.
    if (size <= 22 && int(g) % 2 == 0)
        g -= 1;
    drawGlobe(p, size, QRectF(0, 0, g, g), mark == Mark::Off ? greyGlobe : colourGlobe);

    const double m = std::round(size * markShare);
    const QRectF markRect(size - m, size - m, m, m);
    switch (mark) {
    case Mark::None:
        break;
    case Mark::Off:
        drawRoundMark(p, size, markRect.adjusted(0.5, 0.5, -0.5, -0.5), QColor(0xf2, 0x5c, 0x54),
                      QColor(0xb3, 0x1b, 0x1b), mark);
        break;
    case Mark::On:
        drawRoundMark(p, size, markRect.adjusted(0.5, 0.5, -0.5, -0.5), QColor(0x6c, 0xd8, 0x5a),
                      QColor(0x1d, 0x8a, 0x2a), mark);
        break;
    case Mark::House:
        drawHouse(p, size, markRect.adjusted(size <= 22 ? 1 : m * 0.06, 0, 0, 0));
        break;
    }
    return img;
}

// The maker's mark: a gold north star over three waves, on a deep blue rounded square.
void drawMakerMark(QPainter &p, QRectF r)
{
    const double s = r.width();
    QLinearGradient bg(r.topLeft(), r.bottomLeft());
    bg.setColorAt(0.0, QColor(0x1f, 0x5a, 0x96));
    bg.setColorAt(1.0, QColor(0x0b, 0x2a, 0x4d));
    p.setPen(Qt::NoPen);
    p.setBrush(bg);
    p.drawRoundedRect(r, s * 0.18, s * 0.18);

    const QPointF star(r.center().x(), r.top() + s * 0.34);
    const double outer = s * 0.24, inner = s * 0.06;
    QPainterPath starPath;
    for (int i = 0; i < 8; ++i) {
        const double angle = -M_PI / 2 + i * M_PI / 4;
        const double rad =
            (i % 2 == 0) ? (i == 0 ? outer * 1.15 : outer * (i == 4 ? 0.7 : 0.8)) : inner;
        const QPointF pt = star + QPointF(std::cos(angle) * rad, std::sin(angle) * rad);
        if (i == 0)
            starPath.moveTo(pt);
        else
            starPath.lineTo(pt);
    }
    starPath.closeSubpath();
    QRadialGradient gold(star, outer);
    gold.setColorAt(0.0, QColor(0xff, 0xf1, 0xb0));
    gold.setColorAt(1.0, QColor(0xf0, 0xb4, 0x2a));
    p.setBrush(gold);
    p.drawPath(starPath);

    QPen wavePen(QColor(0xe8, 0xf4, 0xff), s * 0.055, Qt::SolidLine, Qt::RoundCap);
    p.setBrush(Qt::NoBrush);
    for (int i = 0; i < 3; ++i) {
        const double y = r.top() + s * (0.64 + i * 0.11);
        QPainterPath wave;
        const double x0 = r.left() + s * 0.17, x1 = r.right() - s * 0.17;
        const int humps = 3;
        const double step = (x1 - x0) / humps;
        wave.moveTo(x0, y);
        for (int k = 0; k < humps; ++k) {
            const double xa = x0 + k * step;
            wave.cubicTo(xa + step * 0.3, y - s * 0.045, xa + step * 0.7, y + s * 0.045, xa + step,
                         y);
        }
        QColor c = wavePen.color();
        c.setAlphaF(1.0 - i * 0.22);
        wavePen.setColor(c);
        p.setPen(wavePen);
        p.drawPath(wave);
    }
}

QImage drawLogo(int size)
{
    QImage img = newImage(size, size);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    drawMakerMark(p, QRectF(0, 0, size, size));
    return img;
}

QImage drawBadge()
{
    const int w = 668, h = 261;
    QImage img = newImage(w, h);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);

    QLinearGradient bg(0, 0, 0, h);
    bg.setColorAt(0.0, QColor(0xfd, 0xfe, 0xff));
    bg.setColorAt(1.0, QColor(0xdc, 0xe8, 0xf4));
    p.setPen(QPen(QColor(0x0b, 0x2a, 0x4d), 6));
    p.setBrush(bg);
    p.drawRoundedRect(QRectF(3, 3, w - 6, h - 6), 34, 34);

    const double markSize = 185;
    drawMakerMark(p, QRectF(38, (h - markSize) / 2, markSize, markSize));

    QFont font("DejaVu Sans");
    font.setBold(true);
    font.setLetterSpacing(QFont::PercentageSpacing, 104);
    // Fit the maker word into the space right of the mark.
    const double textLeft = 38 + markSize + 30, textRight = w - 40;
    font.setPixelSize(100);
    const double natural = QFontMetricsF(font).horizontalAdvance(QStringLiteral("NORTIDE"));
    font.setPixelSize(int(100 * (textRight - textLeft) / natural));
    p.setFont(font);
    const QFontMetricsF fm(font);
    const double baseline = h / 2.0 + fm.capHeight() / 2.0;
    p.setPen(QColor(0x0b, 0x2a, 0x4d));
    p.drawText(QPointF(textLeft, baseline), QStringLiteral("NORTIDE"));
    return img;
}

bool save(const QImage &img, const QString &path)
{
    if (!img.save(path, "PNG")) {
        QTextStream(stderr) << "cannot write " << path << "\n";
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        QTextStream(stderr) << "usage: render_artwork <assets folder>\n";
        return 2;
    }
    const QDir assets(QString::fromLocal8Bit(argv[1]));
    assets.mkpath("corvix");
    assets.mkpath("common");

    bool ok = true;
    const struct {
        const char *name;
        Mark mark;
    } corvixIcons[] = {{"state1", Mark::Off}, {"state2", Mark::On}, {"corvix", Mark::House}};
    for (const auto &icon : corvixIcons) {
        for (int size : iconSizes) {
            // The largest size carries the plain name; the others the size as a suffix.
            const QString file = size == 256
                                     ? QStringLiteral("corvix/%1.png").arg(icon.name)
                                     : QStringLiteral("corvix/%1-%2.png").arg(icon.name).arg(size);
            ok = save(drawCorvixIcon(size, icon.mark), assets.filePath(file)) && ok;
        }
    }
    ok = save(drawLogo(128), assets.filePath("common/logo.png")) && ok;
    ok = save(drawBadge(), assets.filePath("common/badge.png")) && ok;
    return ok ? 0 : 1;
}
