// Throughput of the point-record work of a job: splitting and reading a
// record, writing one in each layout, and a whole file read and written
// through the point files (100,000 plane records). Prints figures, asserts nothing.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "engine/point_files.h"
#include "engine/point_record.h"

namespace {

using namespace kolvedir;

void BM_SplitAndReadPlaneRecord(benchmark::State& state) {
  const std::string line = "   1235 5652126.563 6429808.461 wiersz z komentarzem";
  TokenList tokens;
  for (auto _ : state) {
    SplitLine(line, tokens);
    benchmark::DoNotOptimize(
        ReadPointValues(tokens, RecordKind::kPlane, BlFormat::kDegreesMinutesSeconds));
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_SplitAndReadPlaneRecord);

void BM_SplitAndReadDmsRecord(benchmark::State& state) {
  const std::string line = "1001 50 56 15.3406 21 34 18.7619 225.361 PL-ETRF2000";
  TokenList tokens;
  for (auto _ : state) {
    SplitLine(line, tokens);
    benchmark::DoNotOptimize(
        ReadPointValues(tokens, RecordKind::kGeodetic, BlFormat::kDegreesMinutesSeconds));
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_SplitAndReadDmsRecord);

// range(0): record kind; range(1): BL format.
void BM_FormatRecord(benchmark::State& state) {
  OutputValues v;
  v.BArcSeconds = 183601.257090;
  v.LArcSeconds = 61206.398814;
  v.h = -38.0793;
  v.x = 5652126.5634;
  v.y = 6429808.4612;
  v.distortion = -7.7;
  v.convergence = -0.91234567;
  v.X = 3652000.1234;
  v.Y = 1200000.5678;
  v.Z = 4900000.9012;
  const std::string comment = " PL-ETRF89  Z UK\xA3" "ADU:  PL-ETRF2000 /xy2000  OPCJA EMPIR. ";
  std::string line;
  for (auto _ : state) {
    line.clear();
    AppendPointRecord(line, "1235", v, RecordKind(state.range(0)), BlFormat(state.range(1)), 6, 4,
                      comment);
    benchmark::DoNotOptimize(line.data());
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_FormatRecord)
    ->ArgNames({"kind", "format"})
    ->Args({1, 1})   // geodetic, degrees-minutes-seconds
    ->Args({1, 2})   // geodetic, decimal degrees
    ->Args({2, 1})   // plane
    ->Args({3, 1});  // Cartesian

// A whole file: read, split, read the numbers, write the same record back.
void BM_CopyPointFile(benchmark::State& state) {
  char folderName[] = "/tmp/kolvedir-engine-bench-XXXXXX";
  const std::filesystem::path folder = ::mkdtemp(folderName);
  const std::filesystem::path input = folder / "xy2000";
  constexpr int kRecords = 100000;
  {
    std::FILE* f = std::fopen(input.c_str(), "wb");
    for (int i = 0; i < kRecords; ++i) std::fprintf(f, "%d %.3f %.3f\r\n", i, 5.6e6 + i, 6.4e6 + i);
    std::fclose(f);
  }
  std::string line, record;
  TokenList tokens;
  for (auto _ : state) {
    LineSource source;
    OutputSink sink;
    source.Open(input);
    sink.Create(folder / "xy2000.1");
    while (source.NextLine(line)) {
      SplitLine(line, tokens);
      const PointValues p =
          ReadPointValues(tokens, RecordKind::kPlane, BlFormat::kDegreesMinutesSeconds);
      OutputValues v;
      v.x = p.x;
      v.y = p.y;
      record.clear();
      AppendPointRecord(record, tokens[1], v, RecordKind::kPlane,
                        BlFormat::kDegreesMinutesSeconds, 6, 4, " komentarz");
      sink.WriteLine(record);
    }
    sink.Commit();
  }
  state.SetItemsProcessed(state.iterations() * kRecords);
  std::filesystem::remove_all(folder);
}
BENCHMARK(BM_CopyPointFile)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
