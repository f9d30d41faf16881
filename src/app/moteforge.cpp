#include "moteforge.h"

#include "levelwidget.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>

#include <array>

moteforge::moteforge(QWidget *parent)
    : QMainWindow(parent)
{
    auto *game = new LevelWidget(this);
    connect(game, &LevelWidget::exit, this, &moteforge::exit);
    setMenuBar(createMenuBar(this, game));
    setCentralWidget(game);

    // Keep the title bar and the minimise button, drop the maximise button;
    // the fixed size then leaves nothing to resize.
    setWindowFlags((windowFlags() | Qt::CustomizeWindowHint) & ~Qt::WindowMaximizeButtonHint);
    setFixedSize(sizeHint());
    setWindowTitle(QStringLiteral("Drift Harbour"));

    auto *timer = new QTimer(this);
    connect(timer, &QTimer::timeout, game, &LevelWidget::animate);
    timer->start(LevelWidget::tickInterval);
}

moteforge::~moteforge() = default;

QMenuBar *moteforge::createMenuBar(QWidget *parent, LevelWidget *game)
{
    auto *menuBar = new QMenuBar(parent);

    auto *gameMenu = new QMenu(QStringLiteral("Menu"), parent);
    menuBar->addMenu(gameMenu);
    auto *quit = new QAction(QStringLiteral("Quit"), this);
    quit->setShortcut(QKeySequence(tr("Ctrl+Q")));
    connect(quit, &QAction::triggered, this, &moteforge::exit);
    gameMenu->addAction(quit);

    auto *levelsMenu = new QMenu(QStringLiteral("Levels"), parent);
    menuBar->addMenu(levelsMenu);
    const std::array<void (LevelWidget::*)(), 3> levelSlots = {
        &LevelWidget::level1, &LevelWidget::level2, &LevelWidget::level3};
    for (std::size_t i = 0; i < levelSlots.size(); ++i) {
        auto *action = new QAction(QStringLiteral("Level %1").arg(i + 1), this);
        connect(action, &QAction::triggered, game, levelSlots[i]);
        levelsMenu->addAction(action);
    }
    return menuBar;
}
