// The standard point files found by module, frame group and system code.
#include "engine/system_files.h"

#include <gtest/gtest.h>

namespace kolvedir {
namespace {

TEST(FindSystemFileTest, EveryFileByItsCodesAndNoneForOthers) {
  for (const SystemFile& f : SystemFiles()) {
    const Frame frame = f.krassowsky ? Frame::kPulkovo : Frame::kEtrf89;
    EXPECT_EQ(FindSystemFile(f.module, frame, f.code), &f) << f.input;
  }
  const struct {
    Module module;
    Frame frame;
    std::int32_t code;
  } none[] = {
      {Module::kTrans, Frame::kEtrf2000, 6},  {Module::kTrans, Frame::kPulkovo, 9},
      {Module::kTrans, Frame::kNone, 0},      {Module::kHeight, Frame::kNone, 1},
      {Module::kNone, Frame::kEtrf89, 1},     {Module::kQuasigeoid, Frame::kNone, 31},
      {Module::kTrans, Frame::kEtrf89, -1},   {Module::kTrans, Frame::kEtrf89, 32},
      {Module::kHeight, Frame::kNone, 1 << 30}, {Module(7), Frame::kEtrf89, 1},
      {Module(-1), Frame::kEtrf89, 1},
  };
  for (const auto& c : none)
    EXPECT_EQ(FindSystemFile(c.module, c.frame, c.code), nullptr)
        << static_cast<int>(c.module) << " " << c.code;
}

}  // namespace
}  // namespace kolvedir
