#pragma once
// An icon drawn only when one of its sizes is first shown, and kept from
// then on: a program with many icons starts without drawing the ones that
// nobody looks at. Sizes are in device pixels: QIcon asks for the size
// times the screen's ratio, and paint() draws at the ratio of the device it
// paints on, so a screen with two device pixels to the pixel gets pictures
// drawn at twice the size rather than the small ones stretched.
//
//   class Mio : public ui::IconoDiferido {
//     QImage dibujar(const QSize& lado) const override { ... }
//     QIconEngine* clone() const override { return new Mio(*this); }
//   };
//   QIcon icono(new Mio);
#include <QHash>
#include <QIconEngine>
#include <QImage>
#include <QPixmap>

namespace ui {

class IconoDiferido : public QIconEngine {
 public:
  void paint(QPainter* pintor, const QRect& rect, QIcon::Mode modo, QIcon::State estado) override;
  QPixmap pixmap(const QSize& tamano, QIcon::Mode modo, QIcon::State estado) override;
  QSize actualSize(const QSize& tamano, QIcon::Mode modo, QIcon::State estado) override;

 protected:
  // The picture at that size (device pixels) on a transparent ground; a
  // null image when it cannot be drawn.
  virtual QImage dibujar(const QSize& tamano) const = 0;

 private:
  QHash<quint64, QPixmap> dibujados_[QIcon::Selected + 1];  // by mode, then by size in device pixels
};

}  // namespace ui
