// The pictures' shapes and the SVG back end, checked without the build's files.

#include "Pictures.h"
#include "Scene.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using namespace pictures;

std::string svgOf(const Scene& scene) { return toSvg(scene, 64, 64).toStdString(); }

bool whole(double value) { return std::abs(value - std::round(value)) < 1e-9; }

TEST(IconSvgWriter, SpellsNumbersShortAndWithoutExponents)
{
    EXPECT_EQ(svgNumber(1.0), "1");
    EXPECT_EQ(svgNumber(0.5), "0.5");
    EXPECT_EQ(svgNumber(25.600000000000001), "25.6");
    EXPECT_EQ(svgNumber(-3.25), "-3.25");
    EXPECT_EQ(svgNumber(1.23456), "1.2346");
    EXPECT_EQ(svgNumber(1e-9), "0");
    EXPECT_EQ(svgNumber(-0.00001), "0");
    EXPECT_EQ(svgNumber(1234567.0), "1234567");
}

TEST(IconSvgWriter, WritesPathsWithTheirCurvesAndClosesReturnedSubpaths)
{
    QPainterPath triangle;
    triangle.moveTo(0, 0);
    triangle.lineTo(10, 0);
    triangle.lineTo(10, 10);
    triangle.closeSubpath();
    QPainterPath arch;
    arch.moveTo(20, 40);
    arch.arcTo(QRectF(20, 20, 20, 20), 180, -180);
    const std::string svg = svgOf({Shape::ofPath(triangle, Fill::solid(Qt::red), Stroke::none()),
                                   Shape::ofPath(arch, Fill::none(), {Qt::black, 2, Qt::FlatCap})});
    EXPECT_NE(svg.find("d=\"M 0 0 L 10 0 L 10 10 L 0 0 Z\" fill-rule=\"evenodd\" fill=\"#ff0000\"/>"),
              std::string::npos)
        << svg;
    // The arch runs from its left end over the top to its right end, unclosed.
    EXPECT_NE(svg.find("d=\"M 20 40 L 20 30 C "), std::string::npos) << svg;
    EXPECT_NE(svg.find(" 30 20 C "), std::string::npos) << svg;
    EXPECT_NE(svg.find(" 40 30\" fill=\"none\" stroke=\"#000000\" stroke-width=\"2\" stroke-linecap=\"butt\""),
              std::string::npos)
        << svg;
}

TEST(IconSvgWriter, WritesRectsRoundedRectsCirclesAndEllipses)
{
    const std::string svg = svgOf({Shape::ofRect(QRectF(1, 2, 3, 4), Fill::solid(Qt::blue)),
                                   Shape::ofRoundedRect(QRectF(5, 6, 7, 8), 2, Fill::solid(Qt::blue)),
                                   Shape::ofEllipse(QPointF(10, 10), 3, 3, Fill::solid(Qt::blue)),
                                   Shape::ofEllipse(QPointF(20, 10), 4, 2, Fill::solid(Qt::blue))});
    EXPECT_NE(svg.find("<rect x=\"1\" y=\"2\" width=\"3\" height=\"4\" fill=\"#0000ff\"/>"), std::string::npos) << svg;
    EXPECT_NE(svg.find("<rect x=\"5\" y=\"6\" width=\"7\" height=\"8\" rx=\"2\" ry=\"2\""), std::string::npos) << svg;
    EXPECT_NE(svg.find("<circle cx=\"10\" cy=\"10\" r=\"3\""), std::string::npos) << svg;
    EXPECT_NE(svg.find("<ellipse cx=\"20\" cy=\"10\" rx=\"4\" ry=\"2\""), std::string::npos) << svg;
}

