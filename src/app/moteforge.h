// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef MOTEFORGE_H
#define MOTEFORGE_H

#include <QMainWindow>

class LevelWidget;
class QMenuBar;

// The game's window: the game widget under a menu bar, at a fixed size, with
// the timer that drives the game. exit() asks the application to quit. On
// Wayland the window follows a maximised or full-screen state, with the field
// centred on its own colour, and keeps its own size in any other.
class moteforge : public QMainWindow
{
    Q_OBJECT

public:
    explicit moteforge(QWidget *parent = nullptr);
    ~moteforge() override;

signals:
    void exit();

protected:
    // Keeps the field in the middle of the space below the menu bar.
    bool event(QEvent *event) override;
    // Brings the window back to its own size unless it is maximised or full
    // screen; on X11, where its size is fixed, it always is at that size.
    void resizeEvent(QResizeEvent *event) override;
    // Paints what the field leaves uncovered in the field's colour.
    void paintEvent(QPaintEvent *event) override;

private:
    QMenuBar *createMenuBar(QWidget *parent, LevelWidget *game);
};

#endif
