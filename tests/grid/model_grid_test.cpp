#include "grid/model_grid.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <fstream>

#include "grid/correction_grid.h"
#include "grid/empirical_corrections.h"
#include "grid/frame_transformation.h"
#include "tests/grid/grid_test_files.h"

namespace kolvedir {
namespace {

using testing::TemporaryFolder;

// One model grid (layer 1 zero) for the whole suite: writing it takes a moment.
class ModelGrid : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    folder_ = new TemporaryFolder;
    ASSERT_EQ(WriteModelGrid(GridFile(), {}), ModelGridResult::kWritten);
  }
  static void TearDownTestSuite() {
    delete folder_;
    folder_ = nullptr;
  }
  void SetUp() override { ASSERT_EQ(LoadCorrectionGrid(GridFile()), GridLoadResult::kLoaded); }
  static std::filesystem::path GridFile() { return CorrectionGridPath(folder_->path()); }

  static TemporaryFolder* folder_;
};
TemporaryFolder* ModelGrid::folder_ = nullptr;

TEST_F(ModelGrid, IsValidAndMarkedAsModel) {
  EXPECT_EQ(std::filesystem::file_size(GridFile()), kGridFileBytes);
  EXPECT_TRUE(IsModelGrid(GridFile()));
  for (int i = 0; i < kGridRows; ++i) {
    for (int j = 0; j < kGridColumns; ++j) {
      const GridNode& node = CorrectionGridNode(i, j);
      ASSERT_NE(node[6], 0) << i << ", " << j;
      ASSERT_EQ(node[0], 0);
      ASSERT_EQ(node[1], 0);
      ASSERT_EQ(node[2], 0);
    }
  }
}

// Differences between the methods, in metres on the ground.
struct Difference {
  double north = 0, east = 0, up = 0;
};

constexpr double kMetresPerDegree = 111320.0;  // along a meridian, rounded up

void Widen(Difference& worst, double B, double dB, double dL, double dh) {
  worst.north = std::max(worst.north, std::abs(dB) * kMetresPerDegree);
  worst.east = std::max(worst.east, std::abs(dL) * kMetresPerDegree * std::cos(B * M_PI / 180));
  worst.up = std::max(worst.up, std::abs(dh));
}

// The model grid tabulates the theory, so both methods agree over the whole
// rectangle: points on a dense lattice not aligned with the nodes. Layers 4 to
// 6 are blended bilinearly and agree to a fraction of a millimetre. Layers 7
// and 8 are blended by inverse-distance weights, which do not reproduce a
// sloping field (a quarter into a cell they give a third of the change); the
// model's layer 8 changes by up to 53·1e-8° per row, so the Pulkovo'42 steps
// agree to about 12 mm.
TEST_F(ModelGrid, EmpiricalAgreesWithTheoreticalEverywhere) {
  constexpr double kEtrfTolerance = 0.0005;    // m
  constexpr double kPulkovoTolerance = 0.015;  // m
  Difference to2000, to89, toPulkovo, fromPulkovo;
  int points = 0;
  for (double B = 49.0; B <= 55.0; B += 0.0137) {
    for (double L = 14.0; L <= 24.2; L += 0.0173) {
      ++points;
      const double h = 150.0;
      PointStatus status = 0;
      double Be = 0, Le = 0, he = 0, Bt = 0, Lt = 0, ht = 0;
      const auto compare = [&](auto operation, Difference& worst) {
        operation(B, L, h, ComputationMethod::kEmpirical, Be, Le, he, status);
        operation(B, L, h, ComputationMethod::kTheoretical, Bt, Lt, ht, status);
        ASSERT_EQ(status, 0) << B << " " << L;
        Widen(worst, B, Be - Bt, Le - Lt, he - ht);
      };
      compare(Etrf89ToEtrf2000Blh, to2000);
      compare(Etrf2000ToEtrf89Blh, to89);
      compare(Etrf89ToPulkovoBlh, toPulkovo);
      // Back from the theoretical Pulkovo'42 image of the point.
      const double BP = Bt, LP = Lt, hP = ht;
      PulkovoToEtrf89Blh(BP, LP, hP, ComputationMethod::kEmpirical, Be, Le, he, status);
      PulkovoToEtrf89Blh(BP, LP, hP, ComputationMethod::kTheoretical, Bt, Lt, ht, status);
      ASSERT_EQ(status, 0) << BP << " " << LP;
      Widen(fromPulkovo, B, Be - Bt, Le - Lt, he - ht);
    }
  }
  EXPECT_GT(points, 250000);
  struct Step {
    const char* name;
    Difference worst;
    double tolerance;
  };
  for (const Step& step : {Step{"to PL-ETRF2000", to2000, kEtrfTolerance},
                           Step{"to PL-ETRF89", to89, kEtrfTolerance},
                           Step{"to Pulkovo'42", toPulkovo, kPulkovoTolerance},
                           Step{"from Pulkovo'42", fromPulkovo, kPulkovoTolerance}}) {
    const auto& [name, worst, tolerance] = step;
    EXPECT_LT(worst.north, tolerance) << name;
    EXPECT_LT(worst.east, tolerance) << name;
    EXPECT_LT(worst.up, tolerance) << name;
    std::cout << name << ": worst north " << worst.north << " m, east " << worst.east
              << " m, up " << worst.up << " m\n";
  }
}

