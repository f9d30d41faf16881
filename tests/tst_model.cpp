#include "area.h"
#include "colors.h"
#include "levelobject.h"
#include "levelwidget.h"
#include "rounding.h"

#include <QImage>
#include <QPainter>
#include <QtTest>

#include <limits>

namespace {

using namespace Colors;

constexpr int intMax = std::numeric_limits<int>::max();

QImage fieldImage()
{
    QImage image(200, 200, QImage::Format_RGB32);
    image.fill(field);
    return image;
}

// The ten-point frame of an 800 x 480 field.
const QPolygon frame({{-40, -40},
                      {840, -40},
                      {840, 520},
                      {-40, 520},
                      {-40, -40},
                      {20, 20},
                      {20, 460},
                      {780, 460},
                      {780, 20},
                      {20, 20}});

} // namespace

class TestModel : public QObject
{
    Q_OBJECT

private slots:
    void roundHalfUp_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("expected");
        QTest::newRow("positive half") << 2.5 << 3;
        QTest::newRow("negative half") << -17.5 << -17;
        QTest::newRow("minus one half") << -0.5 << 0;
        QTest::newRow("below negative half") << -17.6 << -18;
        QTest::newRow("below positive half") << 1.49 << 1;
        QTest::newRow("far beyond int") << 1e300 << intMax;
        QTest::newRow("far below int") << -1e300 << std::numeric_limits<int>::min();
        QTest::newRow("infinity") << std::numeric_limits<double>::infinity() << intMax;
    }

    void roundHalfUp()
    {
        QFETCH(double, value);
        QFETCH(int, expected);
        QCOMPARE(::roundHalfUp(value), expected);
        QCOMPARE(toPointHalfUp(QPointF(0, value)).y(), expected);
    }

    void midpoint_data()
    {
        QTest::addColumn<QPoint>("a");
        QTest::addColumn<QPoint>("b");
        QTest::addColumn<QPoint>("expected");
        QTest::newRow("odd sums") << QPoint(10, 10) << QPoint(41, 15) << QPoint(26, 13);
        QTest::newRow("negative half") << QPoint(5, 10) << QPoint(-40, 10) << QPoint(-17, 10);
        QTest::newRow("sum -3") << QPoint(-1, -3) << QPoint(-2, 0) << QPoint(-1, -1);
        QTest::newRow("no overflow") << QPoint(intMax, 0) << QPoint(intMax, 0) << QPoint(intMax, 0);
    }

    void midpoint()
    {
        QFETCH(QPoint, a);
        QFETCH(QPoint, b);
        QFETCH(QPoint, expected);
        QCOMPARE(midpointHalfUp(a, b), expected);
        QCOMPARE(midpointHalfUp(b, a), expected);
    }

    void distance_data()
    {
        QTest::addColumn<QPointF>("a");
        QTest::addColumn<QPointF>("b");
        QTest::addColumn<float>("expected");
        QTest::newRow("coincident") << QPointF(7, 7) << QPointF(7, 7) << 0.01f;
        QTest::newRow("3-4-5") << QPointF(1, 1) << QPointF(4, 5) << 5.0f;
        QTest::newRow("float") << QPointF(0, 0) << QPointF(1, 1) << float(std::sqrt(2.0));
    }

    void distance()
    {
        QFETCH(QPointF, a);
        QFETCH(QPointF, b);
        QFETCH(float, expected);
        QCOMPARE(LevelWidget::distance(a, b), expected);
    }

    void advanceAndStop()
    {
        LevelObject object(10, 20, LevelObject::BlueParticle);
        object.advance(0.0f, QPointF(3, 4));
        QCOMPARE(QPointF(object), QPointF(10, 20));
        QCOMPARE(object.acceleration, QPointF(3, 4));
        // p' = p + v dt + a dt^2 / 2 with the old v, then v' = v + a dt.
        object.advance(0.5f, QPointF(0, 100));
        QCOMPARE(QPointF(object), QPointF(10, 32.5));
        QCOMPARE(object.velocity, QPointF(0, 50));
        object.advance(0.5f, QPointF(0, 100));
        QCOMPARE(QPointF(object), QPointF(10, 70));
        QCOMPARE(object.velocity, QPointF(0, 100));

        object.stop();
        QCOMPARE(object.velocity, QPointF(0, 0));
        QCOMPARE(object.acceleration, QPointF(0, 0));
        object.moveTo(QPointF(0, 0));
        object.advance(1.0f, QPointF(5, 5));
        QCOMPARE(QPointF(object), QPointF(10, 70));
    }

    void copiesAreIndependent()
    {
        QList<LevelObject> objects{LevelObject(1, 2, LevelObject::RedWell)};
        QList<Area> areas{Area(Area::BlueGoal, frame)};
        const QList<LevelObject> objectCopies = objects;
        const QList<Area> areaCopies = areas;
        objects[0].advance(1.0f, QPointF(2, 0));
        objects[0].stop();
        objects[0].markPen.setWidth(9);
        areas[0].translate(5, 5);
        areas[0].redPen.setWidth(9);

        QCOMPARE(QPointF(objectCopies[0]), QPointF(1, 2));
        QCOMPARE(objectCopies[0].kind, LevelObject::RedWell);
        QVERIFY(!objectCopies[0].stopped);
        QCOMPARE(objectCopies[0].markPen.widthF(), 2.0);
        QCOMPARE(QPolygon(areaCopies[0]), frame);
        QCOMPARE(areaCopies[0].redPen.widthF(), 2.0);
    }

    void objectDrawing_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QRgb>("color");
        QTest::addColumn<int>("half");       // half the side of the square
        QTest::addColumn<QPoint>("markEnd"); // one end of the mark, from the centre
        QTest::newRow("red well") << LevelObject::RedWell << red << 12 << QPoint(0, 10);
        QTest::newRow("blue well") << LevelObject::BlueWell << blue << 12 << QPoint(10, 0);
        QTest::newRow("red particle") << LevelObject::RedParticle << red << 8 << QPoint(0, 6);
        QTest::newRow("blue particle") << LevelObject::BlueParticle << blue << 8 << QPoint(6, 0);
    }

    void objectDrawing()
    {
        QFETCH(int, kind);
        QFETCH(QRgb, color);
        QFETCH(int, half);
        QFETCH(QPoint, markEnd);
        QImage image = fieldImage();
        QPainter painter(&image);
        const LevelObject object(100, 100, kind);
        object.draw(&painter);
        QCOMPARE(painter.pen(), object.markPen);
        painter.end();

        const QPoint centre(100, 100);
        // Two opposite corners of the square, inside and just outside.
        for (const QPoint &corner : {QPoint(-half, -half), QPoint(half - 1, half - 1)}) {
            QCOMPARE(image.pixel(centre + corner), color);
            QCOMPARE(image.pixel(centre + corner * (half + 1) / half), field);
        }
        // The white mark runs from end to end along the kind's axis only.
        QCOMPARE(image.pixel(centre + markEnd), white);
        QCOMPARE(image.pixel(centre - markEnd), white);
        QCOMPARE(image.pixel(centre + QPoint(markEnd.y(), markEnd.x()) / 2), color);
    }

    void frameContainment_data()
    {
        QTest::addColumn<QPoint>("point");
        QTest::addColumn<bool>("inside");
        QTest::newRow("top left band") << QPoint(10, 10) << true;
        QTest::newRow("beyond the left edge") << QPoint(-30, 240) << true;
        QTest::newRow("bottom right band") << QPoint(790, 470) << true;
        QTest::newRow("middle of the field") << QPoint(400, 240) << false;
        QTest::newRow("just inside the field") << QPoint(21, 21) << false;
        QTest::newRow("beyond the outer edge") << QPoint(-50, 240) << false;
    }

    void frameContainment()
    {
        QFETCH(QPoint, point);
        QFETCH(bool, inside);
        QCOMPARE(Area(Area::Barrier, frame).containsPoint(point, Qt::OddEvenFill), inside);
    }

    void areaDrawing_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QRgb>("color");
        QTest::addColumn<Qt::BrushStyle>("style");
        QTest::addColumn<int>("slope"); // y step that follows a hatch line one pixel right
        QTest::newRow("red goal") << Area::RedGoal << red << Qt::FDiagPattern << 1;
        QTest::newRow("blue goal") << Area::BlueGoal << blue << Qt::BDiagPattern << -1;
        QTest::newRow("barrier") << Area::Barrier << grey << Qt::DiagCrossPattern << 0;
    }

    void areaDrawing()
    {
        QFETCH(int, kind);
        QFETCH(QRgb, color);
        QFETCH(Qt::BrushStyle, style);
        QFETCH(int, slope);
        QImage image = fieldImage();
        QPainter painter(&image);
        Area(kind, QPolygon(QRect(40, 40, 100, 100))).draw(&painter);
        // The area's pen and brush stay selected for what is drawn next.
        QCOMPARE(painter.pen().color().rgb(), color);
        QCOMPARE(painter.pen().widthF(), 2.0);
        QCOMPARE(painter.brush().style(), style);
        QCOMPARE(painter.brush().color().rgb(), color);
        painter.end();

        QCOMPARE(image.pixel(40, 90), color); // the outline
        int hatch = 0;
        for (int y = 60; y < 120; ++y) {
            for (int x = 60; x < 120; ++x) {
                const QRgb pixel = image.pixel(x, y);
                QVERIFY(pixel == color || pixel == field);
                if (pixel == field)
                    continue;
                ++hatch;
                // A single diagonal goes on in its own direction only.
                if (slope != 0) {
                    QCOMPARE(image.pixel(x + 1, y + slope), color);
                    QCOMPARE(image.pixel(x + 1, y - slope), field);
                }
            }
        }
        QVERIFY(hatch > 0 && hatch < 60 * 60 / 2);
    }
};

QTEST_MAIN(TestModel)
#include "tst_model.moc"