TEST(IconSvgWriter, DefinesEachGradientItsShapeRefersTo)
{
    const std::string svg =
        svgOf({Shape::ofRect(QRectF(0, 0, 8, 8),
                             Fill::linear(QPointF(0, 0), QPointF(8, 8), {{0, Qt::white}, {1, Qt::black}})),
               Shape::ofRect(QRectF(8, 8, 8, 8), Fill::radial(QPointF(12, 12), 6, {{0, Qt::red}, {1, Qt::blue}}))});
    EXPECT_NE(
        svg.find("<linearGradient id=\"paint0\" gradientUnits=\"userSpaceOnUse\" x1=\"0\" y1=\"0\" x2=\"8\" y2=\"8\">"),
        std::string::npos)
        << svg;
    EXPECT_NE(svg.find("<radialGradient id=\"paint1\" gradientUnits=\"userSpaceOnUse\" cx=\"12\" cy=\"12\" r=\"6\">"),
              std::string::npos)
        << svg;
    EXPECT_NE(svg.find("fill=\"url(#paint0)\""), std::string::npos) << svg;
    EXPECT_NE(svg.find("fill=\"url(#paint1)\""), std::string::npos) << svg;
    EXPECT_NE(svg.find("<stop offset=\"1\" stop-color=\"#0000ff\"/>"), std::string::npos) << svg;
    EXPECT_LT(svg.find("</defs>"), svg.find("<rect")) << svg;
}

// A glow that fades to transparent must fade in its own colour, not through
// black as an SVG viewer would blend towards transparent black.
TEST(IconSvgWriter, FadesToTransparentInTheNeighbouringColour)
{
    QColor glow(0xf2, 0xb1, 0x34);
    glow.setAlphaF(0.5);
    const std::string svg =
        svgOf({Shape::ofRect(QRectF(0, 0, 8, 8), Fill::radial(QPointF(4, 4), 4, {{0, glow}, {1, Qt::transparent}}))});
    EXPECT_NE(svg.find("<stop offset=\"0\" stop-color=\"#f2b134\" stop-opacity=\"0.5\"/>"), std::string::npos) << svg;
    EXPECT_NE(svg.find("<stop offset=\"1\" stop-color=\"#f2b134\" stop-opacity=\"0\"/>"), std::string::npos) << svg;
}

TEST(IconSvgWriter, FollowsThePenAndLeavesOutlinesOutWhenThereAreNone)
{
    QPainterPath corner;
    corner.moveTo(0, 0);
    corner.lineTo(5, 5);
    corner.lineTo(10, 0);
    const std::string svg =
        svgOf({Shape::ofPath(corner, Fill::none(), {QColor(0, 0, 0, 128), 3, Qt::RoundCap, Qt::SvgMiterJoin}),
               Shape::ofPath(corner, Fill::none(), {Qt::black, 1, Qt::SquareCap, Qt::MiterJoin}),
               Shape::ofRect(QRectF(0, 0, 1, 1), Fill::solid(QColor(255, 0, 0, 51)))});
    EXPECT_NE(svg.find("stroke-opacity=\"0.502\" stroke-width=\"3\" stroke-linecap=\"round\" stroke-linejoin=\"miter\" "
                       "stroke-miterlimit=\"2\"/>"),
              std::string::npos)
        << svg;
    // QPainter draws a plain miter as far as SVG's limit of 4 does.
    EXPECT_NE(
        svg.find("stroke-width=\"1\" stroke-linecap=\"square\" stroke-linejoin=\"miter\" stroke-miterlimit=\"4\"/>"),
        std::string::npos)
        << svg;
    EXPECT_NE(svg.find("fill=\"#ff0000\" fill-opacity=\"0.2\"/>"), std::string::npos) << svg;
    EXPECT_EQ(svg.find("stroke", svg.find("<rect")), std::string::npos) << svg;
}

TEST(IconScene, BoundsHoldOutlinesAndMoveWithTheScene)
{
    Scene scene{Shape::ofRoundedRect(QRectF(10, 10, 20, 10), 3,
                                     Fill::linear(QPointF(10, 10), QPointF(30, 20), {{0, Qt::white}, {1, Qt::black}}),
                                     {Qt::black, 2}),
                Shape::ofEllipse(QPointF(40, 40), 5, 5, Fill::solid(Qt::red))};
    EXPECT_EQ(bounds(scene), QRectF(9, 9, 36, 36));
    translate(scene, QPointF(3, -4));
    EXPECT_EQ(bounds(scene), QRectF(12, 5, 36, 36));
    EXPECT_EQ(scene[0].fill.start, QPointF(13, 6));
    EXPECT_EQ(scene[0].fill.end, QPointF(33, 16));
}

