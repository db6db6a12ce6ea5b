#pragma once
// The map behind a zone chooser: the outline of the country with the strip
// boundaries and meridian labels (3° and 6° strips), or the bare outline on
// which the five 1965 zone buttons sit. The radio buttons of the chooser are
// children of the map and keep their geographic places when it is resized.
#include <QPointF>
#include <QPolygonF>
#include <QVector>
#include <QWidget>

class QAbstractButton;

namespace kolvedir {

enum class ZoneMapKind { Strips3, Strips6, Zones1965 };

class ZoneMap : public QWidget {
  Q_OBJECT

 public:
  explicit ZoneMap(ZoneMapKind kind, QWidget* parent = nullptr);

  // Puts button (a child of this map) centred on the given longitude and latitude.
  void PlaceButton(QAbstractButton* button, double longitude, double latitude);
  // Widget coordinates of a geographic position.
  QPointF ToWidget(double longitude, double latitude) const;

  // The country outline, longitude/latitude in degrees, read from the resource.
  static const QPolygonF& Outline();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  struct PlacedButton {
    QAbstractButton* button;
    QPointF position;  // longitude, latitude
  };

  void MoveButton(const PlacedButton& placed);
  void DrawStrips(class QPainter& painter) const;

  ZoneMapKind kind_;
  QVector<PlacedButton> buttons_;
};

}  // namespace kolvedir
