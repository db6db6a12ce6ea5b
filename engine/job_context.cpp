#include "engine/job_context.h"

#include "engine/text_encoding.h"

namespace kolvedir {

bool JobContext::InputLooksLikeOtherBlFormat() const {
  return geodeticRecords > 0 &&
         (otherBlFormatRecords == geodeticRecords || 2 * otherBlShapeRecords > geodeticRecords);
}

void AskAboutPoint(JobContext& context, std::string_view fileText) {
  if (context.counters.SuppressPointMessages) return;
  const std::string question =
      TextFromFile(fileText, context.encoding) + " - Czy wyłączyć ten komunikat? ";
  if (context.ui.AskPointQuestion(question)) context.counters.SuppressPointMessages = true;
}

}  // namespace kolvedir
