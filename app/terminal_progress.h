#pragma once
// The runner's progress line on a terminal: how much of the input the job has
// read, rewritten in place on standard error at most a few times a second.
#include <chrono>
#include <cstdint>
#include <string>

namespace kolvedir {

// " Przeliczono 45 % (123 z 270 MiB)"; with total 0 (a stream of unknown
// size) " Przeliczono 123 MiB". done, total: bytes of the input.
std::string ProgressText(std::uint64_t done, std::uint64_t total);

class TerminalProgress {
 public:
  // enabled: shown at all (standard error is a terminal and no --quiet).
  explicit TerminalProgress(bool enabled) : enabled_(enabled) {}

  // Rewrites the line when the last one is older than kInterval or the input
  // is read to its end. done, total: bytes, as JobUserInterface::ShowProgress.
  void Show(std::uint64_t done, std::uint64_t total);
  // Removes the line, so that a message or the report starts on a clean line.
  void Clear();

 private:
  static constexpr std::chrono::milliseconds kInterval{200};
  bool enabled_;
  std::string text_;  // the line shown; empty when none is
  std::chrono::steady_clock::time_point last_{};
};

}  // namespace kolvedir
