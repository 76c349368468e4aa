#include "Pictures.h"

#include <algorithm>
#include <cmath>

namespace pictures {

const Palette sealPalette{QColor(0x2b, 0x5c, 0x9e), QColor(0xf2, 0xb1, 0x34)};
const Palette unsealPalette{QColor(0x2e, 0x8b, 0x57), QColor(0xf2, 0xb1, 0x34)};

namespace {

const QColor shineColor(0xdf, 0xe4, 0xea);
const QColor rimColor(0x5b, 0x64, 0x6e);

double snap(double value) { return std::round(value); }

// A line of odd width sits on pixel centres, one of even width between them.
double snapCentre(double centre, double width) { return std::round(centre - width / 2) + width / 2; }

// Whole-pixel width no thinner than one pixel, of the same parity as other so
// that it centres on other's middle without straddling a pixel.
double widthLike(double width, double other)
{
    double result = std::max(1.0, std::round(width));
    if (std::fmod(result, 2) != std::fmod(other, 2)) result += result > width && result > 1 ? -1 : 1;
    return result;
}

QPainterPath shacklePath(double legLeft, double span, double top, double leftEnd, double rightEnd)
{
    QPainterPath path;
    path.moveTo(legLeft, leftEnd);
    path.lineTo(legLeft, top + span / 2);
    path.arcTo(QRectF(legLeft, top, span, span), 180, -180);
    path.lineTo(legLeft + span, rightEnd);
    return path;
}

}  // namespace

Scene padlock(const QRectF& box, double openness, const Palette& palette, double glow, const PadlockStyle& style)
{
    Scene scene;
    const double w = box.width();
    const double h = box.height();
    QRectF body(box.left() + w * 0.12, box.top() + h * 0.45, w * 0.76, h * 0.48);

    if (glow > 0) {
        QColor light = palette.accent;
        light.setAlphaF(0.45 * glow);
        scene.push_back(Shape::ofRect(box, Fill::radial(body.center(), w * 0.7, {{0, light}, {1, Qt::transparent}})));
    }

    // The shackle: a thick arch whose right leg leaves the body as it opens.
    const double lift = openness * h * 0.14;
    double span = w * 0.50;
    double legLeft = box.left() + (w - span) / 2;
    double top = box.top() + h * 0.08 - lift;
    const double leftEnd = body.top() + h * 0.04 - lift * (1 - openness);
    double rightEnd = body.top() + h * 0.04 - lift;
    double steel = w * 0.10;
    double shine = style.shine ? w * 0.03 : 0;
    double corner = w * 0.08;
    QPointF hole(body.center().x(), body.top() + body.height() * 0.42);
    double holeRadius = w * 0.07;
    QRectF slot(hole.x() - w * 0.03, hole.y(), w * 0.06, body.height() * 0.30);

    if (style.hinted) {
        const double o = style.outline;
        const QRectF outer = body.adjusted(-o / 2, -o / 2, o / 2, o / 2);
        const QRectF snapped(QPointF(snap(outer.left()), snap(outer.top())),
                             QPointF(snap(outer.right()), snap(outer.bottom())));
        body = snapped.adjusted(o / 2, o / 2, -o / 2, -o / 2);
        // Two pixels at least: a one-pixel shackle is lost at the smallest sizes.
        steel = std::max(2.0, std::round(steel));
        // The legs mirror each other about the body's middle.
        legLeft = snapCentre(legLeft, steel);
        span = snapped.left() + snapped.right() - 2 * legLeft;
        top = snapCentre(top, steel);
        // An open shackle keeps a clear gap above the body, however small.
        if (openness > 0) rightEnd = std::min(snap(rightEnd), snapped.top() - std::max(2.0, style.outline + 1));
        rightEnd = std::max(rightEnd, top + span / 2);
        shine = style.shine && steel >= 3 ? widthLike(shine, steel) : 0;
        corner = std::max(1.0, std::round(corner));

        const double middle = snapped.center().x();
        const double slotWidth = widthLike(w * 0.06, snapped.width());
        const double holeDiameter = widthLike(holeRadius * 2, snapped.width());
        const double holeTop = snap(snapped.top() + snapped.height() * 0.42 - holeDiameter / 2);
        holeRadius = holeDiameter / 2;
        hole = QPointF(middle, holeTop + holeRadius);
        const double slotBottom = std::min(snap(hole.y() + snapped.height() * 0.30), snapped.bottom() - o - 1);
        slot = QRectF(middle - slotWidth / 2, style.simpleKeyhole ? holeTop : hole.y(), slotWidth,
                      slotBottom - (style.simpleKeyhole ? holeTop : hole.y()));
    }

    if (style.rim > 0) {
        // Past the open leg's end as well, so the rim frames its cut face.
        const double rimEnd = openness > 0 ? rightEnd + style.rim : rightEnd;
        scene.push_back(Shape::ofPath(shacklePath(legLeft, span, top, leftEnd, rimEnd), Fill::none(),
                                      {rimColor, steel + 2 * style.rim, Qt::FlatCap}));
    }
    const QPainterPath shackle = shacklePath(legLeft, span, top, leftEnd, rightEnd);
    scene.push_back(Shape::ofPath(shackle, Fill::none(), {style.steel, steel, Qt::FlatCap}));
    if (shine > 0) scene.push_back(Shape::ofPath(shackle, Fill::none(), {shineColor, shine, Qt::FlatCap}));

    // The body, with a keyhole.
    const Fill fill = Fill::linear(body.topLeft(), body.bottomRight(),
                                   {{0, palette.body.lighter(150)}, {1, palette.body.darker(130)}});
    scene.push_back(Shape::ofRoundedRect(body, corner, fill, {palette.body.darker(180), style.outline}));
    if (!style.simpleKeyhole)
        scene.push_back(Shape::ofEllipse(hole, holeRadius, holeRadius, Fill::solid(palette.accent)));
    scene.push_back(Shape::ofRect(slot, Fill::solid(palette.accent)));
    return scene;
}

namespace {

// The padlock's box keeps the proportions of the window programs' icon.
constexpr double boxAspect = 52.0 / 60.0;

PadlockStyle padlockStyleFor(double boxHeight, bool hinted)
{
    PadlockStyle style;
    style.outline = std::max(1.0, std::round(boxHeight / 90));
    // Too small for a rim, the shackle is drawn darker to stand out instead.
    style.rim = boxHeight >= 18 ? std::max(1.0, std::round(boxHeight / 110)) : 0;
    if (style.rim == 0) style.steel = QColor(0x7c, 0x86, 0x91);
    style.shine = boxHeight >= 26;
    style.hinted = hinted;
    style.simpleKeyhole = boxHeight < 32;
    return style;
}

// The box at the origin, so that hinting there stays on whole pixels after a
// move by whole pixels.
Scene padlockOfHeight(double height, double openness, const Palette& palette, bool hinted)
{
    return padlock(QRectF(0, 0, height * boxAspect, height), openness, palette, 0, padlockStyleFor(height, hinted));
}

// The largest padlock that fits area when open by sizedOpenness, drawn open by
// openness and moved so that its reach's anchor point lies on area's. Line
// widths and hinting change with the size, so fitting takes a few trials.
Scene fittedPadlock(const QRectF& area, double sizedOpenness, double openness, const Palette& palette, bool hinted,
                    Qt::Alignment anchor)
{
    double height = area.height();
    for (int trial = 0; trial < 40; ++trial) {
        const QRectF reach = bounds(padlockOfHeight(height, sizedOpenness, palette, hinted));
        const double scale = std::min(area.width() / reach.width(), area.height() / reach.height());
        if (scale >= 1) break;
        height *= trial == 0 ? scale : 0.99;
    }
    Scene scene = padlockOfHeight(height, openness, palette, hinted);
    const QRectF reach = bounds(scene);
    QPointF offset =
        anchor == Qt::AlignCenter ? area.center() - reach.center() : area.bottomRight() - reach.bottomRight();
    // Whole pixels keep the hinting; rounding down keeps a bottom right anchor inside.
    if (hinted) offset = QPointF(std::floor(offset.x()), std::floor(offset.y()));
    translate(scene, offset);
    return scene;
}

// Both programs' icons share the scale at which the open lock fills the icon.
Scene programIcon(int size, double openness, const Palette& palette, bool hinted)
{
    const double margin = size <= 24 ? 1 : size * 0.05;
    const QRectF area(margin, margin, size - 2 * margin, size - 2 * margin);
    return fittedPadlock(area, 1, openness, palette, hinted, Qt::AlignCenter);
}

// A sheet with a folded corner and lines of text, badged with the closed lock.
Scene batchFileIcon(int size, bool hinted)
{
    const double s = size;
    const auto place = [&](double value) { return hinted ? snap(value) : value; };
    const double line = std::max(1.0, std::round(s / 100));
    // Outer edges on whole pixels; the outline runs half its width inside.
    const double left = place(s * 0.16), right = place(s * 0.84);
    const double top = place(s * 0.04), bottom = place(s * 0.96);
    const double fold = place(s * 0.22);
    const double in = line / 2;

    Scene scene;
    QPainterPath sheet;
    sheet.moveTo(left + in, top + in);
    sheet.lineTo(right - fold, top + in);
    sheet.lineTo(right - in, top + fold);
    sheet.lineTo(right - in, bottom - in);
    sheet.lineTo(left + in, bottom - in);
    sheet.closeSubpath();
    const QColor edge(0x7a, 0x85, 0x91);
    scene.push_back(Shape::ofPath(sheet,
                                  Fill::linear(QPointF(0, top), QPointF(0, bottom),
                                               {{0, QColor(0xff, 0xff, 0xff)}, {1, QColor(0xe3, 0xe8, 0xee)}}),
                                  {edge, line, Qt::FlatCap, Qt::SvgMiterJoin}));

    QPainterPath dogEar;
    dogEar.moveTo(right - fold, top + in);
    dogEar.lineTo(right - fold, top + fold);
    dogEar.lineTo(right - in, top + fold);
    dogEar.closeSubpath();
    scene.push_back(
        Shape::ofPath(dogEar,
                      Fill::linear(QPointF(right - fold, top + fold), QPointF(right - fold / 2, top + fold / 2),
                                   {{0, QColor(0xf7, 0xf9, 0xfb)}, {1, QColor(0xc3, 0xcc, 0xd6)}}),
                      {edge, line, Qt::FlatCap, Qt::SvgMiterJoin}));

    // The badge sits on the sheet's lower right corner and overhangs it a little.
    const double margin = size <= 24 ? 1 : s * 0.02;
    const double badgeSize = s * 0.56;
    const QRectF badgeArea(s - margin - badgeSize, s - margin - badgeSize, badgeSize, badgeSize);
    const Scene badge = fittedPadlock(badgeArea, 0, 0, sealPalette, hinted, Qt::AlignBottom | Qt::AlignRight);
    const double badgeLeft = bounds(badge).left();
    const double badgeTop = bounds(badge).top();

    // Lines of text, ragged on the right, clear of the fold and the badge.
    const double thickness = std::max(1.0, std::round(s / 40));
    const double pitch = std::max(2.0, std::round(s / 14));
    const double textLeft = place(left + std::max(2.0, s * 0.08));
    const double textRight = place(right - std::max(2.0, s * 0.08));
    const double gap = std::max(1.0, std::round(s / 32));
    static const double ragged[] = {0.62, 1.0, 0.86, 1.0, 0.72, 0.94, 1.0, 0.8};
    int row = 0;
    for (double y = place(top + std::max(2.0, s * 0.11)); y + thickness <= bottom - std::max(2.0, s * 0.06);
         y += pitch, ++row) {
        double end = textRight;
        if (y < top + fold + gap) end = right - fold - gap;
        if (y + thickness > badgeTop - gap) end = std::min(end, badgeLeft - gap);
        const double length = place((end - textLeft) * ragged[row % 8]);
        if (length < thickness * 2) continue;
        scene.push_back(Shape::ofRect(QRectF(textLeft, y, length, thickness), Fill::solid(QColor(0x93, 0xa0, 0xae))));
    }

    append(scene, badge);
    return scene;
}

}  // namespace

const std::vector<DesktopIconFile>& desktopIconFiles()
{
    static const std::vector<DesktopIconFile> files{
        {DesktopIcon::Sealwin, QStringLiteral("apps"), QStringLiteral("sealwin")},
        {DesktopIcon::Unsealwin, QStringLiteral("apps"), QStringLiteral("unsealwin")},
        {DesktopIcon::BatchFile, QStringLiteral("mimetypes"), QStringLiteral("application-x-tarvex-batch")},
    };
    return files;
}

const std::vector<int>& desktopIconSizes()
{
    static const std::vector<int> sizes{16, 22, 24, 32, 48, 64, 128, 256};
    return sizes;
}

Scene desktopIcon(DesktopIcon icon, int size, bool hinted)
{
    switch (icon) {
    case DesktopIcon::Sealwin: return programIcon(size, 0, sealPalette, hinted);
    case DesktopIcon::Unsealwin: return programIcon(size, 1, unsealPalette, hinted);
    case DesktopIcon::BatchFile: return batchFileIcon(size, hinted);
    }
    return {};
}

}  // namespace pictures
