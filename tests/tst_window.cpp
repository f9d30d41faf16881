#include "levelwidget.h"
#include "levelwidgetprobe.h"
#include "moteforge.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>
#include <QtTest>

namespace {

QStringList texts(const QList<QAction *> &actions)
{
    QStringList result;
    for (const QAction *action : actions)
        result << action->text();
    return result;
}

QStringList methods(const QMetaObject &meta)
{
    QStringList result;
    for (int i = meta.methodOffset(); i < meta.methodCount(); ++i)
        result << QString::fromLatin1(meta.method(i).methodSignature());
    return result;
}

QMenu *menu(moteforge &window, int index)
{
    return window.menuBar()->actions().at(index)->menu();
}

} // namespace

class TestWindow : public QObject
{
    Q_OBJECT

private slots:
    void windowFrame()
    {
        moteforge window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(window.windowTitle(), QStringLiteral("Drift Harbour"));
        auto *game = qobject_cast<LevelWidget *>(window.centralWidget());
        QVERIFY(game);
        QCOMPARE(game->size(), QSize(800, 480));
        QCOMPARE(window.minimumSize(), window.maximumSize());
        QCOMPARE(window.size(), QSize(800, 480 + window.menuBar()->height()));
        QVERIFY(window.windowFlags() & Qt::CustomizeWindowHint);
        QVERIFY(!(window.windowFlags() & Qt::WindowMaximizeButtonHint));

        const auto timers = window.findChildren<QTimer *>();
        QCOMPARE(timers.size(), 1);
        QCOMPARE(timers.first()->interval(), 10);
        QVERIFY(timers.first()->isActive() && !timers.first()->isSingleShot());
        // The timer drives the game: time counts once the level runs.
        LevelWidgetProbe(*game).state() = LevelWidget::Running;
        QTRY_VERIFY(LevelWidgetProbe(*game).elapsed() >= 30);
    }

    void menus()
    {
        moteforge window;
        QCOMPARE(texts(window.menuBar()->actions()), QStringList({"Menu", "Levels"}));
        QCOMPARE(texts(menu(window, 0)->actions()), QStringList({"Quit"}));
        QCOMPARE(menu(window, 0)->actions().first()->shortcut(),
                 QKeySequence(Qt::CTRL | Qt::Key_Q));
        QCOMPARE(texts(menu(window, 1)->actions()), QStringList({"Level 1", "Level 2", "Level 3"}));
    }

    void quitAndEscapeEmitExit()
    {
        moteforge window;
        QSignalSpy exits(&window, &moteforge::exit);
        menu(window, 0)->actions().first()->trigger();
        QCOMPARE(exits.size(), 1);
        // Escape quits on its release, with or without modifiers; no other key does.
        QTest::keyPress(window.centralWidget(), Qt::Key_Escape);
        QTest::keyRelease(window.centralWidget(), Qt::Key_Q);
        QCOMPARE(exits.size(), 1);
        QTest::keyRelease(window.centralWidget(), Qt::Key_Escape);
        QTest::keyRelease(window.centralWidget(), Qt::Key_Escape, Qt::ShiftModifier);
        QCOMPARE(exits.size(), 3);
    }

    void levelMenuLoadsAtOnce()
    {
        moteforge window;
        LevelWidgetProbe game(*qobject_cast<LevelWidget *>(window.centralWidget()));
        game.state() = LevelWidget::Running;
        game.elapsed() = 500;
        game.wells().append(LevelObject(1, 1, LevelObject::RedWell));
        menu(window, 1)->actions().at(2)->trigger();
        QCOMPARE(game.level(), 3);
        QCOMPARE(game.state(), LevelWidget::Ready);
        QCOMPARE(game.elapsed(), 0);
        QVERIFY(game.wells().isEmpty());
        QCOMPARE(game.particles().size(), 3);
    }

    void metaObjects()
    {
        QCOMPARE(moteforge::staticMetaObject.className(), "moteforge");
        QCOMPARE(methods(moteforge::staticMetaObject), QStringList({"exit()"}));
        const QMetaObject &meta = LevelWidget::staticMetaObject;
        QCOMPARE(meta.className(), "LevelWidget");
        QCOMPARE(methods(meta),
                 QStringList({"exit()", "animate()", "paintEvent(QPaintEvent*)", "loadLevel(int)",
                              "level1()", "level2()", "level3()"}));
        QCOMPARE(meta.method(meta.indexOfMethod("loadLevel(int)")).parameterNames().first(),
                 "level");
        QCOMPARE(
            meta.method(meta.indexOfMethod("paintEvent(QPaintEvent*)")).parameterNames().first(),
            "event");
    }

    void gameWidgetShell()
    {
        LevelWidget widget;
        LevelWidgetProbe game(widget);
        QCOMPARE(widget.size(), QSize(800, 480));
        QCOMPARE(widget.minimumSize(), widget.maximumSize());
        QCOMPARE(widget.sizeHint(), QSize(400, 400));
        QCOMPARE(widget.minimumSizeHint(), QSize(50, 50));
        QVERIFY(widget.hasMouseTracking());
        QCOMPARE(widget.focusPolicy(), Qt::StrongFocus);
        QCOMPARE(game.state(), LevelWidget::Ready);
        QCOMPARE(game.level(), 1);
        QCOMPARE(game.remaining(), 2);
        QCOMPARE(game.elapsed(), 0);
        QVERIFY(game.wells().isEmpty());
        // One-pixel pens stay cosmetic: Qt 6 gives QPen(QColor) width 1.
        QCOMPARE(game.textPen().widthF(), 0.0);
        QCOMPARE(game.textPen().color(), QColor(Qt::yellow));
        QCOMPARE(game.dragLinePen().widthF(), 0.0);
        QCOMPARE(game.dragLinePen().color(), QColor(Qt::green));
        QCOMPARE(game.wellMarkPen().widthF(), 5.0);
        QCOMPARE(game.wellMarkPen().color(), QColor(0, 255, 255));
    }
};

QTEST_MAIN(TestWindow)
#include "tst_window.moc"
