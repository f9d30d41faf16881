// SPDX-License-Identifier: GPL-3.0-or-later
#include "levelwidget.h"

#include "levelaccessible.h"
#include "palette.h"

#include <QAccessible>
#include <QKeyEvent>

namespace {

constexpr int largePixelSize = 50;
constexpr int smallPixelSize = 16;
constexpr qreal wellMarkWidth = 5.0;

QFont fontOfPixelSize(int pixelSize)
{
    QFont font;
    font.setPixelSize(pixelSize);
    return font;
}

} // namespace

LevelWidget::LevelWidget(QWidget *parent)
    : QWidget(parent)
    , backgroundBrush(QColor(Palette::field), Qt::SolidPattern)
    , largeFont(fontOfPixelSize(largePixelSize))
    , smallFont(fontOfPixelSize(smallPixelSize))
    , textPen(Palette::solidPen(QColor(Qt::yellow), 0))
    , dragLinePen(Palette::solidPen(QColor(Qt::green), 0))
    , wellMarkPen(Palette::solidPen(QColor(0, 255, 255), wellMarkWidth))
    , elapsed(0)
    , dragging(false)
    , state(Ready)
    , remaining(0)
    , level(1)
{
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    // Every paint fills what it exposes, so Qt need not clear it first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    QAccessible::installFactory(LevelAccessible::create);
    // The levels are laid out from the widget's size, so fix it first.
    setFixedSize(fieldWidth, fieldHeight);
    loadLevel(1);
}

LevelWidget::~LevelWidget() = default;

QSize LevelWidget::sizeHint() const
{
    return QSize(400, 400);
}

QSize LevelWidget::minimumSizeHint() const
{
    return QSize(50, 50);
}

void LevelWidget::level1()
{
    loadLevel(1);
}

void LevelWidget::level2()
{
    loadLevel(2);
}

void LevelWidget::level3()
{
    loadLevel(3);
}

void LevelWidget::keyReleaseEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape)
        emit exit();
}

void LevelWidget::setState(int newState)
{
    const bool changed = newState != state;
    state = newState;
    repaint();
    if (changed)
        announce();
}

void LevelWidget::startLevel()
{
    state = Running;
    announce();
}

void LevelWidget::announce()
{
    QAccessibleEvent event(this, QAccessible::DescriptionChanged);
    QAccessible::updateAccessibility(&event);
}
