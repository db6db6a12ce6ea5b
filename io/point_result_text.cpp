#include "io/point_result_text.h"

#include "engine/trans_chain.h"
#include "kolvedir/transformer.h"

namespace kolvedir {

std::string PointResultText(const JobDescription& job, std::int32_t status, double y) {
  switch (static_cast<PointResult>(status)) {
    case PointResult::kOutOfArea:
      return "punkt poza obszarem dopuszczalnym (B 49°–55°, L 14°–24,2°)";
    case PointResult::kDistorted:
      return "punkt za daleko od strefy: zniekształcenie ponad 200 cm/km lub zbieżność ponad 20 g";
    case PointResult::kWrongZone:
      return "współrzędna y " + std::to_string(static_cast<long long>(y)) + " jest ze strefy " +
             std::to_string(InputZoneOfEasting(job, y)) + ", a wybrano strefę " +
             std::to_string(job.InputZone);
    default:
      return "punkt poza obszarem dopuszczalnym lub inny defekt danych";
  }
}

}  // namespace kolvedir
