// Times the whole job on three max-size line files, and the reader and the writer alone.
// The "allocs" counter is the number of heap allocations per iteration.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "bench/allocation_count.h"
#include "linefiles/line_grid.h"
#include "linefiles/line_text_parser.h"
#include "linefiles/line_text_writer.h"
#include "passlines/compute_pass_lines.h"

namespace kelvane {

namespace {

// A max-size line whose separations wander around `offset` meters.
std::string MaxSizeLineText(float offset, unsigned seed) {
  std::mt19937 random(seed);
  std::uniform_real_distribution<float> spread(-5, 5);
  LineGrid grid(LineGrid::kMaxCount);
  grid.at(2, 0) = 327640;
  for (int row = 4; row <= grid.last_row(); ++row) {
    grid.at(row, 0) = static_cast<float>(row - 4) * 10.0F;
    grid.at(row, 1) = spread(random) * 36.0F;
    grid.at(row, 2) = offset + spread(random);
    grid.at(row, 3) = 150.0F + spread(random) * 10.0F;
    grid.at(row, 4) = 0.9F + spread(random) / 100.0F;
  }
  const LineGrid* grids[] = {&grid};
  return FormatLineTexts(grids).front();
}

void Count(benchmark::State& state, long before) {
  state.counters["allocs"] = benchmark::Counter(static_cast<double>(AllocationCount() - before),
                                                benchmark::Counter::kAvgIterations);
}

void BM_ParseMaxSizeLine(benchmark::State& state) {
  const std::string text = MaxSizeLineText(0, 1);
  const long before = AllocationCount();
  for (auto _ : state) benchmark::DoNotOptimize(ParseLineText(text, "Race.txt"));
  Count(state, before);
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
}
BENCHMARK(BM_ParseMaxSizeLine)->Unit(benchmark::kMillisecond);

void BM_FormatMaxSizeLine(benchmark::State& state) {
  const LineGrid grid = ParseLineText(MaxSizeLineText(0, 1), "Race.txt");
  const long before = AllocationCount();
  const LineGrid* grids[] = {&grid};
  for (auto _ : state) benchmark::DoNotOptimize(FormatLineTexts(grids));
  Count(state, before);
}
BENCHMARK(BM_FormatMaxSizeLine)->Unit(benchmark::kMillisecond);

void BM_WholeJobOnMaxSizeLines(benchmark::State& state) {
  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() / ("kelvane-bench-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  const struct {
    const char* name;
    float offset;
  } inputs[] = {{"Race.txt", 0}, {"MaxRace.txt", 6}, {"MinRace.txt", -6}};
  for (const auto& input : inputs)
    std::ofstream(dir / input.name) << MaxSizeLineText(input.offset, 7);
  const long before = AllocationCount();
  for (auto _ : state) ComputePassLines(dir, 4);
  Count(state, before);
  std::filesystem::remove_all(dir);
}
BENCHMARK(BM_WholeJobOnMaxSizeLines)->Unit(benchmark::kMillisecond);

}  // namespace

}  // namespace kelvane

BENCHMARK_MAIN();
