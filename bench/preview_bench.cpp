// Times the preview on three max-size lines: a redraw at the window's first size and at a
// full-screen size, a keystroke in the limit's box (the pass lines made again, then
// redrawn), a read of the inputs when the window is activated after they changed, and the
// preview's first size, which the window works out as it is placed.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QWheelEvent>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "app/preview_lines.h"
#include "linefiles/line_grid.h"
#include "linefiles/line_text_writer.h"
#include "qt/preview.h"

namespace kelvane {

namespace {

// A folder holding max-size input lines whose separations wander around a sine.
struct MaxSizeLines {
  MaxSizeLines() {
    std::filesystem::create_directories(dir);
    std::mt19937 random(7);
    std::uniform_real_distribution<float> spread(-1, 1);
    const float offsets[] = {0, 6, -6};
    const char* names[] = {"Race.txt", "MaxRace.txt", "MinRace.txt"};
    for (int line = 0; line < 3; ++line) {
      LineGrid grid(LineGrid::kMaxCount);
      for (int row = 4; row <= grid.last_row(); ++row) {
        grid.at(row, 0) = static_cast<float>(row - 4) * 10.0F;
        grid.at(row, 2) =
            20 * std::sin(static_cast<float>(row) / 900) + offsets[line] + spread(random);
      }
      const LineGrid* grids[] = {&grid};
      std::ofstream(dir / names[line]) << FormatLineTexts(grids).front();
    }
  }
  ~MaxSizeLines() { std::filesystem::remove_all(dir); }
  std::filesystem::path dir =
      std::filesystem::temp_directory_path() / ("kelvane-preview-" + std::to_string(::getpid()));
};

const MaxSizeLines& Lines() {
  static const MaxSizeLines lines;
  return lines;
}

void BM_Redraw(benchmark::State& state) {
  PreviewSource source;
  source.Refresh(HeldFolder(Lines().dir));
  PreviewPlot plot;
  plot.resize(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  const PreviewLines lines = source.Lines("4");
  QImage image(plot.size(), QImage::Format_ARGB32_Premultiplied);
  for (auto _ : state) {
    plot.SetLines(lines);  // drawn anew, not the picture kept
    plot.render(&image);
  }
}
// The preview as the window opens at 96 dpi, and in a full-screen window.
// The preview's first size at the window's font: the longest texts laid out over 32,764
// rows, once as the window is placed.
void BM_FirstSize(benchmark::State& state) {
  const PreviewPlot plot;
  for (auto _ : state) benchmark::DoNotOptimize(plot.FirstSize(472));
}

BENCHMARK(BM_FirstSize)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Redraw)->Args({472, 243})->Args({1585, 1000})->Unit(benchmark::kMillisecond);

void BM_Keystroke(benchmark::State& state) {
  PreviewSource source;
  source.Refresh(HeldFolder(Lines().dir));
  PreviewPlot plot;
  plot.resize(472, 243);
  QImage image(plot.size(), QImage::Format_ARGB32_Premultiplied);
  bool odd = false;
  for (auto _ : state) {
    plot.SetLines(source.Lines((odd = !odd) ? "4" : "3"));
    plot.render(&image);
  }
}
BENCHMARK(BM_Keystroke)->Unit(benchmark::kMillisecond);

// The pointer moving across a full-screen preview shown on the screen, one column an event,
// and the wheel zooming in and out around it: each event and the drawing it asks for.
void BM_PointerRedraw(benchmark::State& state) {
  PreviewSource source;
  source.Refresh(HeldFolder(Lines().dir));
  PreviewPlot plot;
  plot.resize(1585, 1000);
  plot.SetLines(source.Lines("4"));
  plot.show();
  QApplication::processEvents();
  int x = 400;
  bool in = false;
  for (auto _ : state) {
    const QPointF at(x = x < 1400 ? x + 1 : 400, 500);
    if (state.range(0) == 0) {
      QMouseEvent moved(QEvent::MouseMove, at, at, Qt::NoButton, Qt::NoButton, Qt::NoModifier);
      QApplication::sendEvent(&plot, &moved);
    } else {
      QWheelEvent wheel(at, at, {}, {0, (in = !in) ? 120 : -120}, Qt::NoButton, Qt::NoModifier,
                        Qt::NoScrollPhase, false);
      QApplication::sendEvent(&plot, &wheel);
    }
    QApplication::processEvents();
  }
}
// 0: the pointer moving; 1: the wheel turning.
BENCHMARK(BM_PointerRedraw)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_ReadOnActivation(benchmark::State& state) {
  PreviewSource source;
  const std::filesystem::path elsewhere = std::filesystem::temp_directory_path();
  for (auto _ : state) {
    source.Refresh(HeldFolder(elsewhere));  // another folder, so that the next refresh reads
    benchmark::DoNotOptimize(source.Refresh(HeldFolder(Lines().dir)));
  }
}
BENCHMARK(BM_ReadOnActivation)->Unit(benchmark::kMillisecond);

}  // namespace

}  // namespace kelvane

int main(int argc, char* argv[]) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
