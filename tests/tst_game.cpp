// SPDX-License-Identifier: GPL-3.0-or-later
#include "levelwidget.h"
#include "levelwidgetprobe.h"
#include "longpress.h"
#include "moteforge.h"
#include "rounding.h"
#include "startupmessages.h"
#include "tickclock.h"

#include <QAccessible>
#include <QLayout>
#include <QMenuBar>
#include <QPainter>
#include <QRandomGenerator>
#include <QThread>
#include <QWindow>
#include <QtTest>

#include <array>

namespace {

constexpr int intMax = std::numeric_limits<int>::max();
constexpr QRgb field = qRgb(0, 32, 64), red = qRgb(255, 64, 64), blue = qRgb(128, 128, 255),
               grey = qRgb(128, 128, 128), white = qRgb(255, 255, 255), yellow = qRgb(255, 255, 0),
               green = qRgb(0, 255, 0), cyan = qRgb(0, 255, 255);
// Events of the game's own: a tick, and a load of the level in the code.
constexpr QEvent::Type Tick = QEvent::Timer, Load = QEvent::User;

int descriptionChanges = 0;
void hear(QAccessibleEvent *event)
{
    descriptionChanges += event->type() == QAccessible::DescriptionChanged;
}

// The game in one line: wells (or their number), state, level, remaining, time, drag.
QString outcome(LevelWidget &widget)
{
    LevelWidgetProbe game{widget};
    QStringList wells;
    for (const LevelObject &w : game.wells())
        wells << QString::asprintf("%d@%g,%g", w.kind, w.x(), w.y());
    const char *const states[] = {"ready", "running", "failed", "passed"};
    return QString::asprintf(
               "[%s] %s L%d r%d %dms",
               qPrintable(wells.size() > 6 ? QString::number(wells.size()) : wells.join(' ')),
               states[game.state()], game.level(), game.remaining(), game.elapsed()) +
           (game.dragging() ? " drag " + game.drag() : QString());
}

} // namespace

// Every input reaches the game through step(), which checks after each event
// what must hold whatever the player does: in scripted plays, and in the fuzz
// test's seeded random input (DRIFT_FUZZ_SEEDS="1 2 ..." sets its seeds).
class TestGame : public QObject
{
    Q_OBJECT

    LevelWidget *widget = nullptr;
    QPointingDevice *touchScreen = nullptr;
    QRandomGenerator random;
    Qt::MouseButtons held;
    int count = 0, exits = 0, paints = 0, rightClicks = 0;
    QString failure;

    bool eventFilter(QObject *, QEvent *event) override
    {
        paints += event->type() == QEvent::Paint;
        rightClicks += event->type() == QEvent::MouseButtonRelease &&
                       static_cast<QMouseEvent *>(event)->button() == Qt::RightButton;
        return false;
    }

    void apply(QEvent::Type type, int code, const QPointF &at)
    {
        if (type == Tick) {
            widget->animate();
        } else if (type == Load) {
            widget->loadLevel(code);
        } else if (type == QEvent::Paint) {
            // Code 1 shows a hidden widget or hides a shown one first.
            widget->setVisible(widget->isVisible() != bool(code));
            widget->update();
            widget->isVisible() ? QCoreApplication::processEvents() : void(widget->grab());
        } else if (type == QEvent::KeyPress || type == QEvent::KeyRelease) {
            QKeyEvent event(type, code, Qt::NoModifier);
            QApplication::sendEvent(widget, &event);
        } else {
            const auto button = Qt::MouseButton(code);
            held = type == QEvent::MouseButtonRelease ? held & ~button : held | button;
            QMouseEvent event(type, at, at, button, held, Qt::NoModifier);
            QApplication::sendEvent(widget, &event);
        }
    }

