#include "shell/editor_font.h"

#include <QFontDatabase>
#include <QFontInfo>

namespace kolvedir {

QFont CourierNewFont(int points) {
  QFont font("Courier New", points);
  font.setStyleHint(QFont::TypeWriter);
  if (QFontInfo(font).fixedPitch()) return font;
  font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  font.setPointSize(points);
  return font;
}

}  // namespace kolvedir
