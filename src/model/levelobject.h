// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef LEVELOBJECT_H
#define LEVELOBJECT_H

#include <QPen>
#include <QPointF>

class QPainter;

// A point-like thing of a level: a particle that the wells move, or a
// gravity well that the player sets. The QPointF base is the position in
// widget pixels. Objects are values: lists hold their own copies.
class LevelObject : public QPointF
{
public:
    static constexpr int RedWell = 0;
    static constexpr int BlueWell = 1;
    static constexpr int RedParticle = 2;
    static constexpr int BlueParticle = 3;

    LevelObject(int x, int y, int kind);
    virtual ~LevelObject();

    // Sets the position to p unless the object is stopped.
    void moveTo(const QPointF &p);
    // Freezes the object where it is, with zero velocity and acceleration.
    void stop();
    // One constant-acceleration step of length dt under a:
    // p' = p + v dt + a dt^2 / 2, then v' = v + a dt. A stopped object keeps
    // its position.
    void advance(float dt, const QPointF &a);
    // Draws the coloured square and the white mark; leaves markPen selected.
    void draw(QPainter *painter) const;

    int kind;
    QPointF velocity;
    QPointF acceleration;
    bool stopped;
    QPen redWellPen;
    QPen blueWellPen;
    QPen redParticlePen;
    QPen blueParticlePen;
    QPen markPen;
};

#endif
