#pragma once
// The record loop of every module, run over blocks of input lines: the lines
// of a block are turned into output records on as many threads as the job
// allows, and the blocks are then written, counted and asked about strictly in
// input order. The result is therefore the same byte for byte whatever the
// number of threads, and point questions come in input order on one thread at
// a time.
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kolvedir {

struct JobContext;

// What the records of one block of lines produce.
struct RecordBlock {
  std::vector<std::string> lines;  // the input lines, without their line ends
  std::string output;              // the output records, each ending CR LF
  // Texts of the point questions (Windows-1250, as written into the records),
  // in input order; asked unless the user has silenced them.
  std::vector<std::string> questions;
  std::int32_t points = 0;  // records written
  std::int32_t errors = 0;  // error points among them
  std::uint64_t endOffset = 0;  // bytes of the input read up to the end of the block
  // Geodetic records; those among them outside the admissible area in the
  // chosen BL format but inside it in the other; those written in the shape
  // of the other format (HasOtherBlFormatShape).
  std::int32_t geodeticRecords = 0;
  std::int32_t otherBlFormatRecords = 0;
  std::int32_t otherBlShapeRecords = 0;

  // Appends one record and its CR LF to output.
  void WriteLine(std::string_view record);
  // Adds the question about a point (Windows-1250 text, without the closing
  // " - Czy wyłączyć ten komunikat? ").
  void Ask(std::string_view question) { questions.emplace_back(question); }
  // Counts a geodetic record; otherBlFormat, otherBlShape: see the counts above.
  void CountGeodeticRecord(bool otherBlFormat, bool otherBlShape) {
    ++geodeticRecords;
    otherBlFormatRecords += otherBlFormat;
    otherBlShapeRecords += otherBlShape;
  }
};

// Turns input lines (those of one block, in input order) into their output
// records, questions and counts, appending them to the block. Must not touch
// anything but the block: it is called on several threads at once.
using RecordProcessor = std::function<void(std::span<const std::string> lines, RecordBlock& block)>;

// Threads of the record loops: 0 means every core of the machine.
void SetRecordThreads(int threads);
int RecordThreads();

// Reads every line of context.input, processes it with `process` and writes,
// counts and asks in input order; reports progress and honours a stop request
// between blocks (then context.stopped is set).
void RunRecordBlocks(JobContext& context, const RecordProcessor& process);

}  // namespace kolvedir
