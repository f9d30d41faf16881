// SPDX-License-Identifier: GPL-3.0-or-later
// The cost of one game tick, for each level and a range of well counts:
// - step: the simulation step alone;
// - scene: the scene's drawing calls alone, once, on a painter on an image;
// - tick: the step and a full paint of the widget into an image of its size,
//   which should cost no more than step plus scene.
//
//   QT_QPA_PLATFORM=offscreen ./tickbench

#include "levelwidget.h"
#include "levelwidgetprobe.h"

#include <QApplication>
#include <QImage>
#include <QPaintEvent>
#include <QPainter>

#include <benchmark/benchmark.h>

namespace {

// Loads the level in Running and sets the wells in pairs of both colours at
// the same points, so that every particle feels all of them and none moves:
// the cost stays that of a level in full play, tick after tick.
void prepare(LevelWidget &widget, int level, int wells)
{
    widget.loadLevel(level);
    LevelWidgetProbe game{widget};
    game.state() = LevelWidget::Running;
    for (int i = 0; i < wells; ++i) {
        const int x = 100 + (i / 2 * 37) % 600;
        const int y = 60 + (i / 2 * 53) % 360;
        game.wells() << LevelObject(x, y, i % 2 ? LevelObject::RedWell : LevelObject::BlueWell);
    }
}

void report(benchmark::State &state, LevelWidget &widget)
{
    LevelWidgetProbe game{widget};
    // A step costs a pass over the areas and one over the wells per particle.
    state.SetComplexityN(int64_t((game.wells().size() + 1) * game.particles().size()));
    state.counters["wells"] = double(game.wells().size());
    state.counters["particles"] = double(game.particles().size());
}

void step(benchmark::State &state)
{
    LevelWidget widget;
    prepare(widget, int(state.range(0)), int(state.range(1)));
    for (auto _ : state)
        widget.animate();
    report(state, widget);
}

void scene(benchmark::State &state)
{
    LevelWidget widget;
    prepare(widget, int(state.range(0)), int(state.range(1)));
    QImage image(widget.size(), QImage::Format_RGB32);
    QPaintEvent event(widget.rect());
    for (auto _ : state) {
        QPainter painter(&image);
        LevelWidgetProbe{widget}.paintScene(&painter, &event);
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
    report(state, widget);
}

void tick(benchmark::State &state)
{
    LevelWidget widget;
    prepare(widget, int(state.range(0)), int(state.range(1)));
    QImage image(widget.size(), QImage::Format_RGB32);
    for (auto _ : state) {
        widget.animate();
        widget.render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
    report(state, widget);
}

void wellCounts(benchmark::internal::Benchmark *b)
{
    b->ArgNames({"level", "wells"})->ArgsProduct({{1, 2, 3}, {0, 10, 100, 1000, 10000}});
}

} // namespace

BENCHMARK(step)->Apply(wellCounts)->Complexity(benchmark::oN);
BENCHMARK(scene)->Apply(wellCounts)->Unit(benchmark::kMicrosecond);
BENCHMARK(tick)->Apply(wellCounts)->Unit(benchmark::kMicrosecond);

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
