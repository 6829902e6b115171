// The desktop icon's SVG and the editor's own icon are one drawing: where the SVG fills or
// outlines a polygon, the raster icon shows that colour, and it is transparent around them.
#include <gtest/gtest.h>

#include <QColor>
#include <QPolygonF>
#include <QXmlStreamReader>
#include <optional>
#include <vector>

#include "app/AppArt.h"

namespace trellisor::test {
namespace {

struct SvgPolygon {
    QPolygonF points;
    QColor fill;
    QColor stroke;  // invalid without an outline
};

std::vector<SvgPolygon> svgPolygons(const QByteArray& svg, QString& viewBox) {
    std::vector<SvgPolygon> polygons;
    QXmlStreamReader xml(svg);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement) continue;
        const auto attributes = xml.attributes();
        if (xml.name() == u"svg") viewBox = attributes.value(QStringLiteral("viewBox")).toString();
        if (xml.name() != u"polygon") continue;
        SvgPolygon polygon{{},
                           QColor(attributes.value(QStringLiteral("fill")).toString()),
                           QColor(attributes.value(QStringLiteral("stroke")).toString())};
        for (const QString& pair : attributes.value(QStringLiteral("points")).toString().split(u' ')) {
            const QStringList xy = pair.split(u',');
            polygon.points << QPointF(xy.value(0).toDouble(), xy.value(1).toDouble());
        }
        polygons.push_back(polygon);
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    return polygons;
}

// A point inside polygon i that no polygon drawn after it covers: its centre, or else halfway
// from the centre to one of its corners.
std::optional<QPointF> visiblePoint(const std::vector<SvgPolygon>& polygons, std::size_t i) {
    const QPolygonF& own = polygons[i].points;
    QPointF centre;
    for (const QPointF& p : own) centre += p / qreal(own.size());
    std::vector<QPointF> candidates{centre};
    for (const QPointF& corner : own) candidates.push_back((centre + corner) / 2);
    for (const QPointF& c : candidates) {
        bool covered = false;
        for (std::size_t later = i + 1; later < polygons.size(); ++later)
            covered = covered || polygons[later].points.containsPoint(c, Qt::OddEvenFill);
        if (!covered) return c;
    }
    return std::nullopt;
}

// The middle of each edge of polygon i that no later polygon reaches (outlines share one
// colour, so only later fills, grown by a margin for antialiasing, hide an outline).
std::vector<QPointF> visibleEdgeMiddles(const std::vector<SvgPolygon>& polygons, std::size_t i) {
    std::vector<QPointF> middles;
    const QPolygonF& own = polygons[i].points;
    for (qsizetype k = 0; k < own.size(); ++k) {
        const QPointF middle = (own[k] + own[(k + 1) % own.size()]) / 2;
        bool hidden = false;
        for (std::size_t later = i + 1; later < polygons.size(); ++later) {
            if (polygons[later].stroke.isValid()) continue;
            for (const QPointF near :
                 {QPointF(0, 0), QPointF(2, 0), QPointF(-2, 0), QPointF(0, 2), QPointF(0, -2)})
                hidden = hidden || polygons[later].points.containsPoint(middle + near, Qt::OddEvenFill);
        }
        if (!hidden) middles.push_back(middle);
    }
    return middles;
}

TEST(AppArt, ScalableIconDrawsWhatTheRasterIconShows) {
    constexpr int kSize = 256;
    const QImage raster = pathTileImage(kSize);
    QString viewBox;
    const auto polygons = svgPolygons(pathTileSvg(kSize), viewBox);
    EXPECT_EQ(viewBox, QStringLiteral("0 0 256 256"));
    ASSERT_EQ(polygons.size(), 4u);  // the tile's two sides, its top and the path band
    for (std::size_t i = 0; i < polygons.size(); ++i) {
        const auto point = visiblePoint(polygons, i);
        ASSERT_TRUE(point) << "polygon " << i << " is hidden";
        EXPECT_EQ(raster.pixelColor(point->toPoint()).rgb(), polygons[i].fill.rgb())
            << "polygon " << i << " at " << point->x() << "," << point->y();
        if (!polygons[i].stroke.isValid()) continue;
        const auto middles = visibleEdgeMiddles(polygons, i);
        EXPECT_FALSE(middles.empty()) << "polygon " << i << " shows no outline";
        for (const QPointF& m : middles)
            EXPECT_EQ(raster.pixelColor(m.toPoint()).rgb(), polygons[i].stroke.rgb())
                << "outline of polygon " << i << " at " << m.x() << "," << m.y();
    }
    for (const QPoint corner :
         {QPoint(0, 0), QPoint(kSize - 1, 0), QPoint(0, kSize - 1), QPoint(kSize - 1, kSize - 1)})
        EXPECT_EQ(raster.pixelColor(corner).alpha(), 0) << "the SVG has no background";
}

}  // namespace
}  // namespace trellisor::test
