// The library's transformer: one grid per process shared by every transformer,
// descriptions refused as the runner refuses them, and one transformer used
// from many threads at once.
#include "kolvedir/transformer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <thread>
#include <vector>

#include "tests/grid/grid_test_files.h"

namespace kolvedir {
namespace {

using testing::ConstantLayers;
using testing::GridBytes;
using testing::TemporaryFolder;
using testing::WriteBytes;

// The height anomaly task: c = 0.0001 m · layer 1 of the grid.
TransformerDescription AnomalyFrom(const std::filesystem::path& grid) {
  TransformerDescription d;
  d.source = "BL";
  d.source_frame = "PL-ETRF2000";
  d.grid = grid.string();
  return d;
}

double AnomalyAt(const Transformer& t, double B, double L) {
  double a = 0, b = 0, c = 0;
  std::int32_t status = -1;
  t.Transform({{&B, 1}, {&L, 1}, {}}, {{&a, 1}, {&b, 1}, {&c, 1}, {&status, 1}, {}, {}});
  EXPECT_EQ(status, 0);
  return c;
}

class SharedGridTest : public ::testing::Test {
 protected:
  SharedGridTest() {
    WriteBytes(first_.path() / "PL_grid_001.bin", GridBytes(ConstantLayers(1000, 1, 1)));
    WriteBytes(second_.path() / "PL_grid_001.bin", GridBytes(ConstantLayers(2000, 1, 1)));
  }
  std::filesystem::path First() const { return first_.path() / "PL_grid_001.bin"; }
  std::filesystem::path Second() const { return second_.path() / "PL_grid_001.bin"; }

  TemporaryFolder first_, second_;
};

TEST_F(SharedGridTest, AnotherGridWaitsUntilNoTransformerUsesTheFirst) {
  {
    const Transformer one(AnomalyFrom(First()));
    // The same file by another spelling shares the grid read for the first.
    const Transformer two(AnomalyFrom(First().parent_path() / "." / "PL_grid_001.bin"));
    EXPECT_DOUBLE_EQ(AnomalyAt(two, 52.0, 19.0), 0.1);
    try {
      Transformer refused(AnomalyFrom(Second()));
      FAIL() << "a second grid replaced the one in use";
    } catch (const TransformerError& e) {
      EXPECT_NE(std::string(e.what()).find(first_.path().filename().string()), std::string::npos);
    }
    EXPECT_DOUBLE_EQ(AnomalyAt(one, 52.0, 19.0), 0.1);
  }
  const Transformer replaced(AnomalyFrom(Second()));
  EXPECT_DOUBLE_EQ(AnomalyAt(replaced, 52.0, 19.0), 0.2);
}

// The library refuses what kolvedir-batch refuses, with its messages; a zone
// as a number or as the runner's text; a number of threads as the runner's.
TEST(TransformerRefusalTest, RefusesWhatTheRunnerRefuses) {
  TemporaryFolder folder;
  WriteBytes(folder.path() / "PL_grid_001.bin", GridBytes(ConstantLayers(0, 1, 1)));
  const auto xy2000 = [&](Zone zone) {
    TransformerDescription d;
    d.source = "xy2000";
    d.source_zone = std::move(zone);
    d.source_frame = "PL-ETRF2000";
    d.target = "xy92";
    d.target_frame = "PL-ETRF2000";
    d.grid = (folder.path() / "PL_grid_001.bin").string();
    return d;
  };
  const auto toUtm18 = [&] {
    TransformerDescription d = xy2000(18);
    d.target = "UTM";
    d.target_zone = "18";
    return d;
  };
  const struct {
    TransformerDescription description;
    int threads;
    std::string message;
  } cases[] = {
      {xy2000(19), 1, "--from-zone: xy2000 ma strefy 15, 18, 21, 24"},
      {xy2000(-18), 1, "--from-zone: xy2000 ma strefy 15, 18, 21, 24"},
      {xy2000("0x12"), 1, "--from-zone: wartość nie jest liczbą całkowitą"},
      {xy2000(0), 1, "Nie określono strefy na wejściu"},  // 0: no zone
      {toUtm18(), 1, "--to-zone: UTM ma strefy 15, 21"},
      {xy2000(18), -1, "--threads: -1 nie jest liczbą wątków"},
      {xy2000(18), 10000, "--threads: 10000 nie jest liczbą wątków"},
  };
  for (const auto& c : cases) {
    try {
      double a = 0, b = 0, out = 0;
      std::int32_t status = 0;
      Transformer(c.description)
          .Transform({{&a, 1}, {&b, 1}, {}}, {{&out, 1}, {&out, 1}, {&out, 1}, {&status, 1}, {}, {}},
                     c.threads);
      ADD_FAILURE() << "accepted: " << c.message;
    } catch (const TransformerError& e) {
      EXPECT_EQ(e.what(), c.message);
    }
  }
}

// BLH_GRS in PL-ETRF2000 to xy2000 zone 18 in PL-ETRF89 on a grid of zeros,
// and n points over Poland.
class TransformerThreadsTest : public ::testing::Test {
 protected:
  struct Result {
    std::vector<double> a, b, c, distortion, convergence;
    std::vector<std::int32_t> status;
    // Filled with values no point gets, so that a point left out shows.
    explicit Result(std::size_t n)
        : a(n, -1), b(n, -1), c(n, -1), distortion(n, -1), convergence(n, -1), status(n, -1) {}
    ResultArrays Arrays() { return {a, b, c, status, distortion, convergence}; }
    bool operator==(const Result&) const = default;
  };