TEST_F(ModelGrid, OfficialGridCopiedOverTheModelIsNotAModel) {
  TemporaryFolder other;
  const std::filesystem::path grid = CorrectionGridPath(other.path());
  std::filesystem::copy_file(GridFile(), grid);
  std::filesystem::copy_file(ModelMarkerPath(GridFile()), ModelMarkerPath(grid));
  EXPECT_TRUE(IsModelGrid(grid));

  std::vector<unsigned char> bytes = testing::GridBytes(testing::ConstantLayers(1, 2, 3));
  testing::WriteBytes(grid, bytes);
  EXPECT_FALSE(IsModelGrid(grid));
  std::filesystem::remove(grid);
  EXPECT_FALSE(IsModelGrid(grid));
}

TEST_F(ModelGrid, GridWithoutMarkerIsNotAModel) {
  TemporaryFolder other;
  const std::filesystem::path grid = CorrectionGridPath(other.path());
  std::filesystem::copy_file(GridFile(), grid);
  EXPECT_FALSE(IsModelGrid(grid));
}

// Bytes this process has read so far (read() and the like).
std::uintmax_t BytesReadSoFar() {
  std::ifstream io("/proc/self/io");
  std::string key;
  std::uintmax_t value = 0;
  while (io >> key >> value) {
    if (key == "rchar:") return value;
  }
  return 0;
}

// Hostile files where the grid or its marker should be, beside the other of
// the two as the model has it. None may block, be read for ever or be read
// whole: IsModelGrid answers false at once, having read at most the marker.
TEST_F(ModelGrid, HostileGridOrMarkerIsNeitherWaitedForNorRead) {
  namespace fs = std::filesystem;
  const struct {
    const char* what;
    bool hostileMarker;  // else the grid is hostile
    void (*lay)(const fs::path& file);
  } kCases[] = {
      {"grid is a FIFO", false, [](const fs::path& f) { ASSERT_EQ(::mkfifo(f.c_str(), 0600), 0); }},
      {"grid links to /dev/zero", false, [](const fs::path& f) { fs::create_symlink("/dev/zero", f); }},
      {"grid is a 16 GB sparse file", false,
       [](const fs::path& f) {
         std::ofstream{f};
         fs::resize_file(f, std::uintmax_t{16} << 30);
       }},
      {"marker is a FIFO", true, [](const fs::path& f) { ASSERT_EQ(::mkfifo(f.c_str(), 0600), 0); }},
      {"marker links to /dev/zero", true, [](const fs::path& f) { fs::create_symlink("/dev/zero", f); }},
  };
  constexpr std::uintmax_t kMostBytesRead = 64 << 10;
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.what);
    TemporaryFolder other;
    const fs::path grid = CorrectionGridPath(other.path());
    if (c.hostileMarker) {
      fs::copy_file(GridFile(), grid);
      c.lay(ModelMarkerPath(grid));
    } else {
      fs::copy_file(ModelMarkerPath(GridFile()), ModelMarkerPath(grid));
      c.lay(grid);
    }
    constexpr int kAnswered = 0, kReadTooMuch = 1, kTakenForModel = 2;
    const std::optional<int> outcome = testing::ExitStatusWithin(5, [&grid] {
      const std::uintmax_t before = BytesReadSoFar();
      if (IsModelGrid(grid)) return kTakenForModel;
      return BytesReadSoFar() - before > kMostBytesRead ? kReadTooMuch : kAnswered;
    });
    EXPECT_EQ(outcome, kAnswered) << "(none: stopped after 5 s)";
  }
}