TEST(DesktopIconGeometry, EveryIconStaysInsideItsSquare)
{
    for (const DesktopIconFile& file : desktopIconFiles()) {
        for (const int size : desktopIconSizes()) {
            for (const bool hinted : {true, false}) {
                SCOPED_TRACE(file.name.toStdString() + " " + std::to_string(size) + (hinted ? " hinted" : ""));
                const QRectF reach = bounds(desktopIcon(file.icon, size, hinted));
                EXPECT_TRUE(QRectF(0, 0, size, size).contains(reach));
                // Big enough to be worth the square.
                EXPECT_GE(reach.height(), size * 0.7);
            }
        }
    }
}

// The padlock's parts: the body is its one rounded rectangle, the shackle
// the last path drawn before it (its steel or its shine).
struct Parts {
    QRectF body;
    double outline = 0;
    QPainterPath shackle;
    double steel = 0;
};

Parts partsOf(const Scene& scene)
{
    Parts parts;
    for (const Shape& shape : scene) {
        if (shape.kind == Shape::Kind::RoundedRect) {
            parts.body = shape.rect;
            parts.outline = shape.stroke.width;
        } else if (shape.kind == Shape::Kind::Path && shape.stroke.color != QColor(0xdf, 0xe4, 0xea)) {
            parts.shackle = shape.path;
            parts.steel = shape.stroke.width;
        }
    }
    return parts;
}

TEST(DesktopIconGeometry, HintedLocksHaveTheirEdgesOnWholePixels)
{
    for (const DesktopIcon icon : {DesktopIcon::Sealwin, DesktopIcon::Unsealwin}) {
        for (const int size : desktopIconSizes()) {
            SCOPED_TRACE(size);
            const Parts parts = partsOf(desktopIcon(icon, size, true));
            ASSERT_GT(parts.outline, 0);
            const QRectF outer =
                parts.body.adjusted(-parts.outline / 2, -parts.outline / 2, parts.outline / 2, parts.outline / 2);
            EXPECT_TRUE(whole(outer.left()) && whole(outer.top()) && whole(outer.right()) && whole(outer.bottom()));
            const QRectF legs = parts.shackle.controlPointRect();
            EXPECT_TRUE(whole(parts.steel));
            EXPECT_TRUE(whole(legs.left() - parts.steel / 2));
            EXPECT_TRUE(whole(legs.right() + parts.steel / 2));
            EXPECT_TRUE(whole(legs.top() - parts.steel / 2));
            // The legs stand symmetrically on the body.
            EXPECT_DOUBLE_EQ(legs.left() - outer.left(), outer.right() - legs.right());
        }
    }
}

TEST(DesktopIconGeometry, OnlyTheUnsealwinShackleStandsClearOfTheBody)
{
    for (const int size : desktopIconSizes()) {
        for (const bool hinted : {true, false}) {
            SCOPED_TRACE(std::to_string(size) + (hinted ? " hinted" : ""));
            const Parts open = partsOf(desktopIcon(DesktopIcon::Unsealwin, size, hinted));
            const Parts closed = partsOf(desktopIcon(DesktopIcon::Sealwin, size, hinted));
            const auto rightEnd = [](const Parts& parts) {
                return parts.shackle.elementAt(parts.shackle.elementCount() - 1).y;
            };
            // Daylight under the open leg; hinting keeps a pixel of it, however small the icon.
            EXPECT_LE(rightEnd(open), open.body.top() - open.outline / 2 - (hinted ? 1 : 0.1));
            EXPECT_GT(rightEnd(closed), closed.body.top());
        }
    }
}

}  // namespace
