// SPDX-License-Identifier: GPL-3.0-or-later
#include "levelaccessible.h"

#include "levelwidget.h"

LevelAccessible::LevelAccessible(LevelWidget *game)
    : QAccessibleWidget(game, QAccessible::Canvas)
{}

QString LevelAccessible::text(QAccessible::Text t) const
{
    switch (t) {
    case QAccessible::Name:
        return QStringLiteral("Drift Harbour field");
    case QAccessible::Description:
        return static_cast<const LevelWidget *>(widget())->description();
    default:
        return QAccessibleWidget::text(t);
    }
}

QAccessibleInterface *LevelAccessible::create(const QString &, QObject *object)
{
    auto *game = qobject_cast<LevelWidget *>(object);
    return game ? new LevelAccessible(game) : nullptr;
}
