// The desktop icons as the build leaves them, read back as a file manager or
// a menu would read them.

#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QRegularExpression>
#include <QSet>
#include <QXmlStreamReader>

#include <algorithm>

namespace {

const QString themeFolder = QStringLiteral(TARVEX_ICON_THEME_DIR);
const char* const icons[] = {"apps/sealwin", "apps/unsealwin", "mimetypes/application-x-tarvex-batch"};
const int sizes[] = {16, 22, 24, 32, 48, 64, 128, 256};

QString pngPath(const QString& icon, int size)
{
    return themeFolder + QStringLiteral("/%1x%1/").arg(size) + icon + ".png";
}
QString svgPath(const QString& icon) { return themeFolder + "/scalable/" + icon + ".svg"; }

QImage loadPng(const QString& path) { return QImage(path).convertToFormat(QImage::Format_ARGB32); }

// The box of the pixels that are not fully transparent.
QRect drawnBox(const QImage& image)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) != 0) box |= QRect(x, y, 1, 1);
    return box;
}

struct Svg {
    QString error;
    QString rootName;
    QString rootNamespace;
    QString width;
    QString height;
    QString viewBox;
    int drawings = 0;
    QSet<QString> ids;
    QStringList references;
    QRectF reach;  // of every drawing, outlines included
};

QList<double> numbers(const QString& text)
{
    static const QRegularExpression number(QStringLiteral("[-+]?(?:\\d+\\.?\\d*|\\.\\d+)(?:[eE][-+]?\\d+)?"));
    QList<double> values;
    for (const QRegularExpressionMatch& match : number.globalMatch(text)) values.append(match.captured().toDouble());
    return values;
}

Svg readSvg(const QString& path)
{
    Svg svg;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        svg.error = "cannot open";
        return svg;
    }
    static const QSet<QString> drawingNames{"path", "rect", "circle", "ellipse", "line", "polyline", "polygon"};
    QXmlStreamReader xml(&file);
    bool first = true;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement) continue;
        const QXmlStreamAttributes a = xml.attributes();
        const QString name = xml.name().toString();
        if (first) {
            svg.rootName = name;
            svg.rootNamespace = xml.namespaceUri().toString();
            svg.width = a.value("width").toString();
            svg.height = a.value("height").toString();
            svg.viewBox = a.value("viewBox").toString();
            first = false;
        }
        if (a.hasAttribute("id")) svg.ids.insert(a.value("id").toString());
        for (const char* paint : {"fill", "stroke"}) {
            const QString value = a.value(paint).toString();
            if (value.startsWith("url(#")) svg.references.append(value.mid(5).chopped(1));
        }
        if (!drawingNames.contains(name)) continue;
        ++svg.drawings;
        QRectF reach;
        const auto number = [&](const char* attribute) { return a.value(attribute).toDouble(); };
        if (name == "rect") {
            reach = QRectF(number("x"), number("y"), number("width"), number("height"));
        } else if (name == "circle") {
            const double r = number("r");
            reach = QRectF(number("cx") - r, number("cy") - r, 2 * r, 2 * r);
        } else if (name == "ellipse") {
            reach =
                QRectF(number("cx") - number("rx"), number("cy") - number("ry"), 2 * number("rx"), 2 * number("ry"));
        } else if (name == "path") {
            // Absolute commands only, so the numbers pair up into points.
            const QList<double> values = numbers(a.value("d").toString());
            if (values.size() < 2) continue;
            QPointF low(values[0], values[1]), high = low;
            for (qsizetype i = 2; i + 1 < values.size(); i += 2) {
                low = QPointF(std::min(low.x(), values[i]), std::min(low.y(), values[i + 1]));
                high = QPointF(std::max(high.x(), values[i]), std::max(high.y(), values[i + 1]));
            }
            reach = QRectF(low, high);
        }
        const QString stroke = a.value("stroke").toString();
        if (!stroke.isEmpty() && stroke != "none") {
            const double half = number("stroke-width") / 2;
            reach.adjust(-half, -half, half, half);
        }
        svg.reach = svg.drawings == 1 ? reach : svg.reach.united(reach);
    }
    if (xml.hasError()) svg.error = xml.errorString();
    return svg;
}

// The icon's average leaning towards blue (positive) or green (negative).
double blueOverGreen(const QImage& image)
{
    double lean = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            lean += (qBlue(p) - qGreen(p)) * qAlpha(p) / 255.0;
        }
    return lean / (image.width() * image.height());
}

TEST(DesktopIconFiles, EveryIconIsThereAtEverySizeAndScalable)
{
    for (const char* icon : icons) {
        for (const int size : sizes)
            EXPECT_TRUE(QFileInfo(pngPath(icon, size)).isFile()) << pngPath(icon, size).toStdString();
        EXPECT_TRUE(QFileInfo(svgPath(icon)).isFile()) << svgPath(icon).toStdString();
    }
}

