// Load time of PL_grid_001.bin from the page cache and interpolation
// throughput over the loaded store. Writes a model grid (layer 1 zero) into a
// temporary folder first; prints figures, asserts nothing.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "grid/correction_grid.h"
#include "grid/interpolation.h"
#include "grid/model_grid.h"

namespace {

using namespace kolvedir;

std::filesystem::path g_gridFile;

void BM_LoadCorrectionGrid(benchmark::State& state) {
  for (auto _ : state) {
    if (LoadCorrectionGrid(g_gridFile) != GridLoadResult::kLoaded) {
      state.SkipWithError("grid refused");
      return;
    }
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(kGridFileBytes));
}
BENCHMARK(BM_LoadCorrectionGrid)->Unit(benchmark::kMillisecond);

// The runner and the help window ask once whether the installed grid is the model.
void BM_IsModelGrid(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(IsModelGrid(g_gridFile));
}
BENCHMARK(BM_IsModelGrid)->Unit(benchmark::kMillisecond);

// A walk of points over the rectangle. A survey file holds points a few
// metres to kilometres apart, so its cells stay in the cache ("near": steps of
// about 10 m); "scattered" jumps about a kilometre and more per call, so every
// call reads its corners from main memory.
struct Walk {
  double stepB, stepL;
  double B = 49.0, L = 14.0;
  void Next() {
    B += stepB;
    if (B > 55.0) B -= 6.0;
    L += stepL;
    if (L > 24.2) L -= 10.2;
  }
};

Walk WalkOf(const benchmark::State& state) {
  return state.range(1) == 0 ? Walk{0.0000923, 0.0001137} : Walk{0.0123457, 0.0314159};
}

void BM_InterpolateLayer(benchmark::State& state) {
  const int layer = static_cast<int>(state.range(0));
  Walk walk = WalkOf(state);
  double sum = 0;
  for (auto _ : state) {
    PointStatus status = 0;
    sum += InterpolateLayer(layer, walk.B, walk.L, status);
    walk.Next();
  }
  benchmark::DoNotOptimize(sum);
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_InterpolateLayer)
    ->ArgNames({"layer", "scattered"})
    ->Args({1, 0})
    ->Args({7, 0})
    ->Args({1, 1})
    ->Args({7, 1});

void BM_InverseShift(benchmark::State& state) {
  Walk walk = WalkOf(state);
  double sum = 0;
  for (auto _ : state) {
    PointStatus status = 0;
    double outB = 0, outL = 0;
    InverseShift(walk.B, walk.L, outB, outL, status);
    sum += outB + outL;
    walk.Next();
  }
  benchmark::DoNotOptimize(sum);
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_InverseShift)->ArgNames({"", "scattered"})->Args({0, 0})->Args({0, 1});

}  // namespace

int main(int argc, char** argv) {
  std::string folder = (std::filesystem::temp_directory_path() / "kolvedir-bench-XXXXXX").string();
  if (::mkdtemp(folder.data()) == nullptr) return 1;
  g_gridFile = CorrectionGridPath(folder);
  const bool written = WriteModelGrid(g_gridFile, {}) == ModelGridResult::kWritten &&
                       LoadCorrectionGrid(g_gridFile) == GridLoadResult::kLoaded;
  if (written) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
  }
  std::filesystem::remove_all(folder);
  return written ? 0 : 1;
}