// A GTX file: big-endian header (south, west, steps in degrees; rows, columns)
// then big-endian float heights in metres, rows south to north.
void WriteGtx(const std::filesystem::path& file, double south, double west, double step, int rows,
              int columns, float (*height)(double B, double L)) {
  std::ofstream out(file, std::ios::binary);
  const auto put = [&](auto value) {
    unsigned char bytes[sizeof value];
    std::memcpy(bytes, &value, sizeof value);
    std::reverse(std::begin(bytes), std::end(bytes));
    out.write(reinterpret_cast<const char*>(bytes), sizeof bytes);
  };
  put(south);
  put(west);
  put(step);
  put(step);
  put(std::int32_t{rows});
  put(std::int32_t{columns});
  for (int r = 0; r < rows; ++r) {
    for (int c = 0; c < columns; ++c) put(height(south + step * r, west + step * c));
  }
}

// A geoid that is linear in B and L is reproduced at every node in 0.1 mm.
TEST(ModelGridGeoid, LayerOneFromGtx) {
  TemporaryFolder folder;
  const std::filesystem::path gtx = folder.path() / "plane.gtx";
  const auto plane = [](double B, double L) { return float(30.0 + 2.0 * (B - 48.0) - 0.5 * (L - 13.0)); };
  WriteGtx(gtx, 48.0, -180.0, 0.5, 17, 720, plane);
  const std::filesystem::path grid = CorrectionGridPath(folder.path());
  ASSERT_EQ(WriteModelGrid(grid, gtx), ModelGridResult::kWritten);
  ASSERT_EQ(LoadCorrectionGrid(grid), GridLoadResult::kLoaded);
  const int nodes[][2] = {{0, 0}, {200, 300}, {600, 1020}, {333, 777}};
  for (const auto& [i, j] : nodes) {
    const double expected = 30.0 + 2.0 * (1.0 + 0.01 * i) - 0.5 * (1.0 + 0.01 * j);
    EXPECT_NEAR(CorrectionGridValue(1, i, j) * 0.0001, expected, 0.0002) << i << ", " << j;
  }
}

TEST(ModelGridGeoid, GtxNotCoveringPolandIsRefused) {
  TemporaryFolder folder;
  const std::filesystem::path gtx = folder.path() / "small.gtx";
  WriteGtx(gtx, 50.0, 14.0, 0.5, 5, 5, [](double, double) { return 30.0f; });
  const std::filesystem::path grid = CorrectionGridPath(folder.path());
  EXPECT_EQ(WriteModelGrid(grid, gtx), ModelGridResult::kGeoidUnreadable);
  EXPECT_EQ(WriteModelGrid(grid, folder.path() / "none.gtx"), ModelGridResult::kGeoidUnreadable);
  EXPECT_FALSE(std::filesystem::exists(grid));
}

}  // namespace
}  // namespace kolvedir
