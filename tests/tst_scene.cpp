#include "levelwidget.h"
#include "levelwidgetprobe.h"

#include <QtTest>

namespace {

const QRgb field = qRgb(0, 32, 64);
const QRgb red = qRgb(255, 64, 64);
const QRgb blue = qRgb(128, 128, 255);
const QRgb grey = qRgb(128, 128, 128);
const QRgb white = qRgb(255, 255, 255);
const QRgb yellow = qRgb(255, 255, 0);
const QRgb green = qRgb(0, 255, 0);
const QRgb cyan = qRgb(0, 255, 255);

const char *const frameText = "2:-40,-40 840,-40 840,520 -40,520 -40,-40 "
                              "20,20 20,460 780,460 780,20 20,20";

QString describe(const QList<LevelObject> &objects)
{
    QStringList parts;
    for (const LevelObject &o : objects)
        parts << QStringLiteral("%1@%2,%3").arg(o.kind).arg(o.x()).arg(o.y());
    return parts.join(' ');
}

QString describe(const QList<Area> &areas)
{
    QStringList parts;
    for (const Area &area : areas) {
        QStringList points;
        for (const QPoint &p : area)
            points << QStringLiteral("%1,%2").arg(p.x()).arg(p.y());
        parts << QStringLiteral("%1:%2").arg(area.kind).arg(points.join(' '));
    }
    return parts.join('|');
}

int count(const QImage &image, const QRect &rect, QRgb color)
{
    int n = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x)
            n += image.pixel(x, y) == color;
    return n;
}

// Height of the run of rows, from the first to the last, that hold colour.
int rowSpan(const QImage &image, const QRect &rect, QRgb color)
{
    int first = -1;
    int last = -1;
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
        if (count(image, QRect(rect.left(), y, rect.width(), 1), color) > 0) {
            first = first < 0 ? y : first;
            last = y;
        }
    }
    return first < 0 ? 0 : last - first + 1;
}

QImage scene(LevelWidget &widget)
{
    return widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

} // namespace

class TestScene : public QObject
{
    Q_OBJECT

private slots:
    void levels_data();
    void levels();
    void painting_data();
    void painting();
    void preview_data();
    void preview();
    void setStatePaintsAtOnce();
};

void TestScene::levels_data()
{
    QTest::addColumn<int>("level");
    QTest::addColumn<QString>("particles");
    QTest::addColumn<QString>("areas");
    QTest::newRow("1") << 1 << "3@300,240 3@500,240"
                       << "1:40,80 60,80 60,400 40,400|1:740,80 760,80 760,400 740,400";
    QTest::newRow("2") << 2 << "2@300,240 2@500,240"
                       << "0:40,40 100,40 40,200|0:700,40 760,40 760,200";
    QTest::newRow("3") << 3 << "2@60,420 2@740,420 3@400,240"
                       << "2:20,40 300,280 20,380|2:780,40 500,280 780,380|"
                          "0:200,20 600,20 400,100|1:200,460 400,380 600,460";
    QTest::newRow("0") << 0 << ""
                       << "";
    QTest::newRow("4") << 4 << ""
                       << "";
    QTest::newRow("-1") << -1 << ""
                        << "";
}

void TestScene::levels()
{
    QFETCH(int, level);
    QFETCH(QString, particles);
    QFETCH(QString, areas);
    LevelWidget widget;
    LevelWidgetProbe game(widget);
    game.state() = LevelWidget::Failed;
    game.elapsed() = 990;
    game.wells() << LevelObject(5, 5, LevelObject::BlueWell);
    widget.loadLevel(level);

    QCOMPARE(game.level(), level);
    QCOMPARE(game.state(), LevelWidget::Ready);
    QCOMPARE(game.elapsed(), 0);
    QVERIFY(game.wells().isEmpty());
    QCOMPARE(describe(game.particles()), particles);
    QCOMPARE(describe(game.areas()),
             areas.isEmpty() ? QString(frameText) : areas + '|' + frameText);
    QCOMPARE(game.remaining(), game.particles().size());
    for (const LevelObject &particle : game.particles()) {
        QVERIFY(!particle.stopped);
        QCOMPARE(particle.velocity, QPointF(0, 0));
        for (const Area &area : game.areas())
            QVERIFY(!area.containsPoint(particle.toPoint(), Qt::OddEvenFill));
    }
}

void TestScene::painting_data()
{
    QTest::addColumn<int>("level");
    QTest::addColumn<int>("state");
    QTest::addColumn<int>("tipLines");
    QTest::addColumn<QRgb>("statusColor");
    const struct
    {
        int state;
        const char *name;
        int tipLines;
    } states[] = {{LevelWidget::Ready, "ready", 4},
                  {LevelWidget::Running, "running", 0},
                  {LevelWidget::Failed, "failed", 2},
                  {LevelWidget::Passed, "passed", 3}};
    for (int level = 1; level <= 3; ++level) {
        for (const auto &s : states) {
            QTest::addRow("level %d %s", level, s.name) << level << s.state << s.tipLines << white;
        }
    }
    // Without objects the status line keeps the frame's grey pen.
    QTest::newRow("empty field ready") << 4 << int(LevelWidget::Ready) << 4 << grey;
}

