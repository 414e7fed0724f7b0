// Pictures drawn when first shown: the same pixels as drawn at once, each
// size drawn once, sharp at two device pixels to the pixel, and the style's
// overflow arrow as the style draws it.
#include <gtest/gtest.h>

#include <QApplication>
#include <QGroupBox>
#include <QPainter>
#include <QStyle>
#include <QStyleFactory>

#include <memory>
#include <utility>

#include "platform/ui/estilo_diferido.h"
#include "platform/ui/icono_diferido.h"

namespace {

// A picture that counts its drawings: `pintar` draws it at a size.
class Contado final : public ui::IconoDiferido {
 public:
  using Pintar = void (*)(QPainter&, const QSize&);
  Contado(int* veces, Pintar pintar) : veces_(veces), pintar_(pintar) {}
  QIconEngine* clone() const override { return new Contado(*this); }

 protected:
  QImage dibujar(const QSize& tamano) const override {
    ++*veces_;
    QImage i(tamano, QImage::Format_ARGB32_Premultiplied);
    i.fill(Qt::transparent);
    QPainter p(&i);
    pintar_(p, tamano);
    return i;
  }

 private:
  int* veces_;
  Pintar pintar_;
};

void cuadro(QPainter& p, const QSize& tamano) { p.fillRect(QRect(QPoint(0, 0), tamano / 2), Qt::red); }

// Columns one device pixel wide: a picture stretched from a smaller drawing
// has them two wide.
void rayas(QPainter& p, const QSize& tamano) {
  for (int x = 0; x < tamano.width(); x += 2) p.fillRect(x, 0, 1, tamano.height(), Qt::black);
}

TEST(IconoDiferido, CadaTamanoSeDibujaUnaVezYLoDeshabilitadoSaleDelEstilo) {
  int veces = 0;
  QIcon icono(new Contado(&veces, cuadro));
  EXPECT_EQ(veces, 0);  // nothing drawn until asked for
  const QImage a = icono.pixmap(QSize(16, 16)).toImage();
  const QImage b = icono.pixmap(QSize(16, 16)).toImage();
  EXPECT_EQ(veces, 1);
  EXPECT_EQ(a, b);
  EXPECT_EQ(a.pixelColor(2, 2), QColor(Qt::red));
  EXPECT_EQ(qAlpha(a.pixel(12, 12)), 0);
  icono.pixmap(QSize(32, 32));
  EXPECT_EQ(veces, 2);
  // The disabled look comes from the drawing already made.
  const QImage gris = icono.pixmap(QSize(16, 16), QIcon::Disabled).toImage();
  EXPECT_EQ(veces, 2);
  EXPECT_NE(gris, a);
}

TEST(IconoDiferido, ADosPixelesPorPuntoSeDibujaAlDobleUnaSolaVez) {
  int veces = 0;
  QIcon icono(new Contado(&veces, rayas));
  QPixmap lienzo(32, 32);
  lienzo.setDevicePixelRatio(2);
  lienzo.fill(Qt::transparent);
  {
    QPainter p(&lienzo);
    icono.paint(&p, QRect(0, 0, 16, 16));
  }
  // The same drawing serves the 16-point icon at ratio 2 and the 32-pixel one.
  const QPixmap doble = icono.pixmap(QSize(16, 16), 2.0);
  const QImage directa = icono.pixmap(QSize(32, 32), 1.0).toImage();
  EXPECT_EQ(veces, 1);
  EXPECT_EQ(doble.devicePixelRatio(), 2.0);
  QImage pintada = lienzo.toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
  pintada.setDevicePixelRatio(1);
  EXPECT_EQ(pintada, directa);
  EXPECT_EQ(doble.toImage(), directa);
}

TEST(EstiloDiferido, LaFlechaDeLaBarraEsLaDelEstiloYLoDemasNoCambia) {
  ui::EstiloDiferido estilo;
  QStyle* base = estilo.baseStyle();
  for (auto cual : {QStyle::SP_ToolBarHorizontalExtensionButton, QStyle::SP_ToolBarVerticalExtensionButton}) {
    const QImage propia =
        estilo.standardIcon(cual).pixmap(QSize(16, 16)).toImage().convertToFormat(QImage::Format_ARGB32);
    const QImage suya = base->standardIcon(cual).pixmap(QSize(16, 16)).toImage().convertToFormat(QImage::Format_ARGB32);
    ASSERT_FALSE(suya.isNull());
    EXPECT_EQ(propia, suya) << cual;
  }
  const QImage propia = estilo.standardIcon(QStyle::SP_DialogOkButton).pixmap(QSize(16, 16)).toImage();
  EXPECT_EQ(propia, base->standardIcon(QStyle::SP_DialogOkButton).pixmap(QSize(16, 16)).toImage());
}

}  // namespace
