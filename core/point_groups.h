#pragma once
// Operations over arrays of points work through them in groups, keeping
// their intermediate values in fixed arrays of kPointsAtOnce on the stack
// (and in the processor's cache).
#include <algorithm>
#include <cstddef>
#include <span>

#include "core/point_status.h"

namespace kolvedir {

inline constexpr std::size_t kPointsAtOnce = 256;

// Calls group(start, n) for consecutive groups of the points 0..count − 1,
// n ≤ kPointsAtOnce.
template <class Group>
void ForEachGroup(std::size_t count, Group group) {
  for (std::size_t start = 0; start < count; start += kPointsAtOnce)
    group(start, std::min(kPointsAtOnce, count - start));
}

// Calls group(index, n) with the indices, in order, of up to kPointsAtOnce
// points whose status is zero, until every such point has been in a group.
template <class Group>
void ForEachActiveGroup(std::span<const PointStatus> status, Group group) {
  for (std::size_t start = 0; start < status.size();) {
    std::size_t index[kPointsAtOnce], n = 0;
    for (; start < status.size() && n < kPointsAtOnce; ++start)
      if (status[start] == 0) index[n++] = start;
    group(index, n);
  }
}

}  // namespace kolvedir
