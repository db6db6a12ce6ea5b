#include "engine/crs_table.h"

#include <array>

namespace kolvedir {

namespace {

constexpr CrsRow kCrsRows[] = {
#include "engine/crs_table_rows.inc"
};

}  // namespace

std::span<const CrsRow> CrsTable() { return kCrsRows; }

const CrsRow* FindCrsByEpsg(std::int32_t epsg) {
  if (epsg == 0) return nullptr;
  for (const CrsRow& row : kCrsRows)
    if (row.epsg == epsg) return &row;
  return nullptr;
}

}  // namespace kolvedir
