#include "platform/ui/icono_diferido.h"

#include <QApplication>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>

namespace ui {

QSize IconoDiferido::actualSize(const QSize& tamano, QIcon::Mode, QIcon::State) { return tamano; }

QPixmap IconoDiferido::pixmap(const QSize& tamano, QIcon::Mode modo, QIcon::State estado) {
  if (tamano.isEmpty()) return {};
  QHash<quint64, QPixmap>& dibujados = dibujados_[modo];
  const quint64 clave = (quint64(quint32(tamano.width())) << 32) | quint32(tamano.height());
  auto it = dibujados.constFind(clave);
  if (it != dibujados.constEnd()) return *it;
  QPixmap p;
  if (modo == QIcon::Normal || modo == QIcon::Active) {
    const QImage imagen = dibujar(tamano);
    if (!imagen.isNull()) p = QPixmap::fromImage(imagen);
  } else {
    // Disabled and selected looks come from the style, as for any icon.
    p = pixmap(tamano, QIcon::Normal, estado);
    if (!p.isNull()) {
      if (auto* app = qobject_cast<QApplication*>(QCoreApplication::instance())) {
        QStyleOption opcion;
        opcion.palette = QApplication::palette();
        p = app->style()->generatedIconPixmap(modo, p, &opcion);
      }
    }
  }
  dibujados.insert(clave, p);
  return p;
}

void IconoDiferido::paint(QPainter* pintor, const QRect& rect, QIcon::Mode modo, QIcon::State estado) {
  const qreal escala = pintor->device() ? pintor->device()->devicePixelRatio() : 1.0;
  const QPixmap p = pixmap(rect.size() * escala, modo, estado);
  if (!p.isNull()) pintor->drawPixmap(rect, p);
}

}  // namespace ui