TEST(DesktopIconFiles, PngsHaveTheirSizeAndAShapeOnATransparentBackground)
{
    for (const char* icon : icons) {
        for (const int size : sizes) {
            SCOPED_TRACE(pngPath(icon, size).toStdString());
            const QImage image = loadPng(pngPath(icon, size));
            ASSERT_FALSE(image.isNull());
            EXPECT_EQ(image.size(), QSize(size, size));
            int transparent = 0, opaque = 0;
            for (int y = 0; y < size; ++y)
                for (int x = 0; x < size; ++x) {
                    const int alpha = qAlpha(image.pixel(x, y));
                    transparent += alpha == 0;
                    opaque += alpha == 255;
                }
            EXPECT_GT(transparent, 0);
            EXPECT_GT(opaque, 0);
            // Solid enough to be seen: a shape, not a haze.
            EXPECT_GT(opaque, size * size / 6);
        }
    }
}

TEST(DesktopIconFiles, NoPngIsCutOffAtItsEdge)
{
    for (const char* icon : icons) {
        for (const int size : sizes) {
            SCOPED_TRACE(pngPath(icon, size).toStdString());
            const QImage image = loadPng(pngPath(icon, size));
            ASSERT_FALSE(image.isNull());
            EXPECT_TRUE(QRect(1, 1, size - 2, size - 2).contains(drawnBox(image)));
        }
    }
}

TEST(DesktopIconFiles, SvgsAreWellFormedWithAViewBoxAndDrawings)
{
    for (const char* icon : icons) {
        SCOPED_TRACE(svgPath(icon).toStdString());
        const Svg svg = readSvg(svgPath(icon));
        ASSERT_TRUE(svg.error.isEmpty()) << svg.error.toStdString();
        EXPECT_EQ(svg.rootName, "svg");
        EXPECT_EQ(svg.rootNamespace, "http://www.w3.org/2000/svg");
        const QList<double> viewBox = numbers(svg.viewBox);
        ASSERT_EQ(viewBox.size(), 4);
        EXPECT_GT(viewBox[2], 0);
        EXPECT_GT(viewBox[3], 0);
        EXPECT_GT(svg.width.toDouble(), 0);
        EXPECT_GT(svg.height.toDouble(), 0);
        EXPECT_GE(svg.drawings, 3);
        for (const QString& reference : svg.references)
            EXPECT_TRUE(svg.ids.contains(reference)) << "undefined paint " << reference.toStdString();
    }
}

// The scalable icon and the largest PNG come from one geometry: they cover
// the same part of the square, give or take the PNG's pixel snapping.
TEST(DesktopIconFiles, ScalableIconCoversWhatTheLargestPngCovers)
{
    for (const char* icon : icons) {
        SCOPED_TRACE(icon);
        const Svg svg = readSvg(svgPath(icon));
        const QList<double> viewBox = numbers(svg.viewBox);
        ASSERT_EQ(viewBox.size(), 4);
        const QImage image = loadPng(pngPath(icon, 256));
        ASSERT_FALSE(image.isNull());
        const double scale = 256 / viewBox[2];
        const QRectF reach(svg.reach.x() * scale, svg.reach.y() * scale, svg.reach.width() * scale,
                           svg.reach.height() * scale);
        const QRectF drawn = drawnBox(image).toRectF();
        EXPECT_NEAR(reach.left(), drawn.left(), 2.5);
        EXPECT_NEAR(reach.top(), drawn.top(), 2.5);
        EXPECT_NEAR(reach.right(), drawn.right(), 2.5);
        EXPECT_NEAR(reach.bottom(), drawn.bottom(), 2.5);
    }
}

TEST(DesktopIconFiles, SealwinIsBlueAndUnsealwinGreenAtEverySize)
{
    for (const int size : sizes) {
        SCOPED_TRACE(size);
        const QImage seal = loadPng(pngPath("apps/sealwin", size));
        const QImage unseal = loadPng(pngPath("apps/unsealwin", size));
        ASSERT_FALSE(seal.isNull());
        ASSERT_FALSE(unseal.isNull());
        EXPECT_NE(seal, unseal);
        EXPECT_GT(blueOverGreen(seal), 5);
        EXPECT_LT(blueOverGreen(unseal), -5);
    }
    QFile seal(svgPath("apps/sealwin"));
    QFile unseal(svgPath("apps/unsealwin"));
    ASSERT_TRUE(seal.open(QIODevice::ReadOnly));
    ASSERT_TRUE(unseal.open(QIODevice::ReadOnly));
    EXPECT_NE(seal.readAll(), unseal.readAll());
}

}  // namespace