    // Applies one event (a mouse event with its button, a key event with its
    // key, a tick, a load or a paint) and checks the game against itself before.
    void step(QEvent::Type type, int code = 0, const QPointF &at = {})
    {
        LevelWidgetProbe game{*widget};
        const int state = game.state(), elapsed = game.elapsed(), exitsBefore = exits,
                  heard = descriptionChanges;
        const bool dragging = game.dragging();
        const qsizetype wells = game.wells().size();
        const QList<LevelObject> particles = game.particles();
        paints = 0;
        apply(type, code, at);
        ++count;

        const auto check = [&](bool ok, const char *rule) {
            if (!ok && failure.isEmpty())
                failure = QString::asprintf("event %d (type %d, %d at %g,%g): %s", count, type,
                                            code, at.x(), at.y(), rule);
        };
        const bool release = type == QEvent::MouseButtonRelease;
        const bool loaded = type == Load || (release && code == Qt::RightButton) ||
                            (release && code == Qt::LeftButton && state == LevelWidget::Passed);
        const int now = game.state();
        // A first left press starts a level, as does a well set across a restart.
        const bool starts = state == LevelWidget::Ready && now == LevelWidget::Running &&
                            ((type == QEvent::MouseButtonPress && code == Qt::LeftButton) ||
                             (release && game.wells().size() > wells));
        check(now >= LevelWidget::Ready && now <= LevelWidget::Passed && game.remaining() >= 0 &&
                  game.remaining() <= game.particles().size(),
              "state and remaining stay in range");
        const qint64 counted = elapsed + (type == Tick && now == LevelWidget::Running) * 10LL;
        check(game.elapsed() == (loaded ? 0 : qMin(counted, qint64(intMax / 10 * 10))),
              "time counts by ticks while running up to its limit, and a load resets it");
        // Qt paints a window only once it is exposed on the screen, which a
        // browser does at its next frame, after this test has ended.
        const QWindow *window = widget->windowHandle();
        check(type != Tick || !widget->isVisible() || !window->isExposed() ||
                  paints >= 1 + (now != state),
              "a tick paints, and paints a new state at once");
        check(type == Tick || loaded || now == state || starts,
              "only ticks, loads, a first press or well change the state");
        check(loaded || (release && dragging) || game.wells().size() == wells,
              "wells change only when a drag ends or on a load");
        check(exits == exitsBefore + (type == QEvent::KeyRelease && code == Qt::Key_Escape),
              "a release of Escape exits, nothing else does");
        check(!QAccessible::isActive() || (descriptionChanges > heard) == (loaded || now != state),
              "a screen reader hears of each change of state or level, never of the time alone");
        for (qsizetype i = 0; i < game.particles().size(); ++i) {
            const LevelObject &p = game.particles()[i], &was = particles.value(i, p);
            check(loaded || !was.stopped || (p.stopped && QPointF(p) == QPointF(was)),
                  "a stopped particle never moves");
            check(p.stopped || QRect(-40, -40, 881, 561).contains(toPointHalfUp(p)),
                  "free particles stay in the frame");
        }
    }

    // Plays a script on the widget; commands are separated by ';':
    //   press|release|dclick L|R|M x y, move x y, drag x1 y1 x2 y2, click x y (left),
    //   ticks N, run (ticks until the level ends), load N,
    //   and set without an event: state S, time MS, copies N (of the last well)
    void play(const QString &script)
    {
        LevelWidgetProbe game{*widget};
        const QStringList mouse = {"press", "release", "dclick", "move"};
        const QEvent::Type types[] = {QEvent::MouseButtonPress, QEvent::MouseButtonRelease,
                                      QEvent::MouseButtonDblClick, QEvent::MouseMove};
        for (const QString &command : script.split(';', Qt::SkipEmptyParts)) {
            QStringList words = command.simplified().split(' ');
            const QString verb = words.takeFirst();
            const int m = int(mouse.indexOf(verb));
            // L, R and M are Qt's buttons 1, 2 and 4.
            const int button = m < 0 || m > 2 ? 0 : 1 << QString("LRM").indexOf(words.takeFirst());
            QList<double> n;
            for (const QString &word : std::as_const(words))
                n << word.toDouble();
            if (m >= 0)
                step(types[m], button, {n[0], n[1]});
            else if (verb == "drag" || verb == "click")
                play(QString::asprintf("press L %g %g; move %g %g; release L %g %g", n[0], n[1],
                                       n[n.size() - 2], n.last(), n[n.size() - 2], n.last()));
            else if (verb == "ticks" || verb == "run")
                for (int i = 0; verb == "run" ? game.state() == 1 && i < 3000 : i < n[0]; ++i)
                    step(Tick); // a run ends with the level, state 1 being Running
            else if (verb == "load")
                step(Load, int(n[0]));
            else if (verb == "state" || verb == "time")
                (verb == "state" ? game.state() : game.elapsed()) = int(n[0]);
            else
                game.wells() << QList<LevelObject>(qsizetype(n[0]), game.wells().last());
        }
    }

