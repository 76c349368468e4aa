// A picture described once as a list of filled and stroked shapes, so that the
// raster pictures and the scalable icons come from the same geometry: one back
// end paints the shapes with QPainter, the other writes them out as SVG.
#pragma once

#include <QByteArray>
#include <QColor>
#include <QGradientStops>
#include <QPainterPath>
#include <QPointF>
#include <QRectF>

#include <vector>

class QPainter;

namespace pictures {

// How a shape's inside is painted. Gradients are in picture coordinates and
// pad beyond their ends, which both back ends do alike.
struct Fill {
    enum class Kind { None, Solid, Linear, Radial };
    Kind kind = Kind::None;
    QColor color;     // Solid
    QPointF start;    // Linear: where stop 0 lies; Radial: the centre
    QPointF end;      // Linear: where stop 1 lies
    double radius{};  // Radial
    QGradientStops stops;

    static Fill none() { return {}; }
    static Fill solid(const QColor& color);
    static Fill linear(const QPointF& start, const QPointF& end, const QGradientStops& stops);
    static Fill radial(const QPointF& centre, double radius, const QGradientStops& stops);
};

// A width of 0 means no outline at all (not a one-pixel cosmetic pen).
struct Stroke {
    QColor color;
    double width{};
    Qt::PenCapStyle cap = Qt::SquareCap;
    Qt::PenJoinStyle join = Qt::BevelJoin;

    static Stroke none() { return {}; }
};

struct Shape {
    enum class Kind { Path, Rect, RoundedRect, Ellipse };
    Kind kind = Kind::Path;
    QPainterPath path;  // Path
    QRectF rect;        // Rect, RoundedRect, Ellipse (its bounding box)
    double radius{};    // RoundedRect: the corners' radius
    Fill fill;
    Stroke stroke;

    static Shape ofPath(const QPainterPath& path, const Fill& fill, const Stroke& stroke);
    static Shape ofRect(const QRectF& rect, const Fill& fill, const Stroke& stroke = {});
    static Shape ofRoundedRect(const QRectF& rect, double radius, const Fill& fill, const Stroke& stroke = {});
    static Shape ofEllipse(const QPointF& centre, double rx, double ry, const Fill& fill, const Stroke& stroke = {});
};

// Painted in order: later shapes cover earlier ones.
using Scene = std::vector<Shape>;

inline void append(Scene& scene, const Scene& more) { scene.insert(scene.end(), more.begin(), more.end()); }

// The box that holds everything the scene paints, outlines included (with
// room for a square cap or a miter at their ends and corners).
QRectF bounds(const Scene& scene);

// Moves every shape and gradient by offset.
void translate(Scene& scene, const QPointF& offset);

// Paints with antialiasing and leaves the painter's state as it found it.
void paint(QPainter& painter, const Scene& scene);

// A standalone SVG document of width by height pixels whose user units are
// the scene's coordinates.
QByteArray toSvg(const Scene& scene, int width, int height);

// The number as the SVG writer spells it: at most four decimals, no exponent.
QByteArray svgNumber(double value);

}  // namespace pictures
