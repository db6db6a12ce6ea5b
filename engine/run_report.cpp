#include "engine/run_report.h"

#include "engine/point_checks.h"
#include "grid/model_grid.h"

namespace kolvedir {

namespace {
constexpr int kClearedLines = 30;
constexpr int kClearedWidth = 41;
}  // namespace

Monitor::Monitor() : lines_(kLines) { lines_[0] = "MONITOR"; }

void Monitor::SetLine(int line, std::string_view text) {
  if (line >= 0 && line < static_cast<int>(lines_.size())) lines_[line] = text;
}

std::string PaddedNumber(std::int64_t n) { return " " + std::to_string(n) + " "; }

void ClearMonitor(JobUserInterface& ui) {
  const std::string blank(kClearedWidth, ' ');
  for (int line = 1; line <= kClearedLines; ++line) ui.SetMonitorLine(line, blank);
}

void ReportGridLoaded(JobUserInterface& ui, JobCounters& counters) {
  counters.MonitorLine = 1;
  ui.SetMonitorLine(1, " Czytanie siatki interpolacyjnej - ok. ");
}

void ReportModelGrid(JobUserInterface& ui, JobCounters& counters) {
  ui.SetMonitorLine(++counters.MonitorLine, " " + std::string(ModelGridNotice()) + " ");
}

void ReportJobResult(JobUserInterface& ui, JobCounters& counters, Module module) {
  ui.MarkFilePanels(module);
  const char* text = module == Module::kTrans ? " Zadanie wykonano - liczba błędów "
                                              : " Zadanie wykonano - liczba błędów: ";
  ui.SetMonitorLine(++counters.MonitorLine, text + PaddedNumber(counters.ErrorCount));
}

void ReportBlFormatHint(JobUserInterface& ui, JobCounters& counters, BlFormat chosen) {
  const auto name = [](BlFormat format) {
    return format == BlFormat::kDegreesMinutesSeconds ? "[stopnie min sek]" : "[stopnie]";
  };
  ui.SetMonitorLine(++counters.MonitorLine,
                    std::string(" Uwaga: współrzędne B L zbioru wejściowego wyglądają na format ") +
                        name(OtherBlFormat(chosen)) + ", a wybrano " + name(chosen) + " ");
}

void ReportJobStopped(JobUserInterface& ui, JobCounters& counters, bool streamResult) {
  ui.SetMonitorLine(++counters.MonitorLine, " Zadanie przerwane - przeliczono punktów: " +
                                                std::to_string(counters.PointCount) + " ");
  ui.SetMonitorLine(++counters.MonitorLine, streamResult ? " Wynik jest niepełny "
                                                         : " Zbiór wynikowy nie został zmieniony ");
}

void ReportJobEnd(JobUserInterface& ui, JobCounters& counters, bool stopped) {
  if (!stopped) {
    ui.SetMonitorLine(++counters.MonitorLine,
                      " Liczba punktów: " + std::to_string(counters.PointCount));
  }
  ui.SetMonitorLine(++counters.MonitorLine, " KONIEC OBLICZEŃ ");
  counters.ErrorCount = 0;
  counters.PointCount = 0;
}

}  // namespace kolvedir