    QImage shot(const QString &script)
    {
        LevelWidget game;
        widget = &game;
        play(script);
        return game.grab().toImage().convertToFormat(QImage::Format_RGB32);
    }

    // A point in the field, near it, or far beyond; some on half pixels.
    QPointF position()
    {
        const int reach = std::array{0, 0, 0, 0, 0, 0, 300, 300, 300, 100000}[random.bounded(10)];
        const QPointF at(random.bounded(800 + 2 * reach) - reach,
                         random.bounded(480 + 2 * reach) - reach);
        return random.bounded(2) ? at + QPointF(0.5, -0.5) : at;
    }

    // One random input: a tick, a menu load, a key, a paint (through the
    // event loop while the widget is shown now and then, by grab() while
    // not), or a press, move, release or double click of three buttons.
    void randomEvent()
    {
        const int roll = int(random.bounded(100000)); // in thousandths of a percent
        if (roll < 2) {
            // Thousands of identical drags: thousands of wells at one point.
            const QPointF at = position(), to = at + QPointF(random.bounded(2) * 30, 30);
            for (int i = 1000 + int(random.bounded(2000)); i > 0 && failure.isEmpty(); --i)
                play(QString::asprintf("drag %g %g %g %g", at.x(), at.y(), to.x(), to.y()));
        } else if (roll < 200) {
            // A level played through, for the input that follows a pass.
            play(random.bounded(2) ? "load 1; drag 400 200 400 280; run"
                                   : "load 2; drag 370 301 430 301; run");
        } else if (roll < 30000) {
            step(Tick);
        } else if (roll < 30300) {
            step(Load, 1 + int(random.bounded(3)));
        } else if (roll < 30410 || (widget->isVisible() && roll < 31400)) {
            // Shown for a hundred events or so, one in a hundred.
            step(QEvent::Paint, roll >= 30400);
        } else if (roll < 33000) {
            step(random.bounded(2) ? QEvent::KeyPress : QEvent::KeyRelease,
                 std::array{Qt::Key_Escape, Qt::Key_Q, Qt::Key_Space}[random.bounded(3)]);
        } else {
            const auto type = QEvent::Type(2 + random.bounded(4)); // press, release, double, move
            const int b = int(random.bounded(100));
            step(type, type == QEvent::MouseMove ? 0 : b < 75 ? 1 : b < 97 ? 4 : 2, position());
        }
    }

private slots:
    // With a screen reader's bus, Qt turns accessibility on soon after the start.
    void initTestCase()
    {
        QAccessible::installUpdateHandler(hear);
        if (qEnvironmentVariableIsSet("QT_LINUX_ACCESSIBILITY_ALWAYS_ON"))
            QTRY_VERIFY(QAccessible::isActive());
        touchScreen = QTest::createTouchDevice();
    }

    void cleanupTestCase() { delete touchScreen; }

    void arithmetic()
    {
        // Halves round up, below zero too; beyond int, values saturate.
        const std::pair<double, int> rounded[] = {
            {2.5, 3},        {-17.5, -17},          {-0.5, 0},        {-17.6, -18},
            {1e300, intMax}, {-1e300, -intMax - 1}, {std::nan(""), 0}};
        for (const auto &[value, expected] : rounded)
            QCOMPARE(toPointHalfUp({value, 0.5}), QPoint(expected, 1));
        QCOMPARE(midpointHalfUp({intMax, -3}, {intMax, 0}), QPoint(intMax, -1));
        // A late clock runs the ticks that fell due, at least one and at
        // most five; it drops the rest: {elapsed, done before, run, done after}.
        for (const auto &[elapsed, before, run, after] :
             {std::array<qint64, 4>{10, 0, 1, 1}, {9, 1, 1, 2}, {39, 1, 2, 3}, {1000, 3, 5, 100}}) {
            qint64 done = before;
            QCOMPARE(TickClock::due(elapsed, 10, &done), run);
            QCOMPARE(done, after);
        }
        QCOMPARE(LevelWidget::distance({7, 7}, {7, 7}), 0.01f);
        QCOMPARE(LevelWidget::distance({1, 1}, {4, 5}), 5.0f);
        // p' = p + v dt + a dt^2 / 2 with the old v, then v' = v + a dt.
        LevelObject object(10, 20, LevelObject::BlueParticle);
        object.advance(0.5f, QPointF(0, 100));
        object.advance(0.5f, QPointF(4, 100));
        QCOMPARE(QPointF(object), QPointF(10.5, 70));
        QCOMPARE(object.velocity, QPointF(2, 100));
        QCOMPARE(object.acceleration, QPointF(4, 100));
        object.stop();
        QCOMPARE(object.velocity + object.acceleration, QPointF(0, 0));
        object.advance(1.0f, QPointF(5, 5));
        QCOMPARE(QPointF(object), QPointF(10.5, 70));
    }

