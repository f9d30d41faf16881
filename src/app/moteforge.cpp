// SPDX-License-Identifier: GPL-3.0-or-later
#include "moteforge.h"

#include "levelwidget.h"
#include "palette.h"

#include <QAction>
#include <QGuiApplication>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QPaintEvent>
#include <QPainter>
#include <QStyle>
#include <QTimer>
#include <QWindow>

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
    // A Wayland compositor may maximise any window, whatever its title bar
    // shows, and ends the connection of one that keeps a smaller size then.
    // There the window has only a minimum size: it follows a maximised or
    // full-screen state, and resizeEvent() holds it at its own size otherwise.
    if (QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
        setMinimumSize(sizeHint());
    else
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

bool moteforge::event(QEvent *event)
{
    const bool handled = QMainWindow::event(event);
    // The layout has just put the field at the top left of the space below
    // the menu bar, which is larger when maximised or full screen.
    if (event->type() == QEvent::Resize || event->type() == QEvent::LayoutRequest) {
        const int top = menuWidget()->height();
        centralWidget()->move(QStyle::alignedRect(layoutDirection(), Qt::AlignCenter,
                                                  centralWidget()->size(),
                                                  QRect(0, top, width(), height() - top))
                                  .topLeft());
    }
    return handled;
}

void moteforge::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    const QWindow *window = windowHandle();
    // A resize that the native window has left behind already, as when a
    // compositor suggests a size and maximises right after: its state may
    // be the maximised one, and a Wayland compositor ends the connection of
    // a maximised window that takes another size. The newer size comes
    // with a resize of its own.
    if (window && window->size() != event->size())
        return;
    // The native window knows its state first: with Qt 6.11 on Wayland, a
    // maximise resizes the window before the widget learns of the new state.
    const Qt::WindowStates states = window ? window->windowStates() : windowState();
    if (!(states & (Qt::WindowMaximized | Qt::WindowFullScreen)) && size() != minimumSize())
        resize(minimumSize());
}

void moteforge::paintEvent(QPaintEvent *event)
{
    QPainter(this).fillRect(event->rect(), QColor(Palette::field));
}
