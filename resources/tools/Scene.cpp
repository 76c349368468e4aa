#include "Scene.h"

#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>

#include <cmath>

namespace pictures {

Fill Fill::solid(const QColor& color)
{
    Fill fill;
    fill.kind = Kind::Solid;
    fill.color = color;
    return fill;
}

Fill Fill::linear(const QPointF& start, const QPointF& end, const QGradientStops& stops)
{
    Fill fill;
    fill.kind = Kind::Linear;
    fill.start = start;
    fill.end = end;
    fill.stops = stops;
    return fill;
}

Fill Fill::radial(const QPointF& centre, double radius, const QGradientStops& stops)
{
    Fill fill;
    fill.kind = Kind::Radial;
    fill.start = centre;
    fill.radius = radius;
    fill.stops = stops;
    return fill;
}

Shape Shape::ofPath(const QPainterPath& path, const Fill& fill, const Stroke& stroke)
{
    Shape shape;
    shape.kind = Kind::Path;
    shape.path = path;
    shape.fill = fill;
    shape.stroke = stroke;
    return shape;
}

Shape Shape::ofRect(const QRectF& rect, const Fill& fill, const Stroke& stroke)
{
    Shape shape;
    shape.kind = Kind::Rect;
    shape.rect = rect;
    shape.fill = fill;
    shape.stroke = stroke;
    return shape;
}

Shape Shape::ofRoundedRect(const QRectF& rect, double radius, const Fill& fill, const Stroke& stroke)
{
    Shape shape = ofRect(rect, fill, stroke);
    shape.kind = Kind::RoundedRect;
    shape.radius = radius;
    return shape;
}

Shape Shape::ofEllipse(const QPointF& centre, double rx, double ry, const Fill& fill, const Stroke& stroke)
{
    Shape shape = ofRect(QRectF(centre.x() - rx, centre.y() - ry, 2 * rx, 2 * ry), fill, stroke);
    shape.kind = Kind::Ellipse;
    return shape;
}

namespace {

QBrush brushOf(const Fill& fill)
{
    switch (fill.kind) {
    case Fill::Kind::None: return Qt::NoBrush;
    case Fill::Kind::Solid: return fill.color;
    case Fill::Kind::Linear: {
        QLinearGradient gradient(fill.start, fill.end);
        gradient.setStops(fill.stops);
        return gradient;
    }
    case Fill::Kind::Radial: {
        QRadialGradient gradient(fill.start, fill.radius);
        gradient.setStops(fill.stops);
        return gradient;
    }
    }
    return Qt::NoBrush;
}

QPen penOf(const Stroke& stroke)
{
    if (stroke.width <= 0) return Qt::NoPen;
    return QPen(stroke.color, stroke.width, Qt::SolidLine, stroke.cap, stroke.join);
}

}  // namespace

QRectF bounds(const Scene& scene)
{
    QRectF all;
    bool first = true;
    for (const Shape& shape : scene) {
        QRectF reach = shape.kind == Shape::Kind::Path ? shape.path.controlPointRect() : shape.rect;
        if (shape.stroke.width > 0) {
            // Flat caps and bevels stay within half the width of the line; a
            // square cap or a miter up to the limit of 2 reaches a width, a
            // miter that QPainter clips rather than bevels twice that.
            const double width = shape.stroke.width;
            double half = width / 2;
            if (shape.kind == Shape::Kind::Path) {
                if (shape.stroke.cap == Qt::SquareCap || shape.stroke.join == Qt::SvgMiterJoin) half = width;
                if (shape.stroke.join == Qt::MiterJoin) half = 2 * width;
            }
            reach.adjust(-half, -half, half, half);
        }
        all = first ? reach : all.united(reach);
        first = false;
    }
    return all;
}

void translate(Scene& scene, const QPointF& offset)
{
    for (Shape& shape : scene) {
        shape.path.translate(offset);
        shape.rect.translate(offset);
        shape.fill.start += offset;
        shape.fill.end += offset;
    }
}

void paint(QPainter& painter, const Scene& scene)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    for (const Shape& shape : scene) {
        painter.setPen(penOf(shape.stroke));
        painter.setBrush(brushOf(shape.fill));
        switch (shape.kind) {
        case Shape::Kind::Path: painter.drawPath(shape.path); break;
        case Shape::Kind::Rect: painter.drawRect(shape.rect); break;
        case Shape::Kind::RoundedRect: painter.drawRoundedRect(shape.rect, shape.radius, shape.radius); break;
        case Shape::Kind::Ellipse: painter.drawEllipse(shape.rect); break;
        }
    }
    painter.restore();
}

