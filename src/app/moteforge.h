#ifndef MOTEFORGE_H
#define MOTEFORGE_H

#include <QMainWindow>

class LevelWidget;
class QMenuBar;

// The game's window: the game widget under a menu bar, at a fixed size, with
// the timer that drives the game. exit() asks the application to quit.
class moteforge : public QMainWindow
{
    Q_OBJECT

public:
    explicit moteforge(QWidget *parent = nullptr);
    ~moteforge() override;

signals:
    void exit();

private:
    QMenuBar *createMenuBar(QWidget *parent, LevelWidget *game);
};

#endif
