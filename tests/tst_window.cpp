#include "levelwidget.h"
#include "levelwidgetprobe.h"
#include "moteforge.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>
#include <QtTest>

namespace {

QStringList titles(const QList<QAction *> &actions)
{
    QStringList result;
    for (const QAction *action : actions)
        result << action->text();
    return result;
}

QStringList methodSignatures(const QMetaObject &meta)
{
    QStringList result;
    for (int i = meta.methodOffset(); i < meta.methodCount(); ++i)
        result << QString::fromLatin1(meta.method(i).methodSignature());
    return result;
}

} // namespace

class TestWindow : public QObject
{
    Q_OBJECT

private slots:
    void windowFrame();
    void menus();
    void quitAndEscapeEmitExit();
    void levelMenuLoadsAtOnce();
    void metaObjects();
    void gameWidgetShell();
    void keyRelease_data();
    void keyRelease();
};

void TestWindow::windowFrame()
{
    moteforge window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(window.windowTitle(), QStringLiteral("Drift Harbour"));
    auto *game = qobject_cast<LevelWidget *>(window.centralWidget());
    QVERIFY(game);
    QCOMPARE(game->size(), QSize(800, 480));
    QCOMPARE(window.minimumSize(), window.maximumSize());
    QCOMPARE(window.width(), 800);
    QCOMPARE(window.height(), 480 + window.menuBar()->height());
    QVERIFY(window.windowFlags() & Qt::CustomizeWindowHint);
    QVERIFY(!(window.windowFlags() & Qt::WindowMaximizeButtonHint));

    const auto timers = window.findChildren<QTimer *>();
    QCOMPARE(timers.size(), 1);
    QVERIFY(timers.first()->isActive());
    QCOMPARE(timers.first()->interval(), 10);
    QVERIFY(!timers.first()->isSingleShot());
    // The timer really drives the game: time counts once it runs.
    LevelWidgetProbe(*game).state() = LevelWidget::Running;
    QTRY_VERIFY(LevelWidgetProbe(*game).elapsed() >= 30);
}

void TestWindow::menus()
{
    moteforge window;
    QMenuBar *bar = window.menuBar();
    QCOMPARE(titles(bar->actions()), QStringList({"Menu", "Levels"}));
    const QList<QAction *> menuItems = bar->actions().at(0)->menu()->actions();
    QCOMPARE(titles(menuItems), QStringList({"Quit"}));
    QCOMPARE(menuItems.first()->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Q));
    QCOMPARE(titles(bar->actions().at(1)->menu()->actions()),
             QStringList({"Level 1", "Level 2", "Level 3"}));
    for (const QAction *action : window.findChildren<QAction *>(Qt::FindDirectChildrenOnly)) {
        QVERIFY(action->icon().isNull());
        QVERIFY(!action->isCheckable());
    }
}

void TestWindow::quitAndEscapeEmitExit()
{
    moteforge window;
    QSignalSpy exits(&window, &moteforge::exit);
    window.menuBar()->actions().at(0)->menu()->actions().first()->trigger();
    QCOMPARE(exits.size(), 1);
    QTest::keyRelease(window.centralWidget(), Qt::Key_Escape);
    QCOMPARE(exits.size(), 2);
}

void TestWindow::levelMenuLoadsAtOnce()
{
    moteforge window;
    LevelWidgetProbe game(*qobject_cast<LevelWidget *>(window.centralWidget()));
    game.state() = LevelWidget::Running;
    game.elapsed() = 500;
    game.wells().append(LevelObject(1, 1, LevelObject::RedWell));
    window.menuBar()->actions().at(1)->menu()->actions().at(2)->trigger();
    QCOMPARE(game.level(), 3);
    QCOMPARE(game.state(), LevelWidget::Ready);
    QCOMPARE(game.elapsed(), 0);
    QVERIFY(game.wells().isEmpty());
    QCOMPARE(game.particles().size(), 3);
}

void TestWindow::metaObjects()
{
    QCOMPARE(moteforge::staticMetaObject.className(), "moteforge");
    QCOMPARE(methodSignatures(moteforge::staticMetaObject), QStringList({"exit()"}));
    QCOMPARE(LevelWidget::staticMetaObject.className(), "LevelWidget");
    QCOMPARE(methodSignatures(LevelWidget::staticMetaObject),
             QStringList({"exit()", "animate()", "paintEvent(QPaintEvent*)", "loadLevel(int)",
                          "level1()", "level2()", "level3()"}));
    const QMetaObject &meta = LevelWidget::staticMetaObject;
    QCOMPARE(meta.method(meta.indexOfMethod("loadLevel(int)")).parameterNames(),
             QList<QByteArray>({"level"}));
    QCOMPARE(meta.method(meta.indexOfMethod("paintEvent(QPaintEvent*)")).parameterNames(),
             QList<QByteArray>({"event"}));
    QCOMPARE(meta.propertyCount(), meta.propertyOffset());
}

void TestWindow::gameWidgetShell()
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
    // The one-pixel pens must stay cosmetic (Qt 6 gives QPen(QColor) width 1).
    QCOMPARE(game.textPen().widthF(), 0.0);
    QCOMPARE(game.textPen().color(), QColor(Qt::yellow));
    QCOMPARE(game.dragLinePen().widthF(), 0.0);
    QCOMPARE(game.dragLinePen().color(), QColor(Qt::green));
    QCOMPARE(game.wellMarkPen().widthF(), 5.0);
    QCOMPARE(game.wellMarkPen().color(), QColor(0, 255, 255));
    QCOMPARE(game.wellMarkPen().capStyle(), Qt::SquareCap);
}

void TestWindow::keyRelease_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<int>("exits");
    QTest::newRow("escape") << int(Qt::Key_Escape) << Qt::KeyboardModifiers() << 1;
    QTest::newRow("shift escape") << int(Qt::Key_Escape) << Qt::KeyboardModifiers(Qt::ShiftModifier)
                                  << 1;
    QTest::newRow("other key") << int(Qt::Key_Q) << Qt::KeyboardModifiers() << 0;
}

void TestWindow::keyRelease()
{
    QFETCH(int, key);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(int, exits);
    LevelWidget widget;
    QSignalSpy spy(&widget, &LevelWidget::exit);
    QTest::keyPress(&widget, Qt::Key(key), modifiers);
    QCOMPARE(spy.size(), 0);
    QTest::keyRelease(&widget, Qt::Key(key), modifiers);
    QCOMPARE(spy.size(), exits);
}

QTEST_MAIN(TestWindow)
#include "tst_window.moc"
