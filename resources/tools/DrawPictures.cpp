// Draws the window programs' pictures and icons: a padlock that closes frame
// by frame while Sealwin works and opens while Unsealwin works.
//   draw_pictures <sealwin|unsealwin> <output folder>
// writes <output folder>/bitmaps/<id>.png and <output folder>/icons/<id>.png;
//   draw_pictures --icons <output folder>
// writes the desktop icons in an icon theme's layout:
// <output folder>/<N>x<N>/<context>/<name>.png and scalable/<context>/<name>.svg.

#include "Pictures.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>

#include <cstdio>
#include <cstring>

namespace {

using pictures::Palette;

void drawPadlock(QPainter& painter, const QRectF& box, double openness, const Palette& palette, double glow)
{
    pictures::paint(painter, pictures::padlock(box, openness, palette, glow));
}

QImage blank(int width, int height, const QColor& background)
{
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(background);
    return image;
}

bool save(const QImage& image, const QString& path)
{
    if (image.save(path)) return true;
    std::fprintf(stderr, "draw_pictures: cannot write %s\n", qPrintable(path));
    return false;
}

// A picture drawn `scale` times its size, for screens scaled up: drawn
// afresh, not enlarged, so that its edges stay sharp.
class ScaledCanvas {
public:
    ScaledCanvas(int width, int height, const QColor& background, int scale)
        : image_(blank(width * scale, height * scale, background)), painter_(&image_)
    {
        painter_.scale(scale, scale);
    }
    QPainter& painter() { return painter_; }
    QImage finish()
    {
        painter_.end();
        return image_;
    }

private:
    QImage image_;
    QPainter painter_;
};

// An 85 by 120 frame of the main window's picture area, on no background of
// its own, so that it sits on a light or a dark window alike.
QImage frame(double openness, const Palette& palette, double glow, int scale)
{
    ScaledCanvas canvas(85, 120, Qt::transparent, scale);
    drawPadlock(canvas.painter(), QRectF(4, 10, 77, 100), openness, palette, glow);
    return canvas.finish();
}

QImage splash(const Palette& palette, const QString& action, int scale)
{
    ScaledCanvas canvas(400, 300, Qt::white, scale);
    QPainter& painter = canvas.painter();
    QLinearGradient sky(0, 0, 0, 300);
    sky.setColorAt(0, palette.body.darker(160));
    sky.setColorAt(1, palette.body.darker(260));
    painter.fillRect(QRect(0, 0, 400, 300), sky);
    drawPadlock(painter, QRectF(30, 60, 130, 170), 0, palette, 1.0);
    painter.setPen(Qt::white);
    QFont title(QStringLiteral("Sans Serif"));
    title.setPixelSize(54);
    title.setBold(true);
    painter.setFont(title);
    painter.drawText(QRectF(175, 80, 215, 70), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Tarvex"));
    QFont subtitle(QStringLiteral("Sans Serif"));
    subtitle.setPixelSize(22);
    painter.setFont(subtitle);
    painter.setPen(palette.accent);
    painter.drawText(QRectF(178, 150, 215, 30), Qt::AlignLeft, action);
    QFont small(QStringLiteral("Sans Serif"));
    small.setPixelSize(12);
    painter.setFont(small);
    painter.setPen(QColor(0xd0, 0xd8, 0xe0));
    painter.drawText(QRectF(178, 190, 215, 20), Qt::AlignLeft, QStringLiteral("File encryption  \u00b7  Version 1.3"));
    painter.drawText(QRectF(0, 270, 400, 20), Qt::AlignHCenter, QStringLiteral("Click to continue"));
    return canvas.finish();
}

QImage icon(const Palette& palette)
{
    QImage image = blank(64, 64, Qt::transparent);
    QPainter painter(&image);
    drawPadlock(painter, QRectF(6, 2, 52, 60), 0, palette, 0);
    return image;
}

// The small picture of the overwrite question.
QImage promptPicture(const Palette& palette, int scale)
{
    ScaledCanvas canvas(28, 28, Qt::transparent, scale);
    drawPadlock(canvas.painter(), QRectF(2, 1, 24, 26), 0.5, palette, 0);
    return canvas.finish();
}

// Each bitmap at its size and at twice its size ("<id>@2x.png").
template <typename Draw>
bool saveBitmap(const QString& folder, int id, Draw draw)
{
    const QString name = folder + QStringLiteral("/bitmaps/%1").arg(id);
    return save(draw(1), name + ".png") && save(draw(2), name + "@2x.png");
}

bool drawSealwin(const QString& folder)
{
    const Palette& p = pictures::sealPalette;
    bool ok = saveBitmap(folder, 2, [&](int scale) { return frame(0, p, 0, scale); });
    ok &= saveBitmap(folder, 3, [&](int scale) { return frame(0, p, 0.5, scale); });
    ok &= saveBitmap(folder, 10, [&](int scale) { return frame(0, p, 1.0, scale); });
    // Frames 4 to 9: the shackle comes down and the lock glows as it shuts.
    for (int id = 4; id <= 9; ++id) {
        const double step = (id - 4) / 5.0;
        ok &= saveBitmap(folder, id, [&](int scale) { return frame(1.0 - step, p, step, scale); });
    }
    ok &= saveBitmap(folder, 1, [&](int scale) { return promptPicture(p, scale); });
    ok &= saveBitmap(folder, 23, [&](int scale) { return splash(p, QStringLiteral("Encrypt"), scale); });
    ok &= save(icon(p), folder + "/icons/5.png");
    return ok;
}

bool drawUnsealwin(const QString& folder)
{
    const Palette& p = pictures::unsealPalette;
    // While a run goes on, 2, 3, 11, 12, 13 and 14 lift the shackle.
    const int runFrames[] = {2, 3, 11, 12, 13, 14};
    bool ok = true;
    for (int i = 0; i < 6; ++i) {
        const double step = i / 5.0;
        ok &= saveBitmap(folder, runFrames[i], [&](int scale) { return frame(step, p, step, scale); });
    }
    ok &= saveBitmap(folder, 15, [&](int scale) { return frame(1.0, p, 0, scale); });
    ok &= saveBitmap(folder, 16, [&](int scale) { return frame(1.0, p, 0.5, scale); });
    ok &= saveBitmap(folder, 17, [&](int scale) { return frame(1.0, p, 1.0, scale); });
    ok &= saveBitmap(folder, 1, [&](int scale) { return promptPicture(p, scale); });
    ok &= saveBitmap(folder, 6, [&](int scale) { return splash(p, QStringLiteral("Decrypt"), scale); });
    ok &= save(icon(p), folder + "/icons/6.png");
    return ok;
}

bool makeFolder(const QString& folder)
{
    if (QDir().mkpath(folder)) return true;
    std::fprintf(stderr, "draw_pictures: cannot create %s\n", qPrintable(folder));
    return false;
}

// Each size is drawn afresh rather than scaled, so small icons keep whole-pixel
// edges; the scalable icon has the largest size's geometry.
bool drawDesktopIcons(const QString& folder)
{
    bool ok = true;
    for (const pictures::DesktopIconFile& file : pictures::desktopIconFiles()) {
        for (const int size : pictures::desktopIconSizes()) {
            const QString sized = folder + QStringLiteral("/%1x%1/").arg(size) + file.context;
            if (!makeFolder(sized)) return false;
            QImage image = blank(size, size, Qt::transparent);
            QPainter painter(&image);
            pictures::paint(painter, pictures::desktopIcon(file.icon, size, true));
            painter.end();
            ok &= save(image, sized + '/' + file.name + ".png");
        }
        const QString scalable = folder + "/scalable/" + file.context;
        if (!makeFolder(scalable)) return false;
        const int size = pictures::scalableIconSize;
        QFile svg(scalable + '/' + file.name + ".svg");
        const QByteArray text = pictures::toSvg(pictures::desktopIcon(file.icon, size, false), size, size);
        if (!svg.open(QIODevice::WriteOnly) || svg.write(text) != text.size() || !svg.flush()) {
            std::fprintf(stderr, "draw_pictures: cannot write %s\n", qPrintable(svg.fileName()));
            ok = false;
        }
    }
    return ok;
}

}  // namespace

int main(int argc, char** argv)
{
    const bool icons = argc == 3 && std::strcmp(argv[1], "--icons") == 0;
    if (argc != 3 || (!icons && std::strcmp(argv[1], "sealwin") != 0 && std::strcmp(argv[1], "unsealwin") != 0)) {
        std::fprintf(stderr, "usage: draw_pictures <sealwin|unsealwin> <output folder>\n"
                             "       draw_pictures --icons <output folder>\n");
        return 2;
    }
    // Fonts need a platform; no display is needed to draw into images.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    const QString folder = QString::fromLocal8Bit(argv[2]);
    if (icons) return drawDesktopIcons(folder) ? 0 : 1;
    if (!QDir().mkpath(folder + "/bitmaps") || !QDir().mkpath(folder + "/icons")) {
        std::fprintf(stderr, "draw_pictures: cannot create %s\n", argv[2]);
        return 1;
    }
    const bool ok = std::strcmp(argv[1], "sealwin") == 0 ? drawSealwin(folder) : drawUnsealwin(folder);
    return ok ? 0 : 1;
}
