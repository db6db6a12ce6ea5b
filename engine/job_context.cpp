#include "engine/job_context.h"

#include "engine/text_encoding.h"

namespace kolvedir {

namespace {
// Lines between two progress reports and stop requests: often enough for a
// live progress bar, rare enough to cost nothing.
constexpr std::uint64_t kLinesPerBlock = 4096;
}  // namespace

bool JobContext::NextRecordLine(std::string& line) {
  if (linesRead % kLinesPerBlock == 0) {
    ui.ShowProgress(input.BytesRead(), input.Size());
    if (ui.StopRequested()) {
      stopped = true;
      return false;
    }
  }
  if (!input.NextLine(line)) {
    ui.ShowProgress(input.BytesRead(), input.Size());
    return false;
  }
  ++linesRead;
  return true;
}

void AskAboutPoint(JobContext& context, std::string_view textWin1250) {
  if (context.counters.SuppressPointMessages) return;
  const std::string question = Win1250ToUtf8(textWin1250) + " - Czy wyłączyć ten komunikat? ";
  if (context.ui.AskPointQuestion(question)) context.counters.SuppressPointMessages = true;
}

}  // namespace kolvedir
