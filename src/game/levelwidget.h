// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef LEVELWIDGET_H
#define LEVELWIDGET_H

#include "area.h"
#include "levelobject.h"

#include <QBrush>
#include <QFont>
#include <QList>
#include <QPen>
#include <QPoint>
#include <QWidget>

// The game: one fixed-size widget that holds the loaded level, the wells the
// player has set, the game state and the mouse state, and paints the scene.
// animate() must be called once for every tickInterval milliseconds of play,
// as a TickClock does.
class LevelWidget : public QWidget
{
    Q_OBJECT

public:
    // Game states, held in `state` as plain ints.
    static constexpr int Ready = 0;
    static constexpr int Running = 1;
    static constexpr int Failed = 2;
    static constexpr int Passed = 3;

    static constexpr int fieldWidth = 800;
    static constexpr int fieldHeight = 480;
    static constexpr int tickInterval = 10; // milliseconds

    explicit LevelWidget(QWidget *parent = nullptr);
    ~LevelWidget() override;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    // Euclidean distance of a and b in single precision; 0.01 when the
    // points coincide, so that it can always be divided by.
    static float distance(const QPointF &a, const QPointF &b);

    // What the screen shows, in words: level, status and time.
    QString description() const;

signals:
    void exit();

public slots:
    // One simulation step: moves the free particles under the wells,
    // captures those that land in an area, counts the time while running
    // and repaints. The step length is the sending timer's interval, or
    // tickInterval when no timer sent the call.
    void animate();
    void paintEvent(QPaintEvent *event) override;
    // Replaces whatever is loaded by level 1, 2 or 3 (any other number gives
    // just the frame, and leaves remaining as it was) in the state Ready at
    // 0 ms, without wells.
    void loadLevel(int level);
    void level1();
    void level2();
    void level3();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;

private:
    friend struct LevelWidgetProbe;

    // Stores the state and paints the widget before returning.
    void setState(int newState);
    // The first left press of a level, or a well set across a restart: the
    // level runs from now on.
    void startLevel();
    // Tells assistive technology that the description changed; called on
    // each change of state or level, never for the time alone.
    void announce();
    void restartLevel();
    void clearLevel();
    // Appends the grey frame along the edges, from the current size.
    void addBorder();
    // The rectangle that the frame's outer edge encloses; a particle beyond
    // it has left the field.
    QRect frameBounds() const;
    // Applies the rule of every area that contains the particle's rounded
    // position, in list order; a particle beyond the frame counts as caught
    // by the frame.
    void capture(LevelObject &particle);
    // Called by the release that ends a drag: sets a well or removes one.
    void endDrag(const QPoint &release);
    void paintScene(QPainter *painter, QPaintEvent *event) const;

    QBrush backgroundBrush;
    QFont largeFont;
    QFont smallFont;
    QPen textPen;
    QPen dragLinePen;
    QPen wellMarkPen;
    QPoint mousePos;
    int elapsed;
    bool dragging;
    int state;
    int remaining;
    int level;
    QPoint pressPos;
    QPoint releasePos;
    QPoint wellPos;
    QList<LevelObject> wells;
    QList<LevelObject> particles;
    QList<Area> areas;
};

#endif
