#pragma once
// The fixed-width font of the editor and the help window: "Courier New", or
// the system's fixed-width font where that family is missing.
#include <QFont>

namespace kolvedir {

QFont CourierNewFont(int points);

}  // namespace kolvedir
