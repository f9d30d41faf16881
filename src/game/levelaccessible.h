// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef LEVELACCESSIBLE_H
#define LEVELACCESSIBLE_H

#include <QAccessibleWidget>

class LevelWidget;

// What assistive technology learns of the game widget: a named canvas whose
// description tells the level, its status and its time, read when asked.
class LevelAccessible : public QAccessibleWidget
{
public:
    explicit LevelAccessible(LevelWidget *game);

    QString text(QAccessible::Text t) const override;

    // The factory that Qt asks for an object's interface: one of these for
    // each game widget, none for anything else.
    static QAccessibleInterface *create(const QString &className, QObject *object);
};

#endif
