#include "colors.h"
#include "levelwidget.h"
#include "levelwidgetprobe.h"

#include <QtTest>

namespace {

using namespace Colors;

const QString frameText = "2:-40,-40 840,-40 840,520 -40,520 -40,-40 "
                          "20,20 20,460 780,460 780,20 20,20";

QString describe(const LevelObject &o)
{
    return QStringLiteral("%1@%2,%3").arg(o.kind).arg(o.x()).arg(o.y());
}

QString describe(const Area &area)
{
    QStringList points;
    for (const QPoint &p : area)
        points << QStringLiteral("%1,%2").arg(p.x()).arg(p.y());
    return QStringLiteral("%1:%2").arg(area.kind).arg(points.join(' '));
}

template <typename T> QString describe(const QList<T> &items, char separator)
{
    QStringList parts;
    for (const T &item : items)
        parts << describe(item);
    return parts.join(separator);
}

int count(const QImage &image, const QRect &rect, QRgb color)
{
    int n = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x)
            n += image.pixel(x, y) == color;
    return n;
}

// The height of the band of rows, first to last, that hold the colour.
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

// Records the game state at every paint of the widget.
struct PaintSpy : QObject
{
    LevelWidgetProbe game;
    QList<int> states;
    explicit PaintSpy(LevelWidget &widget)
        : game(widget)
    {
        widget.installEventFilter(this);
    }
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            states << game.state();
        return false;
    }
};

} // namespace

class TestScene : public QObject
{
    Q_OBJECT

private slots:
    void levels_data()
    {
        QTest::addColumn<int>("level");
        QTest::addColumn<QString>("particles");
        QTest::addColumn<QString>("areas");
        QTest::newRow("1") << 1 << "3@300,240 3@500,240"
                           << "1:40,80 60,80 60,400 40,400|1:740,80 760,80 760,400 740,400|";
        QTest::newRow("2") << 2 << "2@300,240 2@500,240"
                           << "0:40,40 100,40 40,200|0:700,40 760,40 760,200|";
        QTest::newRow("3") << 3 << "2@60,420 2@740,420 3@400,240"
                           << "2:20,40 300,280 20,380|2:780,40 500,280 780,380|"
                              "0:200,20 600,20 400,100|1:200,460 400,380 600,460|";
        QTest::newRow("0") << 0 << ""
                           << "";
        QTest::newRow("4") << 4 << ""
                           << "";
        QTest::newRow("-1") << -1 << ""
                            << "";
    }

    void levels()
    {
        QFETCH(int, level);
        QFETCH(QString, particles);
        QFETCH(QString, areas);
        LevelWidget widget;
        LevelWidgetProbe game(widget);
        game.state() = LevelWidget::Failed;
        game.elapsed() = 990;
        game.wells() << LevelObject(5, 5, LevelObject::BlueWell);
        game.remaining() = 7;
        widget.loadLevel(level);

        QCOMPARE(game.level(), level);
        QCOMPARE(game.state(), LevelWidget::Ready);
        QCOMPARE(game.elapsed(), 0);
        QVERIFY(game.wells().isEmpty());
        QCOMPARE(describe(game.particles(), ' '), particles);
        QCOMPARE(describe(game.areas(), '|'), areas + frameText);
        // Any other number leaves remaining as it was.
        QCOMPARE(game.remaining(), particles.isEmpty() ? 7 : game.particles().size());
        // Nothing is caught before the player acts.
        for (const LevelObject &particle : game.particles()) {
            QVERIFY(!particle.stopped);
            for (const Area &area : game.areas())
                QVERIFY(!area.containsPoint(particle.toPoint(), Qt::OddEvenFill));
        }
    }

    void painting_data()
    {
        QTest::addColumn<int>("level");
        QTest::addColumn<int>("state");
        QTest::addColumn<int>("tipLines");
        QTest::addColumn<QRgb>("statusColor");
        const char *const names[] = {"ready", "running", "failed", "passed"};
        const int tipLines[] = {4, 0, 2, 3};
        for (int level = 1; level <= 3; ++level) {
            for (int state = LevelWidget::Ready; state <= LevelWidget::Passed; ++state)
                QTest::addRow("level %d %s", level, names[state])
                    << level << state << tipLines[state] << white;
        }
        // Without objects the status line keeps the frame's grey pen.
        QTest::newRow("empty field ready") << 4 << int(LevelWidget::Ready) << 4 << grey;
    }

    void painting()
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

