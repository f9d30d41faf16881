// SPDX-License-Identifier: GPL-3.0-or-later
#include "moteforge.h"

#include "levelwidget.h"
#include "longpress.h"
#include "palette.h"
#include "tickclock.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QPaintEvent>
#include <QPainter>
#include <QStyle>
#include <QWindow>
#include <QWindowStateChangeEvent>

#include <array>

namespace {
constexpr Qt::WindowStates large = Qt::WindowMaximized | Qt::WindowFullScreen;
}

moteforge::moteforge(QWidget *parent)
    : QMainWindow(parent)
{
    auto *game = new LevelWidget(this);
    // A finger has no right button: held still, it restarts as one would.
    new LongPress(game);
    connect(game, &LevelWidget::exit, this, &moteforge::exit);
    setMenuBar(createMenuBar(this, game));
    setCentralWidget(game);

    // Keep the title bar and the minimise button, drop the maximise button;
    // the fixed size then leaves nothing to resize.
    setWindowFlags((windowFlags() | Qt::CustomizeWindowHint) & ~Qt::WindowMaximizeButtonHint);
    setFixedSize(sizeHint());
    setWindowTitle(QStringLiteral("Drift Harbour"));

    auto *clock = new TickClock(LevelWidget::tickInterval, this);
    connect(clock, &TickClock::tick, game, &LevelWidget::animate);
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

bool moteforge::event(QEvent *event)
{
    const bool handled = QMainWindow::event(event);
    switch (event->type()) {
    case QEvent::Show:
        connect(windowHandle(), &QWindow::windowStateChanged, this, &moteforge::followState,
                Qt::UniqueConnection);
        break;
    case QEvent::Resize:
    case QEvent::LayoutRequest: {
        // The layout has just put the field at the top left of the space below
        // the menu bar, which is larger when maximised or full screen.
        const int top = menuWidget()->height();
        centralWidget()->move(QStyle::alignedRect(layoutDirection(), Qt::AlignCenter,
                                                  centralWidget()->size(),
                                                  QRect(0, top, width(), height() - top))
                                  .topLeft());
        break;
    }
    case QEvent::WindowStateChange:
        // The compositor's answer, once the window has taken its state: back
        // from a large one, the size is fixed again.
        if ((static_cast<QWindowStateChangeEvent *>(event)->oldState() & large) &&
            !(windowState() & large))
            setMaximumSize(minimumSize());
        break;
    default:
        break;
    }
    return handled;
}

void moteforge::followState(Qt::WindowState state)
{
    if (state == Qt::WindowMaximized || state == Qt::WindowFullScreen)
        setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
}

bool moteforge::isLarge() const
{
    const QWindow *window = windowHandle();
    return (windowState() & large) || (window && window->windowStates() & large);
}

void moteforge::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    // A resize that the native window has left behind already, as when a
    // compositor suggests a size and maximises right after: its state may
    // be the maximised one, and a Wayland compositor ends the connection of
    // a maximised window that takes another size. The newer size comes
    // with a resize of its own.
    const QWindow *window = windowHandle();
    if (window && window->size() != event->size())
        return;
    if (!isLarge() && size() != minimumSize())
        resize(minimumSize());
}

void moteforge::paintEvent(QPaintEvent *event)
{
    QPainter(this).fillRect(event->rect(), QColor(Palette::field));
}
