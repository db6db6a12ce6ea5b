#include "tests/engine/job_fixture.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <fstream>
#include <iterator>

#include "engine/text_encoding.h"
#include "grid/correction_grid.h"

namespace kolvedir::testing {

void ScriptedUserInterface::ShowInformation(const std::string& text) {
  dialogs.push_back("info: " + text);
}

void ScriptedUserInterface::ShowMessage(const std::string& text) {
  dialogs.push_back("message: " + text);
}

bool ScriptedUserInterface::AskPointQuestion(const std::string& text) {
  bool yes = false;
  if (!answers.empty()) {
    yes = answers.front();
    answers.pop_front();
  }
  dialogs.push_back("question: " + text + (yes ? " -> Yes" : " -> No"));
  return yes;
}

void ScriptedUserInterface::SetMonitorLine(int line, const std::string& text) {
  monitor.SetLine(line, text);
}

void ScriptedUserInterface::MarkFilePanels(Module module) {
  dialogs.push_back("panels: " + std::to_string(static_cast<int>(module)));
}

void ScriptedUserInterface::ShowProgress(std::uint64_t done, std::uint64_t total) {
  progress.emplace_back(done, total);
}

bool ScriptedUserInterface::StopRequested() {
  return stopAtRequest >= 0 && stopRequests++ >= stopAtRequest;
}

void ScriptedUserInterface::SetStatusText(int panel, const std::string& text) {
  if (panel >= 0 && panel < 4) status[panel] = text;
}

namespace {

// One grid file for the whole test program; every fixture links to it.
const std::filesystem::path& SharedGridFile() {
  static const TemporaryFolder folder;
  static const std::filesystem::path file = [] {
    const auto path = CorrectionGridPath(folder.path());
    WriteBytes(path, GridBytes(ConstantLayers(0, 1, 0)));
    return path;
  }();
  return file;
}

}  // namespace

JobFixture::JobFixture() {
  objectsRoot_ = folder_.path() / "OBIEKTY";
  std::filesystem::create_directories(objectsRoot_ / "OBJ");
  gridFile_ = CorrectionGridPath(folder_.path() / "bin");
  std::filesystem::create_directories(gridFile_.parent_path());
  std::filesystem::create_hard_link(SharedGridFile(), gridFile_);
}

void JobFixture::WriteInput(const std::string& name, const std::string& bytes) const {
  std::ofstream out(object() / name, std::ios::binary | std::ios::trunc);
  out << bytes;
  ASSERT_TRUE(out.good());
}

std::string JobFixture::ReadOutput(const std::string& name) const {
  std::ifstream in(object() / name, std::ios::binary);
  if (!in) return "<missing>";
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool JobFixture::Exists(const std::string& name) const {
  return std::filesystem::exists(object() / name);
}

JobOutcome JobFixture::Run(JobDescription& job, int secondsDecimals, int linearDecimals) {
  return RunJob(job, objectsRoot_, "OBJ", kSecondsPrecisionItems[6 - secondsDecimals],
                kLinearPrecisionItems[4 - linearDecimals], gridFile_, counters, ui);
}

JobDescription TransJob(int inputFrame, int inputSystem, int inputZone, int outputFrame,
                        int outputSystem, int outputZone, int method) {
  JobDescription job;
  job.ActiveModule = Module::kTrans;
  job.InputFrame = Frame(inputFrame);
  job.InputSystem = inputSystem;
  job.InputZone = inputZone;
  job.OutputFrame = Frame(outputFrame);
  job.OutputSystem = outputSystem;
  job.OutputZone = outputZone;
  job.Method = ComputationMethod(method);
  return job;
}

JobDescription HeightJob(int inputDatum, int outputDatum, int blInput, int blOutput) {
  JobDescription job;
  job.ActiveModule = Module::kHeight;
  job.InputSystem = inputDatum;
  job.OutputSystem = outputDatum;
  job.BLInputFormat = BlFormat(blInput);
  job.BLOutputFormat = BlFormat(blOutput);
  return job;
}

JobDescription QuasigeoidJob(int frame, int task, int blInput, int blOutput) {
  JobDescription job = HeightJob(task, task, blInput, blOutput);
  job.ActiveModule = Module::kQuasigeoid;
  job.InputFrame = Frame(frame);
  return job;
}

FileSizeLimit::FileSizeLimit(std::uint64_t bytes) {
  previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
  rlimit limit{};
  ::getrlimit(RLIMIT_FSIZE, &limit);
  previous_ = limit.rlim_cur;
  limit.rlim_cur = bytes;
  EXPECT_EQ(::setrlimit(RLIMIT_FSIZE, &limit), 0);
}

FileSizeLimit::~FileSizeLimit() {
  rlimit limit{};
  ::getrlimit(RLIMIT_FSIZE, &limit);
  limit.rlim_cur = previous_;
  ::setrlimit(RLIMIT_FSIZE, &limit);
  std::signal(SIGXFSZ, previousHandler_);
}

std::string PlaneRecords(int n) {
  std::string records;
  for (int i = 0; i < n; ++i) records += std::to_string(i) + " 500000 500000\r\n";
  return records;
}

std::string Cp1250(const std::string& utf8) { return Utf8ToWin1250(utf8); }

}  // namespace kolvedir::testing