  TransformerThreadsTest() {
    WriteBytes(folder_.path() / "PL_grid_001.bin", GridBytes(ConstantLayers(0, 1, 1)));
  }
  Transformer Make() const {
    TransformerDescription d;
    d.source = "BLH_GRS";
    d.source_frame = "PL-ETRF2000";
    d.target = "xy2000";
    d.target_zone = 18;
    d.target_frame = "PL-ETRF89";
    d.method = "theoretical";
    d.grid = (folder_.path() / "PL_grid_001.bin").string();
    return Transformer(d);
  }
  void MakePoints(std::size_t n) {
    B.resize(n), L.resize(n);
    for (std::size_t i = 0; i < n; ++i) {
      B[i] = 49.5 + 5.0 * i / n;
      L[i] = 17.0 + std::fmod(0.37 * i, 3.0);
    }
  }
  Result Run(const Transformer& t, int threads) const {
    Result r(B.size());
    t.Transform({B, L, {}}, r.Arrays(), threads);
    return r;
  }

  std::vector<double> B, L;

 private:
  TemporaryFolder folder_;
};

TEST_F(TransformerThreadsTest, OneTransformerServesManyThreadsAtOnce) {
  const Transformer t = Make();
  MakePoints(50000);
  const Result alone = Run(t, 1);
  std::vector<Result> results(6, Result(B.size()));
  std::vector<std::jthread> threads;
  for (Result& r : results) threads.emplace_back([&] { t.Transform({B, L, {}}, r.Arrays(), 2); });
  threads.clear();
  for (const Result& r : results) EXPECT_TRUE(r == alone);
}

// Counts that the number of threads does not divide: every point is
// computed, once, as one thread computes it.
TEST_F(TransformerThreadsTest, AnyCountSplitsBetweenThreads) {
  const Transformer t = Make();
  const struct {
    std::size_t points;
    int threads;
  } table[] = {{49153, 3}, {65537, 4}, {200003, 4}};
  for (const auto& c : table) {
    MakePoints(c.points);
    const Result one = Run(t, 1);
    EXPECT_EQ(std::count(one.status.begin(), one.status.end(), 0), std::ptrdiff_t(c.points));
    EXPECT_TRUE(Run(t, c.threads) == one) << c.points << " points, " << c.threads << " threads";
  }
}

}  // namespace
}  // namespace kolvedir
