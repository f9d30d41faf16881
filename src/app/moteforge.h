// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef MOTEFORGE_H
#define MOTEFORGE_H

#include <QMainWindow>

class LevelWidget;
class QMenuBar;

// The game's window: the game widget under a menu bar, at a fixed size, with
// the timer that drives the game. exit() asks the application to quit. Where
// a title bar or a compositor maximises the window anyway (Qt's own title bar
// on Wayland does), it follows, with the field centred on its own colour.
class moteforge : public QMainWindow
{
    Q_OBJECT

public:
    explicit moteforge(QWidget *parent = nullptr);
    ~moteforge() override;

signals:
    void exit();

protected:
    // Keeps the field in the middle of the space below the menu bar, and
    // fixes the size again when the window is back from a larger state.
    bool event(QEvent *event) override;
    // Brings the window back to its own size unless it is maximised or full
    // screen: a Qt that does not hold a window to its maximum takes any size
    // a compositor suggests, such as the one a drag on its edge left behind.
    void resizeEvent(QResizeEvent *event) override;
    // Paints what the field leaves uncovered in the field's colour.
    void paintEvent(QPaintEvent *event) override;

private:
    QMenuBar *createMenuBar(QWidget *parent, LevelWidget *game);
    // Called as soon as the native window's state changes, also when a title
    // bar asks for it, before the compositor answers. A maximised or
    // full-screen window must take the compositor's size: Qt 6.4 on Wayland
    // would hold it at its maximum, and the compositor ends the connection of
    // a maximised window at another size. So the maximum goes first; it comes
    // back with the compositor's answer that the window is normal again, not
    // with the native window's state, which a late answer to an earlier
    // request can set back to normal in between.
    void followState(Qt::WindowState state);
    // Whether the window is maximised or full screen, or about to be, or not
    // yet back from it: the native window learns of a title bar's request
    // first, the widget of the compositor's answer (which, with Qt 6.11 on
    // Wayland, comes after the resize that goes with it).
    bool isLarge() const;
};

#endif
