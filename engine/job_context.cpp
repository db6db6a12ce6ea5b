#include "engine/job_context.h"

#include "engine/text_encoding.h"

namespace kolvedir {


void AskAboutPoint(JobContext& context, std::string_view textWin1250) {
  if (context.counters.SuppressPointMessages) return;
  const std::string question = Win1250ToUtf8(textWin1250) + " - Czy wyłączyć ten komunikat? ";
  if (context.ui.AskPointQuestion(question)) context.counters.SuppressPointMessages = true;
}

}  // namespace kolvedir