        QCOMPARE(image.pixel(400, 330), field);
        // The frame: grey hatching over the field along the edges.
        for (const QRect &band : {QRect(0, 200, 18, 60), QRect(300, 462, 60, 18)}) {
            QVERIFY(count(image, band, grey) > 0 && count(image, band, field) > 0);
            QCOMPARE(count(image, band, grey) + count(image, band, field),
                     band.width() * band.height());
        }
        for (const LevelObject &p : game.particles()) {
            const QPoint at = p.toPoint();
            const bool isRed = p.kind == LevelObject::RedParticle;
            QCOMPARE(image.pixel(at + QPoint(-7, -7)), isRed ? red : blue);
            QCOMPARE(image.pixel(at + QPoint(7, 7)), isRed ? red : blue);
            QCOMPARE(image.pixel(at + (isRed ? QPoint(0, 5) : QPoint(5, 0))), white);
        }
        for (const Area &area : game.areas().mid(0, game.areas().size() - 1)) {
            const QRgb hatch = area.kind == Area::RedGoal    ? red
                               : area.kind == Area::BlueGoal ? blue
                                                             : grey;
            const QRect inner = area.boundingRect().adjusted(3, 3, -3, -3);
            QVERIFY(count(image, inner, hatch) > 0 && count(image, inner, field) > 0);
        }

        // The status line in its band, the tip block above it (its height
        // tells its number of lines), the time in the bottom right corner.
        QCOMPARE(count(image, QRect(100, 110, 600, 60), statusColor) > 0, tipLines > 0);
        const int span = rowSpan(image, QRect(0, 0, 800, 150), yellow);
        QVERIFY2(tipLines == 0 ? span == 0
                               : span >= (tipLines - 1) * 15 + 8 && span <= tipLines * 22,
                 qPrintable(QStringLiteral("tip block %1 px high").arg(span)));
        QVERIFY(count(image, QRect(600, 430, 200, 50), yellow) > 0);
        QCOMPARE(count(image, QRect(0, 430, 400, 50), yellow), 0);
    }

    void preview_data()
    {
        QTest::addColumn<QPoint>("press");
        QTest::addColumn<QPoint>("cursor");
        QTest::addColumn<QPoint>("well");
        QTest::addColumn<QRgb>("cover"); // what lies over the preview
        QTest::newRow("open field")
            << QPoint(200, 300) << QPoint(261, 300) << QPoint(231, 300) << field;
        QTest::newRow("under a goal")
            << QPoint(50, 100) << QPoint(50, 301) << QPoint(50, 201) << blue;
    }

    void preview()
    {
        QFETCH(QPoint, press);
        QFETCH(QPoint, cursor);
        QFETCH(QPoint, well);
        QFETCH(QRgb, cover);
        LevelWidget widget;
        QTest::mousePress(&widget, Qt::LeftButton, {}, press);
        QTest::mouseMove(&widget, cursor);
        QCOMPARE(LevelWidgetProbe(widget).wellPos(), well);
        const QImage image = scene(widget);

        // A 5 x 5 cyan square at the well's point, nothing cyan around it.
        const QRect square(well - QPoint(2, 2), QSize(5, 5));
        QCOMPARE(count(image, square.adjusted(-2, -2, 2, 2), cyan), count(image, square, cyan));
        // A one-pixel green line from the press point to the cursor.
        const bool across = press.y() == cursor.y();
        const QRect line = across ? QRect(press, cursor).adjusted(0, -2, -10, 2)
                                  : QRect(press, cursor).adjusted(-2, 0, 2, -10);
        const int length = across ? line.width() : line.height();
        if (cover == field) {
            QCOMPARE(count(image, square, cyan), 25);
            QCOMPARE(count(image, line, green), length - 5); // less what the square covers
        } else {
            // Under an area the preview shows only between the hatch lines.
            QVERIFY(count(image, square, cyan) > 0 && count(image, square, cover) > 0);
            QVERIFY(count(image, line, green) > 0 && count(image, line, cover) > 0);
        }
    }

    void setStatePaintsAtOnce()
    {
        LevelWidget widget;
        widget.show();
        QVERIFY(QTest::qWaitForWindowExposed(&widget));
        PaintSpy spy(widget);
        spy.game.setState(LevelWidget::Passed);
        QCOMPARE(spy.states, QList<int>({LevelWidget::Passed}));
    }
};

QTEST_MAIN(TestScene)
#include "tst_scene.moc"
