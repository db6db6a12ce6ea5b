// The zone maps: the outline read from the resource, and the zone buttons on
// their zones and meridians.
#include "shell/zone_map.h"

#include <gtest/gtest.h>

#include <QGroupBox>
#include <QRadioButton>

#include "tests/shell/shell_test_support.h"

namespace kolvedir {
namespace {

using testing::MainWindowTest;

TEST(ZoneMapOutline, IsAClosedRingAroundTheCountry) {
  const QPolygonF& outline = ZoneMap::Outline();
  ASSERT_GT(outline.size(), 100);
  EXPECT_EQ(outline.first(), outline.last());
  const QRectF box = outline.boundingRect();
  EXPECT_NEAR(box.left(), 14.12, 0.05);   // westernmost point on the Oder
  EXPECT_NEAR(box.right(), 24.15, 0.05);  // easternmost on the Bug
  EXPECT_NEAR(box.top(), 49.0, 0.05);
  EXPECT_NEAR(box.bottom(), 54.84, 0.05);
  EXPECT_TRUE(outline.containsPoint(QPointF(21.0, 52.23), Qt::OddEvenFill));  // Warsaw
  EXPECT_FALSE(outline.containsPoint(QPointF(13.4, 52.5), Qt::OddEvenFill));  // Berlin
}

class ZoneButtons : public MainWindowTest {
 protected:
  // The geographic position under the centre of a zone radio.
  QPointF Position(const char* name) {
    auto* radio = Find<QRadioButton>(name);
    auto* map = qobject_cast<ZoneMap*>(radio->parentWidget());
    EXPECT_NE(map, nullptr);
    const QPointF centre = QRectF(radio->geometry()).center();
    // Invert the map's projection numerically from two known points.
    const QPointF a = map->ToWidget(14.0, 49.0);
    const QPointF b = map->ToWidget(24.0, 55.0);
    return {14.0 + (centre.x() - a.x()) * 10.0 / (b.x() - a.x()),
            49.0 + (centre.y() - a.y()) * 6.0 / (b.y() - a.y())};
  }
};

TEST_F(ZoneButtons, StripButtonsSitOnTheirCentralMeridians) {
  const struct {
    const char* radio;
    double meridian;
  } kStrips[] = {{"inputZone3Deg15", 15}, {"inputZone3Deg18", 18},  {"inputZone3Deg21", 21},
                 {"inputZone3Deg24", 24}, {"outputZone3Deg15", 15}, {"outputZone3Deg24", 24},
                 {"inputZone6Deg21", 21}, {"outputZone6Deg21", 21}};
  for (const auto& s : kStrips) EXPECT_NEAR(Position(s.radio).x(), s.meridian, 0.4) << s.radio;
}

TEST_F(ZoneButtons, ZoneButtons1965LieInsideTheCountryInTheirRegion) {
  const struct {
    const char* radio;
    bool east;
    bool north;
  } kZones[] = {{"inputZone1965_1", true, false},  {"inputZone1965_2", true, true},
                {"inputZone1965_3", false, true},  {"inputZone1965_4", false, true},
                {"inputZone1965_5", false, false}, {"outputZone1965_1", true, false}};
  for (const auto& z : kZones) {
    const QPointF p = Position(z.radio);
    EXPECT_TRUE(ZoneMap::Outline().containsPoint(p, Qt::OddEvenFill)) << z.radio;
    EXPECT_EQ(p.x() > 19.5, z.east) << z.radio;
    EXPECT_EQ(p.y() > 51.5, z.north) << z.radio;
  }
}

TEST_F(ZoneButtons, ZoneButtonsDoNotOverlap) {
  for (const char* chooser :
       {"inputZoneChooser1965", "inputZoneChooser3Deg", "inputZoneChooser6Deg"}) {
    const QList<QRadioButton*> radios = Find<QGroupBox>(chooser)->findChildren<QRadioButton*>();
    ASSERT_GE(radios.size(), 2);
    for (int i = 0; i < radios.size(); ++i) {
      for (int j = i + 1; j < radios.size(); ++j) {
        EXPECT_FALSE(radios[i]->geometry().intersects(radios[j]->geometry()))
            << radios[i]->objectName().toStdString() << " " << radios[j]->objectName().toStdString();
      }
    }
  }
}

}  // namespace
}  // namespace kolvedir

int main(int argc, char** argv) { return kolvedir::testing::RunGuiTests(argc, argv); }
