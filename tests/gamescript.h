#ifndef GAMESCRIPT_H
#define GAMESCRIPT_H

#include "levelwidget.h"
#include "levelwidgetprobe.h"

#include <QtTest>

// Plays a short script on the widget, with QTest mouse events and direct
// ticks. Commands, separated by ';':
//   press B x y | release B x y | dclick B x y | move x y   (B: L, R or M)
//   drag x1 y1 x2 y2 (left press, move, release) | click x y (left)
//   ticks N | state S | load N
inline void playScript(LevelWidget &widget, const QString &script)
{
    LevelWidgetProbe game(widget);
    const auto button = [](const QString &name) {
        return name == "L" ? Qt::LeftButton : name == "R" ? Qt::RightButton : Qt::MiddleButton;
    };
    for (const QString &command : script.split(';', Qt::SkipEmptyParts)) {
        const QStringList words = command.simplified().split(' ');
        QList<int> n;
        for (const QString &word : words.mid(1))
            n << word.toInt();
        const QString &verb = words.first();
        if (verb == "press")
            QTest::mousePress(&widget, button(words[1]), {}, QPoint(n[1], n[2]));
        else if (verb == "release")
            QTest::mouseRelease(&widget, button(words[1]), {}, QPoint(n[1], n[2]));
        else if (verb == "dclick")
            QTest::mouseDClick(&widget, button(words[1]), {}, QPoint(n[1], n[2]));
        else if (verb == "move")
            QTest::mouseMove(&widget, QPoint(n[0], n[1]));
        else if (verb == "drag")
            playScript(widget, QStringLiteral("press L %1 %2; move %3 %4; release L %3 %4")
                                   .arg(n[0])
                                   .arg(n[1])
                                   .arg(n[2])
                                   .arg(n[3]));
        else if (verb == "click")
            playScript(widget,
                       QStringLiteral("press L %1 %2; release L %1 %2").arg(n[0]).arg(n[1]));
        else if (verb == "ticks")
            for (int i = 0; i < n[0]; ++i)
                widget.animate();
        else if (verb == "state")
            game.state() = n[0];
        else if (verb == "time")
            game.elapsed() = n[0];
        else if (verb == "load")
            widget.loadLevel(n[0]);
        else
            QFAIL(qPrintable("unknown script command " + command));
    }
}

#endif
