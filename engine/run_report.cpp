#include "engine/run_report.h"

#include "engine/point_checks.h"
#include "grid/model_grid.h"

namespace kolvedir {

namespace {
constexpr int kClearedLines = 30;
constexpr int kClearedWidth = 41;

// Characters of UTF-8 text: its bytes that do not continue a character.
int CharacterCount(std::string_view text) {
  int count = 0;
  for (const char byte : text) count += (static_cast<unsigned char>(byte) & 0xC0) != 0x80;
  return count;
}

// text on the next lines, each a blank and as many words as fit in
// Monitor::kColumns characters (a longer word has a line of its own).
void ReportWrapped(JobUserInterface& ui, JobCounters& counters, std::string_view text) {
  std::string line;
  int columns = 0;
  while (!text.empty()) {
    const std::size_t blank = text.find(' ');
    const std::string_view word = text.substr(0, blank);
    text = blank == std::string_view::npos ? std::string_view() : text.substr(blank + 1);
    if (word.empty()) continue;
    const int width = 1 + CharacterCount(word);
    if (columns > 0 && columns + width > Monitor::kColumns) {
      ui.SetMonitorLine(++counters.MonitorLine, line);
      line.clear();
      columns = 0;
    }
    line.append(" ").append(word);
    columns += width;
  }
  if (!line.empty()) ui.SetMonitorLine(++counters.MonitorLine, line);
}

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
  ReportWrapped(ui, counters, ModelGridNotice());
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
  ReportWrapped(ui, counters,
                std::string("Uwaga: współrzędne B L zbioru wejściowego wyglądają na format ") +
                    name(OtherBlFormat(chosen)) + ", a wybrano " + name(chosen));
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
