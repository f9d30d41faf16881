#include "gamescript.h"
#include "levelwidget.h"
#include "levelwidgetprobe.h"

#include <QtTest>

namespace {

// The wells, state, level, drag and time of the game, in one line.
QString outcome(LevelWidget &widget)
{
    LevelWidgetProbe game(widget);
    QStringList wells;
    for (const LevelObject &w : game.wells())
        wells << QStringLiteral("%1@%2,%3").arg(w.kind).arg(w.x()).arg(w.y());
    const char *const states[] = {"ready", "running", "failed", "passed"};
    return QStringLiteral("[%1] %2 L%3%4 %5ms")
        .arg(wells.join(' '), states[game.state()])
        .arg(game.level())
        .arg(game.dragging() ? " dragging" : "")
        .arg(game.elapsed());
}

void sendMouse(LevelWidget &widget, QEvent::Type type, const QPointF &at)
{
    QMouseEvent event(type, at, at, type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&widget, &event);
}

} // namespace

class TestPlay : public QObject
{
    Q_OBJECT

private slots:
    void constantForce_data()
    {
        QTest::addColumn<QString>("wells");
        QTest::addColumn<double>("shift"); // of the particle at (300, 240) after 100 steps
        QTest::newRow("none") << "" << 0.0;
        QTest::newRow("attracting") << "drag 680 240 720 240" << 50.0;
        QTest::newRow("repelling") << "drag 700 220 700 260" << -50.0;
        QTest::newRow("cancelling") << "drag 180 240 220 240; drag 380 240 420 240" << 0.0;
        QTest::newRow("on the particle") << "drag 280 240 320 240" << 0.0;
    }

    // Each well pulls or pushes with magnitude 1 whatever the distance: from
    // rest, 100 steps of 0.1 give speed 10 and 50 pixels.
    void constantForce()
    {
        QFETCH(QString, wells);
        QFETCH(double, shift);
        LevelWidget widget;
        LevelWidgetProbe game(widget);
        playScript(widget, wells + ";ticks 100");
        const LevelObject &p = game.particles().first();
        QVERIFY2(qAbs(p.x() - (300 + shift)) < 1e-4, qPrintable(QString::number(p.x(), 'g', 12)));
        QCOMPARE(p.y(), 240.0);
        QVERIFY(qAbs(p.velocity.x() - shift / 5) < 1e-5);
        QCOMPARE(game.elapsed(), wells.isEmpty() ? 0 : 1000);
    }