    void levels_data()
    {
        QTest::addColumn<int>("level");
        QTest::addColumn<QString>("contents"); // particles, then areas before the frame
        QTest::addColumn<QString>("outcome");
        // clang-format off
        QTest::newRow("1") << 1 << "3@300,240 3@500,240 1: 40,80 60,80 60,400 40,400 "
                                   "1: 740,80 760,80 760,400 740,400" << "L1 r2";
        QTest::newRow("2") << 2 << "2@300,240 2@500,240 0: 40,40 100,40 40,200 "
                                   "0: 700,40 760,40 760,200" << "L2 r2";
        QTest::newRow("3") << 3 << "2@60,420 2@740,420 3@400,240 2: 20,40 300,280 20,380 "
                                   "2: 780,40 500,280 780,380 0: 200,20 600,20 400,100 "
                                   "1: 200,460 400,380 600,460" << "L3 r3";
        // clang-format on
    }

    // A load empties the wells, resets state and time, and leaves the mouse alone.
    void levels()
    {
        QFETCH(int, level);
        QFETCH(QString, contents);
        QFETCH(QString, outcome);
        LevelWidget game;
        widget = &game;
        play("drag 5 5 30 5; ticks 5; press L 20 20; move 90 90; state 2");
        LevelWidgetProbe{game}.remaining() = 7;
        game.loadLevel(level);
        QStringList found;
        for (const LevelObject &p : LevelWidgetProbe{game}.particles())
            found << QString::asprintf("%d@%g,%g", p.kind, p.x(), p.y());
        for (const Area &area : LevelWidgetProbe{game}.areas()) {
            found << QString::asprintf("%d:", area.kind);
            for (const QPoint &p : area)
                found.last() += QString::asprintf(" %d,%d", p.x(), p.y());
        }
        QCOMPARE(found.join(' '), (contents + " 2: -40,-40 840,-40 840,520 -40,520 -40,-40 20,20 "
                                              "20,460 780,460 780,20 20,20")
                                      .trimmed());
        QCOMPARE(::outcome(game), "[] ready " + outcome + " 0ms drag 20,20>90,90@55,55");
    }

