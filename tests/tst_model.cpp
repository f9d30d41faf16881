#include "area.h"
#include "levelobject.h"
#include "levelwidget.h"
#include "rounding.h"

#include <QImage>
#include <QPainter>
#include <QtTest>

#include <limits>

namespace {

const QRgb field = qRgb(0, 32, 64);
const QRgb red = qRgb(255, 64, 64);
const QRgb blue = qRgb(128, 128, 255);
const QRgb grey = qRgb(128, 128, 128);
const QRgb white = qRgb(255, 255, 255);

QImage fieldImage()
{
    QImage image(200, 200, QImage::Format_RGB32);
    image.fill(field);
    return image;
}

// The ten-point frame of an 800 x 480 field.
QPolygon frame()
{
    return QPolygon({{-40, -40},
                     {840, -40},
                     {840, 520},
                     {-40, 520},
                     {-40, -40},
                     {20, 20},
                     {20, 460},
                     {780, 460},
                     {780, 20},
                     {20, 20}});
}

} // namespace

class TestModel : public QObject
{
    Q_OBJECT

private slots:
    void roundHalfUp_data();
    void roundHalfUp();
    void midpoint_data();
    void midpoint();
    void distance_data();
    void distance();
    void advance();
    void stopFreezes();
    void copiesAreIndependent();
    void objectDrawing_data();
    void objectDrawing();
    void frameContainment_data();
    void frameContainment();
    void areaHatching_data();
    void areaHatching();
    void areaLeavesPenAndBrush();
};

void TestModel::roundHalfUp_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("expected");
    QTest::newRow("positive half") << 2.5 << 3;
    QTest::newRow("negative half") << -17.5 << -17;
    QTest::newRow("minus one half") << -0.5 << 0;
    QTest::newRow("below negative half") << -17.6 << -18;
    QTest::newRow("above negative half") << -17.4 << -17;
    QTest::newRow("below positive half") << 1.49 << 1;
    QTest::newRow("far beyond int") << 1e300 << std::numeric_limits<int>::max();
    QTest::newRow("far below int") << -1e300 << std::numeric_limits<int>::min();
    QTest::newRow("infinity") << std::numeric_limits<double>::infinity()
                              << std::numeric_limits<int>::max();
}

void TestModel::roundHalfUp()
{
    QFETCH(double, value);
    QFETCH(int, expected);
    QCOMPARE(::roundHalfUp(value), expected);
    QCOMPARE(toPointHalfUp(QPointF(value, -value)).x(), expected);
}

void TestModel::midpoint_data()
{
    QTest::addColumn<QPoint>("a");
    QTest::addColumn<QPoint>("b");
    QTest::addColumn<QPoint>("expected");
    QTest::newRow("odd sums") << QPoint(10, 10) << QPoint(41, 15) << QPoint(26, 13);
    QTest::newRow("negative half") << QPoint(5, 10) << QPoint(-40, 10) << QPoint(-17, 10);
    QTest::newRow("sum -3") << QPoint(-1, -3) << QPoint(-2, 0) << QPoint(-1, -1);
    QTest::newRow("no int overflow")
        << QPoint(std::numeric_limits<int>::max(), 0) << QPoint(std::numeric_limits<int>::max(), 0)
        << QPoint(std::numeric_limits<int>::max(), 0);
}

void TestModel::midpoint()
{
    QFETCH(QPoint, a);
    QFETCH(QPoint, b);
    QFETCH(QPoint, expected);
    QCOMPARE(midpointHalfUp(a, b), expected);
    QCOMPARE(midpointHalfUp(b, a), expected);
}

void TestModel::distance_data()
{
    QTest::addColumn<QPointF>("a");
    QTest::addColumn<QPointF>("b");
    QTest::addColumn<float>("expected");
    QTest::newRow("coincident") << QPointF(7, 7) << QPointF(7, 7) << 0.01f;
    QTest::newRow("3-4-5") << QPointF(1, 1) << QPointF(4, 5) << 5.0f;
    QTest::newRow("single precision") << QPointF(0, 0) << QPointF(1, 1) << float(std::sqrt(2.0));
}

void TestModel::distance()
{
    QFETCH(QPointF, a);
    QFETCH(QPointF, b);
    QFETCH(float, expected);
    QCOMPARE(LevelWidget::distance(a, b), expected);
}

