#pragma once
// The run report of a job: the lines of the monitor ("MONITOR" and the lines
// below it) and the result marks on the file panels.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/job_context.h"
#include "engine/job_ui.h"

namespace kolvedir {

// The monitor as the form starts it: line 0 "MONITOR" and ten empty lines.
// Setting a line that does not exist does nothing; lines are never added.
// The command-line runner and the tests keep their monitor in this form.
class Monitor {
 public:
  static constexpr int kLines = 11;
  // Characters a line of the window's monitor shows whole; the notices of a
  // job are broken between words into lines no longer than this.
  static constexpr int kColumns = 52;
  Monitor();
  void SetLine(int line, std::string_view text);
  const std::vector<std::string>& Lines() const { return lines_; }

 private:
  std::vector<std::string> lines_;
};

// A space, the decimal digits of n and a space: 3 gives " 3 ".
std::string PaddedNumber(std::int64_t n);

// Lines 1 to 30 each set to 41 blanks; MonitorLine unchanged.
void ClearMonitor(JobUserInterface& ui);
// After the grid was read: MonitorLine 1, line 1 " Czytanie siatki interpolacyjnej - ok. ".
void ReportGridLoaded(JobUserInterface& ui, JobCounters& counters);
// A job that reads the values of the model grid (TRANS 2D/3D of the
// empirical method, TRANS-H, the quasigeoid module): ModelGridNotice() on the
// next lines, broken between words to Monitor::kColumns characters, each line
// led by a blank.
void ReportModelGrid(JobUserInterface& ui, JobCounters& counters);
// Marks the module's file panels and writes the next line,
// " Zadanie wykonano - liczba błędów " (TRANS 2D/3D) or "... błędów: " (the
// others) followed by PaddedNumber(ErrorCount).
void ReportJobResult(JobUserInterface& ui, JobCounters& counters, Module module);
// The records look written in the other BL format: "Uwaga: współrzędne B L
// zbioru wejściowego wyglądają na format [stopnie]" ("[stopnie min sek]" when
// `chosen` is decimal degrees) + ", a wybrano " + the chosen format, on the
// next lines as ReportModelGrid breaks its notice.
void ReportBlFormatHint(JobUserInterface& ui, JobCounters& counters, BlFormat chosen);
// A job the user stopped: the next lines " Zadanie przerwane - przeliczono
// punktów: " + PointCount + " " and what became of the result: " Zbiór wynikowy
// nie został zmieniony " for a file, " Wynik jest niepełny " for a stream.
void ReportJobStopped(JobUserInterface& ui, JobCounters& counters, bool streamResult);
// The closing lines " Liczba punktów: " + PointCount (unless the job was
// stopped, whose count its own line gives) and " KONIEC OBLICZEŃ ", then
// ErrorCount and PointCount back to 0.
void ReportJobEnd(JobUserInterface& ui, JobCounters& counters, bool stopped);

}  // namespace kolvedir