    void input_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("outcome");
        QTest::newRow("press starts") << "press L 10 10; ticks 3"
                                      << "[] running L1 dragging 30ms";
        QTest::newRow("drag sets a blue well") << "drag 100 100 200 100"
                                               << "[1@150,100] running L1 0ms";
        QTest::newRow("19 is a click") << "drag 100 100 110 109"
                                       << "[] running L1 0ms";
        QTest::newRow("20 sets a well") << "drag 100 100 110 110"
                                        << "[1@105,105] running L1 0ms";
        QTest::newRow("vertical upwards") << "drag 100 130 101 100"
                                          << "[0@101,115] running L1 0ms";
        QTest::newRow("odd sums round up") << "drag 10 10 41 15"
                                           << "[1@26,13] running L1 0ms";
        QTest::newRow("negative half rounds up") << "drag 5 10 -40 10"
                                                 << "[1@-17,10] running L1 0ms";
        QTest::newRow("click removes in reach") << "drag 90 200 110 200; click 105 204"
                                                << "[] running L1 0ms";
        QTest::newRow("click misses at 10") << "drag 90 200 110 200; click 105 205"
                                            << "[1@100,200] running L1 0ms";
        QTest::newRow("earliest in reach goes")
            << "drag 90 200 110 200; drag 94 200 114 200; click 102 200"
            << "[1@104,200] running L1 0ms";
        QTest::newRow("right click restarts")
            << "drag 90 200 110 200; ticks 5; press R 1 1; release R 1 1"
            << "[] ready L1 0ms";
        QTest::newRow("right click while dragging")
            << "press L 100 100; move 200 100; press R 1 1; release R 1 1; release L 200 100"
            << "[1@150,100] running L1 0ms";
        // The well set across the restart starts the clock.
        QTest::newRow("clock starts with a well set across a restart")
            << "press L 100 100; move 200 100; press R 1 1; release R 1 1; ticks 5;"
               "release L 200 100; ticks 3"
            << "[1@150,100] running L1 30ms";
        QTest::newRow("the clock stops at the largest multiple of 10")
            << "state 1; ticks 1; time 2147483630; ticks 2"
            << "[] running L1 2147483640ms";
        QTest::newRow("press in failed shows nothing") << "state 2; press L 100 100"
                                                       << "[] failed L1 0ms";
        QTest::newRow("click after a pass") << "state 3; press L 9 9; release L 9 9"
                                            << "[] ready L2 0ms";
        QTest::newRow("level 3 is followed by 1") << "load 3; state 3; click 9 9"
                                                  << "[] ready L1 0ms";
        QTest::newRow("drag into a pass ends on the next level")
            << "press L 100 100; move 200 100; state 3; release L 200 100"
            << "[] ready L2 0ms";
        // A release that ends no drag must not reuse an earlier drag's points.
        QTest::newRow("release in failed without a drag")
            << "drag 100 100 200 100; state 2; press L 300 300; release L 300 300"
            << "[1@150,100] failed L1 0ms";
        QTest::newRow("second release of a double click")
            << "drag 140 100 160 100; drag 142 100 162 100; click 150 100; dclick L 150 100;"
               "release L 150 100"
            << "[1@152,100] running L1 0ms";
        QTest::newRow("middle release without a drag")
            << "drag 140 100 160 100; press M 150 100; release M 150 100"
            << "[1@150,100] running L1 0ms";
        // A drag released without any move sets its well at its own midpoint.
        QTest::newRow("release without a move")
            << "drag 100 100 200 100; press L 300 300; release L 300 340"
            << "[1@150,100 0@300,320] running L1 0ms";
    }

    void input()
    {
        QFETCH(QString, script);
        QFETCH(QString, outcome);
        LevelWidget widget;
        playScript(widget, script);
        QCOMPARE(::outcome(widget), outcome);
    }

    // Event positions and the preview midpoint round halves towards +infinity.
    void positionsRoundHalfUp()
    {
        LevelWidget widget;
        LevelWidgetProbe game(widget);
        sendMouse(widget, QEvent::MouseButtonPress, QPointF(4.5, -0.5));
        QCOMPARE(game.pressPos(), QPoint(5, 0));
        sendMouse(widget, QEvent::MouseMove, QPointF(-40.5, 11.5));
        QCOMPARE(game.mousePos(), QPoint(-40, 12));
        QCOMPARE(game.wellPos(), QPoint(-17, 6));
    }

    // Overlapping areas both apply, in list order.
    void goalThenBarrierInOneStep()
    {
        LevelWidget widget;
        LevelWidgetProbe game(widget);
        const QPolygon square(QRect(290, 230, 20, 20));
        game.areas().prepend(Area(Area::Barrier, square));
        game.areas().prepend(Area(Area::BlueGoal, square));
        playScript(widget, "press L 9 9; ticks 1");
        QCOMPARE(game.state(), LevelWidget::Failed);
        QCOMPARE(game.remaining(), 1);
        QVERIFY(game.particles().first().stopped);
        QCOMPARE(game.elapsed(), 0);
    }

    // Enough wells throw a particle over the frame's band in one step: the
    // frame still catches it, so the level fails instead of running forever.
    void fastParticleCaughtBeyondFrame()
    {
        LevelWidget widget;
        LevelWidgetProbe game(widget);
        playScript(widget, "drag 400 220 400 260");
        for (int i = 0; i < 5000; ++i)
            game.wells() << game.wells().first();
        playScript(widget, "ticks 4");
        QCOMPARE(game.state(), LevelWidget::Failed);
        for (const LevelObject &p : game.particles())
            QVERIFY(p.stopped && (p.x() < -40 || p.x() > 840));
    }

    void levelsPlayThrough_data()
    {
        QTest::addColumn<int>("level");
        QTest::addColumn<QString>("script");
        QTest::addColumn<int>("outcome");
        const int passed = LevelWidget::Passed;
        const int failed = LevelWidget::Failed;
        // Level 1: one red well between the blue particles drives them apart.
        QTest::newRow("1 passed") << 1 << "drag 400 200 400 280" << passed;
        QTest::newRow("1 failed") << 1 << "drag 370 100 430 100" << failed;
        // Level 2: a blue well below the centre pushes both up into the corners.
        QTest::newRow("2 passed") << 2 << "drag 370 301 430 301" << passed;
        QTest::newRow("2 failed") << 2 << "drag 370 240 430 240" << failed;
        // Level 3: hold the reds on wells of their own while a blue well below
        // draws the blue particle home; then pull the reds up the middle with
        // two wells, and lift them into the red goal with four at the top.
        QTest::newRow("3 passed")
            << 3
            << "drag 60 400 60 440; drag 740 400 740 440; drag 370 470 430 470;"
               "ticks 500; click 400 470; drag 150 340 150 380; drag 650 340 650 380;"
               "ticks 80; click 150 360; click 650 360; drag 200 20 200 60;"
               "drag 600 20 600 60; drag 320 0 320 20; drag 480 0 480 20"
            << passed;
        QTest::newRow("3 failed") << 3 << "drag 400 20 400 60" << failed;
    }

    void levelsPlayThrough()
    {
        QFETCH(int, level);
        QFETCH(QString, script);
        QFETCH(int, outcome);
        LevelWidget widget;
        LevelWidgetProbe game(widget);
        widget.loadLevel(level);
        playScript(widget, script);
        for (int steps = 0; game.state() == LevelWidget::Running && steps < 3000; ++steps)
            widget.animate();
        QCOMPARE(game.state(), outcome);
        QCOMPARE(game.remaining() == 0, outcome == LevelWidget::Passed);

        // The time stops with the step that ends the level; captured
        // particles never move again.
        const int elapsed = game.elapsed();
        const QList<LevelObject> before = game.particles();
        playScript(widget, "ticks 50");
        QCOMPARE(game.elapsed(), elapsed);
        for (qsizetype i = 0; i < before.size(); ++i)
            QVERIFY(!before[i].stopped || QPointF(game.particles()[i]) == QPointF(before[i]));
    }
};

QTEST_MAIN(TestPlay)
#include "tst_play.moc"
