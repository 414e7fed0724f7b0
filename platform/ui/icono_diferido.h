#pragma once
// An icon drawn only when one of its sizes is first shown, and kept from
// then on: a program with many icons starts without drawing the ones that
// nobody looks at.
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
  // The picture at that size on a transparent ground; a null image when it
  // cannot be drawn.
  virtual QImage dibujar(const QSize& tamano) const = 0;

 private:
  QHash<quint64, QPixmap> dibujados_[QIcon::Selected + 1];  // by mode, then by size
};

}  // namespace ui
