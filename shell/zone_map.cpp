#include "shell/zone_map.h"

#include <QAbstractButton>
#include <QFile>
#include <QPainter>
#include <QTextStream>

#include <cmath>
#include <numbers>

// The resource of a static library has to be initialised by name, outside any namespace.
static void InitZoneMapResource() { Q_INIT_RESOURCE(zone_map); }

namespace kolvedir {

namespace {

// Area shown by every map, in degrees; the top band holds the meridian labels.
constexpr double kWest = 13.4;
constexpr double kEast = 25.0;
constexpr double kSouth = 48.9;
constexpr double kNorth = 55.0;
constexpr int kLabelBand = 14;
// Longitudes shrink by the cosine of the mid latitude to keep the shape.
const double kLongitudeScale = std::cos(52.0 * std::numbers::pi / 180.0);

QPolygonF ReadOutline() {
  InitZoneMapResource();
  QPolygonF outline;
  QFile file(QStringLiteral(":/zone_map/poland-outline.txt"));
  if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) return outline;
  QTextStream in(&file);
  while (!in.atEnd()) {
    const QString line = in.readLine().trimmed();
    if (line.isEmpty() || line.startsWith('#')) continue;
    const QStringList numbers = line.split(' ', Qt::SkipEmptyParts);
    if (numbers.size() == 2) outline << QPointF(numbers[0].toDouble(), numbers[1].toDouble());
  }
  return outline;
}

struct Strip {
  double centralMeridian;
  const char* label;
};

}  // namespace

ZoneMap::ZoneMap(ZoneMapKind kind, QWidget* parent) : QWidget(parent), kind_(kind) {}

const QPolygonF& ZoneMap::Outline() {
  static const QPolygonF outline = ReadOutline();
  return outline;
}

QPointF ZoneMap::ToWidget(double longitude, double latitude) const {
  const double widthDegrees = (kEast - kWest) * kLongitudeScale;
  const double heightDegrees = kNorth - kSouth;
  const double scale = std::min(width() / widthDegrees, (height() - kLabelBand) / heightDegrees);
  const double left = (width() - widthDegrees * scale) / 2;
  const double top = kLabelBand + (height() - kLabelBand - heightDegrees * scale) / 2;
  return {left + (longitude - kWest) * kLongitudeScale * scale,
          top + (kNorth - latitude) * scale};
}

void ZoneMap::PlaceButton(QAbstractButton* button, double longitude, double latitude) {
  button->adjustSize();
  buttons_.append({button, QPointF(longitude, latitude)});
  MoveButton(buttons_.last());
}

void ZoneMap::MoveButton(const PlacedButton& placed) {
  const QPointF centre = ToWidget(placed.position.x(), placed.position.y());
  placed.button->move(qRound(centre.x() - placed.button->width() / 2.0),
                      qRound(centre.y() - placed.button->height() / 2.0));
}

void ZoneMap::resizeEvent(QResizeEvent*) {
  for (const PlacedButton& placed : buttons_) MoveButton(placed);
}

void ZoneMap::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  QPolygonF outline;
  for (const QPointF& vertex : Outline()) outline << ToWidget(vertex.x(), vertex.y());
  painter.setPen(QPen(palette().color(QPalette::Dark), 1));
  painter.setBrush(QColor(236, 232, 200));
  painter.drawPolygon(outline);
  if (kind_ != ZoneMapKind::Zones1965) DrawStrips(painter);
}

void ZoneMap::DrawStrips(QPainter& painter) const {
  static constexpr Strip kStrips3[] = {{15, "15°"}, {18, "18°"}, {21, "21°"}, {24, "24°"}};
  static constexpr Strip kStrips6[] = {{15, "15°"}, {21, "21°"}};
  const bool threeDegrees = kind_ == ZoneMapKind::Strips3;
  const double halfWidth = threeDegrees ? 1.5 : 3.0;
  const auto strips = threeDegrees ? QVector<Strip>(std::begin(kStrips3), std::end(kStrips3))
                                   : QVector<Strip>(std::begin(kStrips6), std::end(kStrips6));

  painter.setPen(QPen(QColor(160, 30, 30), 1));
  for (const Strip& strip : strips) {
    const double boundary = strip.centralMeridian + halfWidth;
    if (boundary < kEast) {
      painter.drawLine(ToWidget(boundary, kNorth), ToWidget(boundary, kSouth));
    }
  }
  painter.setPen(palette().color(QPalette::WindowText));
  for (const Strip& strip : strips) {
    const QPointF top = ToWidget(strip.centralMeridian, kNorth);
    const QRectF labelBox(top.x() - 20, top.y() - kLabelBand, 40, kLabelBand);
    painter.drawText(labelBox, Qt::AlignCenter, QString::fromUtf8(strip.label));
  }
}

}  // namespace kolvedir