QByteArray svgNumber(double value)
{
    if (!std::isfinite(value) || std::abs(value) < 0.00005) return "0";
    QByteArray text = QByteArray::number(value, 'f', 4);
    while (text.endsWith('0')) text.chop(1);
    if (text.endsWith('.')) text.chop(1);
    return text == "-0" ? QByteArray("0") : text;
}

namespace {

QByteArray attribute(const char* name, const QByteArray& value) { return QByteArray(" ") + name + "=\"" + value + '"'; }

QByteArray attribute(const char* name, double value) { return attribute(name, svgNumber(value)); }

QByteArray colorName(const QColor& color) { return color.name(QColor::HexRgb).toLatin1(); }

// A stop that is fully transparent keeps the colour of its nearest visible
// neighbour: QPainter blends premultiplied colours, so a fade to transparent
// black must not darken on the way, whichever way an SVG viewer blends.
QColor stopColor(const QGradientStops& stops, qsizetype index)
{
    const QColor own = stops[index].second;
    if (own.alpha() != 0) return own;
    for (qsizetype distance = 1; distance < stops.size(); ++distance) {
        for (const qsizetype other : {index - distance, index + distance}) {
            if (other >= 0 && other < stops.size() && stops[other].second.alpha() != 0) {
                QColor colour = stops[other].second;
                colour.setAlpha(0);
                return colour;
            }
        }
    }
    return own;
}

QByteArray gradientDefinition(const Fill& fill, const QByteArray& id)
{
    QByteArray text;
    if (fill.kind == Fill::Kind::Linear) {
        text = "<linearGradient" + attribute("id", id) + attribute("gradientUnits", "userSpaceOnUse") +
               attribute("x1", fill.start.x()) + attribute("y1", fill.start.y()) + attribute("x2", fill.end.x()) +
               attribute("y2", fill.end.y()) + ">\n";
    } else {
        text = "<radialGradient" + attribute("id", id) + attribute("gradientUnits", "userSpaceOnUse") +
               attribute("cx", fill.start.x()) + attribute("cy", fill.start.y()) + attribute("r", fill.radius) + ">\n";
    }
    for (qsizetype i = 0; i < fill.stops.size(); ++i) {
        const QColor colour = stopColor(fill.stops, i);
        text += "  <stop" + attribute("offset", fill.stops[i].first) + attribute("stop-color", colorName(colour));
        if (colour.alpha() != 255) text += attribute("stop-opacity", colour.alphaF());
        text += "/>\n";
    }
    text += fill.kind == Fill::Kind::Linear ? "</linearGradient>\n" : "</radialGradient>\n";
    return text;
}

QByteArray capName(Qt::PenCapStyle cap)
{
    switch (cap) {
    case Qt::FlatCap: return "butt";
    case Qt::RoundCap: return "round";
    default: return "square";
    }
}

QByteArray joinName(Qt::PenJoinStyle join)
{
    switch (join) {
    case Qt::RoundJoin: return "round";
    case Qt::MiterJoin:
    case Qt::SvgMiterJoin: return "miter";
    default: return "bevel";
    }
}

QByteArray point(const QPointF& p) { return svgNumber(p.x()) + ' ' + svgNumber(p.y()); }

// QPainterPath keeps arcs as cubic curves and a closed subpath as one that
// ends where it began; the stroke then joins there instead of capping.
QByteArray pathData(const QPainterPath& path)
{
    QByteArray data;
    QPointF subpathStart;
    int subpathLength = 0;
    auto closeIfReturned = [&](const QPointF& last) {
        if (subpathLength > 2 && last == subpathStart) data += " Z";
    };
    QPointF last;
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element element = path.elementAt(i);
        const QPointF p(element.x, element.y);
        switch (element.type) {
        case QPainterPath::MoveToElement:
            closeIfReturned(last);
            if (!data.isEmpty()) data += ' ';
            data += "M " + point(p);
            subpathStart = p;
            subpathLength = 1;
            break;
        case QPainterPath::LineToElement:
            data += " L " + point(p);
            ++subpathLength;
            break;
        case QPainterPath::CurveToElement:
            if (i + 2 >= path.elementCount()) return data;
            data += " C " + point(p) + ' ' + point(path.elementAt(i + 1)) + ' ' + point(path.elementAt(i + 2));
            last = path.elementAt(i + 2);
            i += 2;
            subpathLength += 3;
            continue;
        case QPainterPath::CurveToDataElement: break;
        }
        last = p;
    }
    closeIfReturned(last);
    return data;
}

}  // namespace