    void scene_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QRect>("rect");
        QTest::addColumn<QRgb>("colour");
        QTest::addColumn<bool>("shown"); // whether some pixel of the rect has the colour
        const auto row = [](const char *script, const QRect &rect, QRgb colour, bool shown = true) {
            QTest::addRow("%s %d,%d %x", script, rect.x(), rect.y(), colour)
                << QString(script) << rect << colour << shown;
        };
        row("load 1", {292, 232, 1, 1}, blue);  // a particle's square,
        row("load 1", {294, 239, 1, 1}, white); // its mark across, level
        row("load 1", {306, 239, 1, 1}, white);
        row("load 1", {292, 239, 1, 1}, white, false);
        row("load 1", {309, 239, 1, 1}, field);  // neither wider than 16 pixels
        row("load 1", {42, 100, 16, 280}, blue); // hatched areas, outlined in their colour
        row("load 1", {0, 200, 18, 60}, grey);
        row("load 2; state 3", {292, 232, 1, 1}, red); // red ones, the goal's outline too
        row("load 2; state 3", {40, 120, 1, 1}, red);
        const char *wells =
            "drag 150 280 150 320; drag 630 300 670 300; press L 200 300; move 261 300";
        row(wells, {138, 288, 1, 1}, red);
        row(wells, {162, 312, 1, 1}, field);
        row(wells, {149, 310, 1, 1}, white); // a mark as long as 20 pixels
        row(wells, {149, 311, 2, 2}, white, false);
        row(wells, {638, 288, 1, 1}, blue);
        row(wells, {201, 300, 26, 1}, green); // the preview's line
        row(wells, {229, 298, 1, 1}, cyan);   // and its 5 x 5 point
        row(wells, {233, 302, 1, 1}, cyan);
        row(wells, {227, 296, 2, 9}, cyan, false);
        row("press L 50 100; move 50 301", {48, 199, 5, 5}, blue); // the preview under a goal
    }

    void scene()
    {
        QFETCH(QString, script);
        QFETCH(QRect, rect);
        QFETCH(QRgb, colour);
        QFETCH(bool, shown);
        const QImage image = shot(script);
        bool found = false;
        for (int y = rect.top(); y <= rect.bottom(); ++y)
            for (int x = rect.left(); x <= rect.right(); ++x)
                found = found || image.pixel(x, y) == colour;
        QCOMPARE(found, shown);
    }

    // Texts, in whatever font the system gives: what a text adds to the scene
    // in its colour spans the box that the text spans when drawn alone in its
    // band: status lines 50 pixels high, centred above the bottom 200 rows;
    // tips 16, centred in the top 150; the time 50, at the bottom right.
    void texts_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QRgb>("colour");
        QTest::addColumn<QString>("text");
        const auto row = [](const char *script, QRgb colour, const QString &text) {
            QTest::addRow("%s: %s", script, qPrintable(text.section('\n', -1)))
                << QString(script) << colour << text;
        };
        // The status line has the last mark's pen: white, or the frame's grey
        // without objects.
        row("load 1", white, "Ready to start");
        row("load 4", grey, "Ready to start");
        const QString restart = "\n[Right mouse click] to restart the level.";
        row("load 1", yellow,
            "TIP\n[Left mouse drag] horizontally or vertically to set a gravity well.\n"
            "[Left mouse click] on a set gravity well to remove it." +
                restart);
        row("load 2; state 3", yellow,
            "TIP\n[Left mouse click] to advance to the next level." + restart);
        row("load 3; state 2", yellow, "TIP" + restart);
        row("state 1; time 1234567890", yellow, "1234567890 ms"); // ten digits, in base 10
    }

    void texts()
    {
        QFETCH(QString, script);
        QFETCH(QRgb, colour);
        QFETCH(QString, text);
        const bool tip = text.startsWith("TIP"), time = text.endsWith(" ms");
        // Glyphs in whole pixels of their colour, in the game and alone.
        QFont font;
        font.setStyleStrategy(QFont::NoAntialias);
        QApplication::setFont(font);
        // What the text adds: in Running there is no status line and no tip,
        // and nothing else is yellow where the time is.
        const QImage image = shot(script), without = time ? QImage() : shot(script + "; state 1");
        font.setPixelSize(tip ? 16 : 50);
        QImage alone(image.size(), QImage::Format_RGB32);
        alone.fill(Qt::black);
        QPainter painter(&alone);
        painter.setFont(font);
        painter.setPen(QColor(colour));
        const QRect band(0, 0, 800, time ? 480 : tip ? 150 : 280);
        painter.drawText(band, time ? Qt::AlignRight | Qt::AlignBottom : Qt::AlignCenter, text);
        QRect ink, expected;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                if (image.pixel(x, y) == colour && (time || without.pixel(x, y) != colour))
                    ink |= QRect(x, y, 1, 1);
                if (alone.pixel(x, y) == colour)
                    expected |= QRect(x, y, 1, 1);
            }
        QVERIFY(!expected.isEmpty());
        QCOMPARE(ink, expected);
    }

    // At device pixel ratio 2 the hatching of the frame, the barriers and the
    // goals is that of ratio 1, doubled: as wide apart on the screen.
    void hatchingAtRatio2()
    {
        LevelWidget game;
        widget = &game;
        play("load 3; state 1");
        const QImage one = game.grab().toImage().convertToFormat(QImage::Format_RGB32);
        QImage two(game.size() * 2, QImage::Format_RGB32);
        two.setDevicePixelRatio(2);
        game.render(&two);
        int differ = 0;
        for (const QRect &hatched : {QRect(0, 200, 18, 60), QRect(25, 150, 60, 100),
                                     QRect(350, 25, 100, 30), QRect(350, 420, 100, 30)})
            for (int y = 2 * hatched.top(); y <= 2 * hatched.bottom() + 1; ++y)
                for (int x = 2 * hatched.left(); x <= 2 * hatched.right() + 1; ++x)
                    differ += two.pixel(x, y) != one.pixel(x / 2, y / 2);
        QCOMPARE(differ, 0);
    }

    void play_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("outcome");
        const auto row = [](const char *script, const char *outcome) {
            QTest::newRow(script) << QString(script) << QString(outcome);
        };
        // A drag sets a blue well when mostly horizontal, else a red one, at
        // its midpoint rounded half up; 19 pixels are a click, 20 a drag.
        row("drag 100 100 200 100; drag 100 100 110 109; drag 100 100 110 110;"
            "drag 100 130 101 100; drag 10 10 41 15; drag 5 10 -40 10",
            "[1@150,100 1@105,105 0@101,115 1@26,13 1@-17,10] running L1 r2 0ms");
        // A click removes a well 9 pixels away, not 10; the earliest in reach.
        row("drag 90 200 110 200; drag 90 300 110 300; click 105 205; click 105 304",
            "[1@100,200] running L1 r2 0ms");
        row("drag 90 200 110 200; drag 94 200 114 200; click 102 200",
            "[1@104,200] running L1 r2 0ms");
        row("state 3; click 9 9; state 3; click 9 9; state 3; click 9 9", "[] ready L1 r2 0ms");
        // A failed level takes no well.
        row("state 2; drag 100 100 200 100", "[] failed L1 r2 0ms");
        // A release that ends no drag leaves the wells alone.
        row("drag 140 100 160 100; drag 142 100 162 100; click 150 100; dclick L 150 100;"
            "release L 150 100",
            "[1@152,100] running L1 r2 0ms");
        // A release with no move sets its well at its own midpoint.
        row("drag 100 100 200 100; press L 300 300; release L 300 340",
            "[1@150,100 0@300,320] running L1 r2 0ms");
        // A drag goes on across a restart, and its well starts the clock.
        row("press L 100 100; move 200 100; press R 1 1; release R 1 1; ticks 5; release L 200 100;"
            "ticks 3",
            "[1@150,100] running L1 r2 30ms");
        row("state 1; time 2147483630; ticks 2", "[] running L1 r2 2147483640ms");
        // The frame catches a particle flung beyond it.
        row("drag 400 220 400 260; copies 5000; ticks 4", "[5001] failed L1 r2 30ms");
        // Every level passed, two failed; the time stops with the level.
        row("load 1; drag 400 200 400 280; run; ticks 50", "[0@400,240] passed L1 r0 2190ms");
        row("load 1; drag 280 470 320 470; run; ticks 50", "[1@300,470] failed L1 r2 2090ms");
        row("load 2; drag 370 301 430 301; run; ticks 50", "[1@400,301] passed L2 r0 2280ms");
        row("load 2; drag 370 240 430 240; run; ticks 50", "[1@400,240] failed L2 r2 2360ms");
        row("load 3; drag 60 400 60 440; drag 740 400 740 440; drag 370 470 430 470; ticks 500;"
            "click 400 470; drag 150 340 150 380; drag 650 340 650 380; ticks 80; click 150 360;"
            "click 650 360; drag 200 20 200 60; drag 600 20 600 60; drag 320 0 320 20;"
            "drag 480 0 480 20; run; ticks 50",
            "[0@60,420 0@740,420 0@200,40 0@600,40 0@320,10 0@480,10] passed L3 r0 7250ms");
    }

    void play()
    {
        QFETCH(QString, script);
        QFETCH(QString, outcome);
        LevelWidget game;
        widget = &game;
        failure.clear();
        play(script);
        QCOMPARE(::outcome(game), outcome);
        QVERIFY2(failure.isEmpty(), qPrintable(failure));
    }

    void window()
    {
        moteforge window;
        QCOMPARE(window.windowTitle(), QStringLiteral("Drift Harbour"));
        auto *game = qobject_cast<LevelWidget *>(window.centralWidget());
        // The field fills the window below the menu bar, whatever the style makes its height.
        window.layout()->activate();
        QCOMPARE(game->geometry(), QRect(0, window.menuBar()->height(), 800, 480));
        QCOMPARE(window.size(), QSize(800, window.menuBar()->height() + 480));
        QCOMPARE(window.minimumSize(), window.maximumSize());
        QVERIFY(!(window.windowFlags() & Qt::WindowMaximizeButtonHint));
        // The game follows every move, and takes the keys once clicked.
        QVERIFY(game->hasMouseTracking() && game->focusPolicy() == Qt::StrongFocus);
        QStringList menus;
        for (const QAction *menu : window.menuBar()->actions()) {
            menus << menu->text() + ":";
            for (const QAction *item : menu->menu()->actions())
                menus << item->text() + item->shortcut().toString();
        }
        QCOMPARE(menus.join(' '), "Menu: QuitCtrl+Q Levels: Level 1 Level 2 Level 3");

        // Quit exits, and so does the release of Escape, also with a modifier.
        QSignalSpy exits(&window, &moteforge::exit);
        window.menuBar()->actions()[0]->menu()->actions()[0]->trigger();
        QTest::keyRelease(game, Qt::Key_Escape, Qt::ShiftModifier);
        QCOMPARE(exits.size(), 2);

        // A level from the menu comes at once; the timer drives the game.
        for (const int level : {3, 1, 2}) {
            window.menuBar()->actions()[1]->menu()->actions()[level - 1]->trigger();
            QCOMPARE(outcome(*game).section(' ', 1, 2), "ready L" + QString::number(level));
        }
        // A browser fires timers only once the page's call into the program,
        // this whole test run, has returned.
        if (QGuiApplication::platformName() == QLatin1String("wasm"))
            QSKIP("No timer fires while a test runs in a browser.");
        LevelWidgetProbe{*game}.state() = LevelWidget::Running;
        QTRY_VERIFY(LevelWidgetProbe{*game}.elapsed() >= 30);
    }

    // The clock never runs ahead of real time; after a tick that took 45 ms,
    // the ticks that fell due meanwhile come at once, within a millisecond.
    void tickClock()
    {
        if (QGuiApplication::platformName() == QLatin1String("wasm"))
            QSKIP("No timer fires while a test runs in a browser.");
        QElapsedTimer wall;
        wall.start();
        TickClock clock(10, this);
        QList<qint64> at;
        connect(&clock, &TickClock::tick, this, [&] {
            at.append(wall.elapsed());
            if (at.size() == 1)
                QThread::msleep(45);
        });
        QTRY_VERIFY(at.size() >= 6);
        QVERIFY(at.size() <= wall.elapsed() / 10 + 1);
        QVERIFY(at[4] - at[1] <= 1);
    }

    void longPress_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("outcome");
        // finger|move|mouse x y, lift: a finger goes down, moves or lifts, or
        // the mouse's left button goes down; hold: waits for a right click, up
        // to twice the time of a long press. The outcome ends with the number
        // of right clicks that the game had.
        const auto row = [](const char *script, const char *outcome) {
            QTest::newRow(script) << QString(script) << QString(outcome);
        };
        // Held still, a finger restarts the level when the time is up, also
        // when it stirred a little: its press was the left press that started
        // the level and a drag, which goes on into the reloaded level.
        row("finger 100 100; hold", "[] ready L1 r2 0ms drag 100,100>100,100@100,100 R1");
        row("finger 100 300; move 100 340; lift; finger 300 300; move 304 296; hold; lift",
            "[] ready L1 r2 0ms R1");
        // A finger that moves farther, or lifts, first was a left press all
        // along; so is a press of the mouse, however long, which also ends a
        // finger's wait.
        row("finger 100 100; move 104 95; hold",
            "[] running L1 r2 0ms drag 100,100>104,95@102,98 R0");
        row("finger 100 100; lift; hold", "[] running L1 r2 0ms R0");
        row("finger 100 100; mouse 100 100; hold",
            "[] running L1 r2 0ms drag 100,100>100,100@100,100 R0");
    }

    void longPress()
    {
        QFETCH(QString, script);
        QFETCH(QString, outcome);
        // A browser fires timers only once the page's call into the program,
        // this whole test run, has returned.
        if (QGuiApplication::platformName() == QLatin1String("wasm"))
            QSKIP("No timer fires while a test runs in a browser.");
        LevelWidget game;
        new LongPress(&game);
        game.installEventFilter(this);
        game.show();
        QVERIFY(QTest::qWaitForWindowExposed(&game));
        rightClicks = 0;
        QPoint at;
        QElapsedTimer pressed;
        for (const QString &command : script.split(';')) {
            const QStringList words = command.simplified().split(' ');
            if (words.size() == 3)
                at = QPoint(words[1].toInt(), words[2].toInt());
            if (words[0] == "finger" || words[0] == "mouse")
                pressed.start();
            if (words[0] == "finger")
                QTest::touchEvent(&game, touchScreen).press(0, at, &game);
            else if (words[0] == "move")
                QTest::touchEvent(&game, touchScreen).move(0, at, &game);
            else if (words[0] == "lift")
                QTest::touchEvent(&game, touchScreen).release(0, at, &game);
            else if (words[0] == "mouse")
                QTest::mousePress(&game, Qt::LeftButton, {}, at);
            else if (QTest::qWaitFor([&] { return rightClicks > 0; }, 2 * LongPress::holdTime))
                QVERIFY(pressed.elapsed() >= LongPress::holdTime);
        }
        QCOMPARE(::outcome(game) + QString::asprintf(" R%d", rightClicks), outcome);
    }

    // Maximised as a title bar asks, the window takes the screen, with the
    // field in the middle below the menu bar; restored, its size is fixed again.
    void maximised()
    {
        // Windows maximises within the request, before the window hears of it,
        // and nothing there offers to; a browser shows a window only once the
        // page's call into the program, this whole test run, has returned.
        const QString platform = QGuiApplication::platformName();
        if (platform == QLatin1String("windows") || platform == QLatin1String("wasm"))
            QSKIP("No title bar here asks a window of fixed size to maximise.");
        moteforge window;
        auto *game = window.centralWidget();
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const int top = window.menuBar()->height();
        const QSize own = window.size();
        window.windowHandle()->setWindowStates(Qt::WindowMaximized);
        QCOMPARE(window.maximumSize(), QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX));
        QTRY_VERIFY(window.height() > own.height() + 100);
        QCOMPARE(game->geometry(), QRect((window.width() - 800) / 2,
                                         top + (window.height() - top - 480) / 2, 800, 480));
        window.windowHandle()->setWindowStates(Qt::WindowNoState);
        QTRY_COMPARE(window.maximumSize(), own);
        QCOMPARE(window.size(), own);
    }

    // A screen reader finds a named canvas that says what the screen shows.
    void accessible()
    {
        LevelWidget game;
        widget = &game;
        const QAccessibleInterface *face = QAccessible::queryAccessibleInterface(&game);
        QCOMPARE(face->role(), QAccessible::Canvas);
        QCOMPARE(face->text(QAccessible::Name), "Drift Harbour field");
        QStringList heard;
        for (const char *script : {"", "press L 10 10; ticks 3", "state 2", "state 3", "load 3"}) {
            play(script);
            heard << face->text(QAccessible::Description);
        }
        QCOMPARE(heard.join(' '),
                 "Level 1. Ready to start. Time 0 ms. Level 1. Running. Time 30 ms. "
                 "Level 1. Level failed. Time 30 ms. Level 1. Level passed. Time 30 "
                 "ms. Level 3. Ready to start. Time 0 ms.");
    }

    // Held messages are printed on release, later ones reach Qt's handler.
    void startupMessages()
    {
        holdStartupMessages();
        qWarning("a message held back while the game starts");
        QTest::ignoreMessage(QtWarningMsg, "after the start");
        releaseStartupMessages();
        qWarning("after the start");
    }

    void fuzz()
    {
        const QString seeds = qEnvironmentVariable("DRIFT_FUZZ_SEEDS", "1 7 2026 31337 4000000007");
        for (const QString &seed : seeds.split(' ', Qt::SkipEmptyParts)) {
            random.seed(seed.toUInt());
            LevelWidget game;
            widget = &game;
            game.installEventFilter(this);
            connect(&game, &LevelWidget::exit, this, [this] { ++exits; });
            for (count = 0, held = {}; count < 200000 && failure.isEmpty();)
                randomEvent();
            qInfo("seed %s: %d events", qPrintable(seed), count);
            QVERIFY2(failure.isEmpty(), qPrintable("seed " + seed + ", " + failure));
        }
    }
};

QTEST_MAIN(TestGame)
#include "tst_game.moc"