void TestScene::painting()
{
    QFETCH(int, level);
    QFETCH(int, state);
    QFETCH(int, tipLines);
    QFETCH(QRgb, statusColor);
    LevelWidget widget;
    LevelWidgetProbe game(widget);
    widget.loadLevel(level);
    game.state() = state;
    game.elapsed() = state == LevelWidget::Ready ? 0 : 1230;
    const QImage image = scene(widget);

    QCOMPARE(image.size(), QSize(800, 480));
    QCOMPARE(image.pixel(400, 330), field);
    // The frame: grey hatching over the field along every edge.
    for (const QRect &band : {QRect(0, 200, 18, 60), QRect(300, 462, 60, 18)}) {
        QVERIFY(count(image, band, grey) > 0);
        QVERIFY(count(image, band, field) > 0);
        QCOMPARE(count(image, band, grey) + count(image, band, field),
                 band.width() * band.height());
    }
    for (const LevelObject &p : game.particles()) {
        const QPoint at = p.toPoint();
        const QRgb color = p.kind == LevelObject::RedParticle ? red : blue;
        QCOMPARE(image.pixel(at + QPoint(-7, -7)), color);
        QCOMPARE(image.pixel(at + QPoint(7, 7)), color);
        const QPoint mark = p.kind == LevelObject::RedParticle ? QPoint(0, 5) : QPoint(5, 0);
        QCOMPARE(image.pixel(at + mark), white);
        QCOMPARE(image.pixel(at - mark), white);
    }
    for (const Area &area : game.areas().mid(0, game.areas().size() - 1)) {
        const QRgb hatch = area.kind == Area::RedGoal    ? red
                           : area.kind == Area::BlueGoal ? blue
                                                         : grey;
        const QRect inner = area.boundingRect().adjusted(3, 3, -3, -3);
        QVERIFY(count(image, inner, hatch) > 0);
        QVERIFY(count(image, inner, field) > 0);
    }

    const QRect statusBand(100, 110, 600, 60);
    QCOMPARE(count(image, statusBand, statusColor) > 0, state != LevelWidget::Running);
    const int span = rowSpan(image, QRect(0, 0, 800, 150), yellow);
    if (tipLines == 0) {
        QCOMPARE(span, 0);
    } else {
        QVERIFY2(span >= (tipLines - 1) * 15 + 8 && span <= tipLines * 22,
                 qPrintable(QStringLiteral("tip block %1 px high").arg(span)));
    }
    // The time stands in the bottom right corner, in every state.
    QVERIFY(count(image, QRect(600, 430, 200, 50), yellow) > 0);
    QCOMPARE(count(image, QRect(0, 430, 400, 50), yellow), 0);
}

void TestScene::preview_data()
{
    QTest::addColumn<QPoint>("press");
    QTest::addColumn<QPoint>("cursor");
    QTest::addColumn<QPoint>("well");
    QTest::addColumn<QRgb>("under"); // what covers the preview, if anything
    QTest::newRow("open field") << QPoint(200, 300) << QPoint(261, 300) << QPoint(231, 300)
                                << field;
    QTest::newRow("under a goal") << QPoint(50, 100) << QPoint(50, 301) << QPoint(50, 201) << blue;
}

void TestScene::preview()
{
    QFETCH(QPoint, press);
    QFETCH(QPoint, cursor);
    QFETCH(QPoint, well);
    QFETCH(QRgb, under);
    LevelWidget widget;
    LevelWidgetProbe game(widget);
    QTest::mousePress(&widget, Qt::LeftButton, {}, press);
    QTest::mouseMove(&widget, cursor);
    QCOMPARE(game.wellPos(), well);
    const QImage image = scene(widget);

    const QRect square(well - QPoint(2, 2), QSize(5, 5));
    const QRect around = square.adjusted(-1, -1, 1, 1);
    QCOMPARE(count(image, around, cyan), count(image, square, cyan));
    // Where the line runs, a one-pixel green line; both lie under an area.
    const bool horizontal = press.y() == cursor.y();
    const QPoint probe =
        horizontal ? QPoint(press.x() + 8, press.y()) : QPoint(press.x(), press.y() + 40);
    const QRect across = horizontal ? QRect(probe - QPoint(0, 3), QSize(1, 7))
                                    : QRect(probe - QPoint(3, 0), QSize(7, 1));
    if (under == field) {
        QCOMPARE(count(image, square, cyan), 25);
        QCOMPARE(count(image, across, green), 1);
        QCOMPARE(image.pixel(probe), green);
    } else {
        QVERIFY(count(image, square, cyan) > 0);
        QVERIFY(count(image, square, under) > 0);
        const QRect along =
            horizontal ? QRect(press, QSize(40, 1)) : QRect(press + QPoint(0, 10), QSize(1, 80));
        QVERIFY(count(image, along, green) > 0);
        QVERIFY(count(image, along, under) > 0);
    }
}

void TestScene::setStatePaintsAtOnce()
{
    LevelWidget widget;
    LevelWidgetProbe game(widget);
    widget.show();
    QVERIFY(QTest::qWaitForWindowExposed(&widget));
    QList<int> paintedStates;
    struct Filter : QObject
    {
        std::function<void()> onPaint;
        bool eventFilter(QObject *, QEvent *event) override
        {
            if (event->type() == QEvent::Paint)
                onPaint();
            return false;
        }
    } filter;
    filter.onPaint = [&] { paintedStates << game.state(); };
    widget.installEventFilter(&filter);
    game.setState(LevelWidget::Passed);
    QCOMPARE(paintedStates, QList<int>({LevelWidget::Passed}));
}

QTEST_MAIN(TestScene)
#include "tst_scene.moc"