QByteArray toSvg(const Scene& scene, int width, int height)
{
    QByteArray definitions;
    QByteArray body;
    int gradients = 0;
    for (const Shape& shape : scene) {
        QByteArray element;
        switch (shape.kind) {
        case Shape::Kind::Path:
            element = "<path" + attribute("d", pathData(shape.path));
            if (shape.fill.kind != Fill::Kind::None)
                element += attribute("fill-rule", shape.path.fillRule() == Qt::OddEvenFill ? "evenodd" : "nonzero");
            break;
        case Shape::Kind::Rect:
        case Shape::Kind::RoundedRect:
            element = "<rect" + attribute("x", shape.rect.x()) + attribute("y", shape.rect.y()) +
                      attribute("width", shape.rect.width()) + attribute("height", shape.rect.height());
            if (shape.kind == Shape::Kind::RoundedRect && shape.radius > 0)
                element += attribute("rx", shape.radius) + attribute("ry", shape.radius);
            break;
        case Shape::Kind::Ellipse: {
            const QPointF centre = shape.rect.center();
            const double rx = shape.rect.width() / 2;
            const double ry = shape.rect.height() / 2;
            if (svgNumber(rx) == svgNumber(ry))
                element = "<circle" + attribute("cx", centre.x()) + attribute("cy", centre.y()) + attribute("r", rx);
            else
                element = "<ellipse" + attribute("cx", centre.x()) + attribute("cy", centre.y()) + attribute("rx", rx) +
                          attribute("ry", ry);
            break;
        }
        }

        const Fill& fill = shape.fill;
        switch (fill.kind) {
        case Fill::Kind::None: element += attribute("fill", "none"); break;
        case Fill::Kind::Solid:
            element += attribute("fill", colorName(fill.color));
            if (fill.color.alpha() != 255) element += attribute("fill-opacity", fill.color.alphaF());
            break;
        case Fill::Kind::Linear:
        case Fill::Kind::Radial: {
            const QByteArray id = "paint" + QByteArray::number(gradients++);
            definitions += gradientDefinition(fill, id);
            element += attribute("fill", "url(#" + id + ")");
            break;
        }
        }

        const Stroke& stroke = shape.stroke;
        if (stroke.width > 0) {
            element += attribute("stroke", colorName(stroke.color));
            if (stroke.color.alpha() != 255) element += attribute("stroke-opacity", stroke.color.alphaF());
            element += attribute("stroke-width", stroke.width) + attribute("stroke-linecap", capName(stroke.cap)) +
                       attribute("stroke-linejoin", joinName(stroke.join));
            // QPainter's limit of 2 is SVG's for SvgMiterJoin. A plain MiterJoin
            // reaches as far before QPainter clips it, where SVG bevels instead.
            if (stroke.join == Qt::SvgMiterJoin) element += attribute("stroke-miterlimit", 2.0);
            if (stroke.join == Qt::MiterJoin) element += attribute("stroke-miterlimit", 4.0);
        }
        body += element + "/>\n";
    }

    QByteArray svg = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    svg += "<svg" + attribute("xmlns", "http://www.w3.org/2000/svg") + attribute("width", QByteArray::number(width)) +
           attribute("height", QByteArray::number(height)) +
           attribute("viewBox", "0 0 " + QByteArray::number(width) + ' ' + QByteArray::number(height)) + ">\n";
    if (!definitions.isEmpty()) svg += "<defs>\n" + definitions + "</defs>\n";
    svg += body + "</svg>\n";
    return svg;
}

}  // namespace pictures
