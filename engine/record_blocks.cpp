#include "engine/record_blocks.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <thread>

#include "engine/job_context.h"

namespace kolvedir {

namespace {

// Lines of one block: often enough a progress report and a stop request for a
// live progress bar, large enough that handing blocks between threads costs
// nothing next to the records.
constexpr std::size_t kLinesPerBlock = 4096;

std::atomic<int> recordThreads{0};

// A block and whether a worker has finished it.
struct Slot {
  RecordBlock block;
  std::size_t lineCount = 0;
  bool done = false;
  std::exception_ptr failure;  // thrown while processing, rethrown in input order
};

void Process(const RecordProcessor& process, Slot& slot) {
  try {
    process(std::span<const std::string>(slot.block.lines).first(slot.lineCount), slot.block);
  } catch (...) {
    slot.failure = std::current_exception();
  }
}

// Fills the slot with the next lines of the input; false when none are left.
bool ReadBlock(LineSource& input, Slot& slot) {
  RecordBlock& block = slot.block;
  block.output.clear();
  block.questions.clear();
  block.points = block.errors = 0;
  block.geodeticRecords = block.otherBlFormatRecords = block.otherBlShapeRecords = 0;
  if (block.lines.size() < kLinesPerBlock) block.lines.resize(kLinesPerBlock);
  slot.lineCount = 0;
  while (slot.lineCount < kLinesPerBlock && input.NextLine(block.lines[slot.lineCount])) {
    ++slot.lineCount;
  }
  block.endOffset = input.BytesRead();
  slot.done = false;
  slot.failure = nullptr;
  return slot.lineCount > 0;
}

// Workers that process the slots handed to them, in any order.
class Workers {
 public:
  Workers(int count, const RecordProcessor& process) : process_(process) {
    for (int i = 0; i < count; ++i) threads_.emplace_back([this] { Work(); });
  }
  // Finishes the slots already taken and drops the others.
  ~Workers() {
    {
      std::lock_guard lock(mutex_);
      quit_ = true;
      todo_.clear();
    }
    wake_.notify_all();
    for (std::thread& thread : threads_) thread.join();
  }
  Workers(const Workers&) = delete;
  Workers& operator=(const Workers&) = delete;

  void Submit(Slot& slot) {
    {
      std::lock_guard lock(mutex_);
      todo_.push_back(&slot);
    }
    wake_.notify_one();
  }

  void WaitFor(Slot& slot) {
    std::unique_lock lock(mutex_);
    finished_.wait(lock, [&slot] { return slot.done; });
  }

 private:
  void Work() {
    for (;;) {
      Slot* slot = nullptr;
      {
        std::unique_lock lock(mutex_);
        wake_.wait(lock, [this] { return quit_ || !todo_.empty(); });
        if (todo_.empty()) return;
        slot = todo_.front();
        todo_.pop_front();
      }
      Process(process_, *slot);
      {
        std::lock_guard lock(mutex_);
        slot->done = true;
      }
      finished_.notify_all();
    }
  }

  const RecordProcessor& process_;
  std::mutex mutex_;
  std::condition_variable wake_, finished_;
  std::deque<Slot*> todo_;
  bool quit_ = false;
  std::vector<std::thread> threads_;
};

// Writes, counts and asks about the records of one block.
void Emit(JobContext& context, const RecordBlock& block) {
  for (const std::string& question : block.questions) AskAboutPoint(context, question);
  context.output.WriteBlock(block.output);
  context.counters.PointCount += block.points;
  context.counters.ErrorCount += block.errors;
  context.geodeticRecords += block.geodeticRecords;
  context.otherBlFormatRecords += block.otherBlFormatRecords;
  context.otherBlShapeRecords += block.otherBlShapeRecords;
}

bool Stopped(JobContext& context) {
  context.stopped = context.ui.StopRequested();
  return context.stopped;
}

}  // namespace

void RecordBlock::WriteLine(std::string_view record) {
  output.append(record);
  output.append("\r\n");
}

void SetRecordThreads(int threads) { recordThreads = std::max(threads, 0); }

int RecordThreads() {
  const int chosen = recordThreads;
  return chosen > 0 ? chosen : static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
}

void RunRecordBlocks(JobContext& context, const RecordProcessor& process) {
  LineSource& input = context.input;
  context.ui.ShowProgress(0, input.Size());
  if (Stopped(context)) return;
  const int threads = RecordThreads();
  // One thread reads, writes and asks; with more, the workers compute the
  // blocks read ahead while it does.
  std::vector<Slot> slots(threads == 1 ? 1 : 2 * threads);
  std::vector<Slot*> free;
  for (Slot& slot : slots) free.push_back(&slot);
  std::deque<Slot*> reading;  // read and handed on, in input order
  Workers workers(threads == 1 ? 0 : threads, process);
  bool more = true;
  for (;;) {
    while (more && !free.empty()) {
      Slot& slot = *free.back();
      more = ReadBlock(input, slot);
      if (!more) break;
      free.pop_back();
      reading.push_back(&slot);
      if (threads == 1) {
        Process(process, slot);
      } else {
        workers.Submit(slot);
      }
    }
    if (reading.empty()) break;
    Slot& next = *reading.front();
    reading.pop_front();
    if (threads > 1) workers.WaitFor(next);
    if (next.failure) std::rethrow_exception(next.failure);
    Emit(context, next.block);
    free.push_back(&next);
    context.ui.ShowProgress(next.block.endOffset, input.Size());
    if (Stopped(context)) return;
  }
  context.ui.ShowProgress(input.BytesRead(), input.Size());
}

}  // namespace kolvedir
