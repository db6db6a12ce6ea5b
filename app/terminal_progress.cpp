#include "app/terminal_progress.h"

#include <iostream>

namespace kolvedir {

namespace {
constexpr std::uint64_t kMiB = 1 << 20;
constexpr const char* kEraseLine = "\r\x1b[K";  // back to column 1, clear to the end
}  // namespace

std::string ProgressText(std::uint64_t done, std::uint64_t total) {
  if (total == 0) return " Przeliczono " + std::to_string(done / kMiB) + " MiB";
  const std::uint64_t percent = done >= total ? 100 : done * 100 / total;
  return " Przeliczono " + std::to_string(percent) + " % (" + std::to_string(done / kMiB) + " z " +
         std::to_string(total / kMiB) + " MiB)";
}

void TerminalProgress::Show(std::uint64_t done, std::uint64_t total) {
  if (!enabled_) return;
  const auto now = std::chrono::steady_clock::now();
  const bool finished = total != 0 && done >= total;
  const bool shown = !text_.empty();
  if (shown && !finished && now - last_ < kInterval) return;
  std::string text = ProgressText(done, total);
  if (text == text_) return;
  last_ = now;
  text_ = std::move(text);
  std::cerr << kEraseLine << text_ << std::flush;
}

void TerminalProgress::Clear() {
  if (text_.empty()) return;
  text_.clear();
  std::cerr << kEraseLine << std::flush;
}

}  // namespace kolvedir