void TestModel::advance()
{
    LevelObject object(10, 20, LevelObject::BlueParticle);
    object.advance(0.0f, QPointF(3, 4));
    QCOMPARE(QPointF(object), QPointF(10, 20));
    QCOMPARE(object.velocity, QPointF(0, 0));
    QCOMPARE(object.acceleration, QPointF(3, 4));

    object.advance(0.5f, QPointF(0, 100));
    QCOMPARE(QPointF(object), QPointF(10, 32.5));
    QCOMPARE(object.velocity, QPointF(0, 50));
    object.advance(0.5f, QPointF(0, 100));
    QCOMPARE(QPointF(object), QPointF(10, 70));
    QCOMPARE(object.velocity, QPointF(0, 100));
    QCOMPARE(object.acceleration, QPointF(0, 100));
}

void TestModel::stopFreezes()
{
    LevelObject object(10, 20, LevelObject::RedParticle);
    object.advance(1.0f, QPointF(2, 2));
    object.stop();
    const QPointF at = object;
    QCOMPARE(object.velocity, QPointF(0, 0));
    QCOMPARE(object.acceleration, QPointF(0, 0));
    object.moveTo(QPointF(0, 0));
    object.advance(1.0f, QPointF(5, 5));
    object.stop();
    QCOMPARE(QPointF(object), at);
    QVERIFY(object.stopped);
}

void TestModel::copiesAreIndependent()
{
    QList<LevelObject> objects{LevelObject(1, 2, LevelObject::RedWell)};
    QList<Area> areas{Area(Area::BlueGoal, frame())};
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
    QCOMPARE(QPolygon(areaCopies[0]), frame());
    QCOMPARE(areaCopies[0].kind, Area::BlueGoal);
    QCOMPARE(areaCopies[0].redPen.widthF(), 2.0);
}

void TestModel::objectDrawing_data()
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

void TestModel::objectDrawing()
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
    const QPoint across(markEnd.y() ? 4 : 0, markEnd.x() ? 4 : 0);
    // The square's corners, inside and just outside.
    for (const QPoint &corner : {QPoint(-half, -half), QPoint(half - 1, half - 1)}) {
        QCOMPARE(image.pixel(centre + corner), color);
        QCOMPARE(image.pixel(centre + corner * (half + 1) / half), field);
    }
    // The white mark runs from one end to the other, along the kind's axis.
    QCOMPARE(image.pixel(centre + markEnd), white);
    QCOMPARE(image.pixel(centre - markEnd), white);
    QCOMPARE(image.pixel(centre + across), color);
}

void TestModel::frameContainment_data()
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

void TestModel::frameContainment()
{
    QFETCH(QPoint, point);
    QFETCH(bool, inside);
    QCOMPARE(Area(Area::Barrier, frame()).containsPoint(point, Qt::OddEvenFill), inside);
}

void TestModel::areaHatching_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QRgb>("color");
    QTest::addColumn<int>("slope"); // step in y that follows a hatch line one step right
    QTest::newRow("red goal") << Area::RedGoal << red << 1;
    QTest::newRow("blue goal") << Area::BlueGoal << blue << -1;
    QTest::newRow("barrier") << Area::Barrier << grey << 0;
}

void TestModel::areaHatching()
{
    QFETCH(int, kind);
    QFETCH(QRgb, color);
    QFETCH(int, slope);
    QImage image = fieldImage();
    QPainter painter(&image);
    Area(kind, QPolygon(QRect(40, 40, 100, 100))).draw(&painter);
    painter.end();

    QCOMPARE(image.pixel(40, 90), color); // outline
    int hatch = 0;
    int gaps = 0;
    for (int y = 60; y < 120; ++y) {
        for (int x = 60; x < 120; ++x) {
            const QRgb pixel = image.pixel(x, y);
            QVERIFY(pixel == color || pixel == field);
            if (pixel == field) {
                ++gaps;
                continue;
            }
            ++hatch;
            // A single diagonal continues in its own direction only; the
            // cross hatch in both.
            if (slope != 0) {
                QCOMPARE(image.pixel(x + 1, y + slope), color);
                QCOMPARE(image.pixel(x + 1, y - slope), field);
            } else {
                QCOMPARE(image.pixel(x + 1, y + 1) == color || image.pixel(x + 1, y - 1) == color,
                         true);
            }
        }
    }
    QVERIFY(hatch > 0);
    QVERIFY(gaps > hatch);
}

void TestModel::areaLeavesPenAndBrush()
{
    QImage image = fieldImage();
    QPainter painter(&image);
    const Area barrier(Area::Barrier, frame());
    barrier.draw(&painter);
    QCOMPARE(painter.pen(), barrier.greyPen);
    QCOMPARE(painter.pen().widthF(), 2.0);
    QCOMPARE(painter.brush().style(), Qt::DiagCrossPattern);
    QCOMPARE(painter.brush().color().rgb(), grey);
}

QTEST_MAIN(TestModel)
#include "tst_model.moc"
