#include "suite/icono_svg.h"

#include <QFileInfo>
#include <QPainter>
#include <QSvgRenderer>
#include <memory>

#include "platform/ui/icono_diferido.h"

namespace ZepaKit2 {

namespace {

class IconoSvg final : public ui::IconoDiferido {
 public:
  IconoSvg(QString ruta, QList<QSize> lados) : ruta_(std::move(ruta)), lados_(std::move(lados)) {}
  QIconEngine* clone() const override { return new IconoSvg(*this); }
  QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override { return lados_; }
  QString key() const override { return QStringLiteral("IconoSvg"); }

 protected:
  QImage dibujar(const QSize& tamano) const override {
    // Read once, when first drawn; the copies of the icon share it.
    if (!dibujo_) dibujo_ = std::make_shared<QSvgRenderer>(ruta_);
    if (!dibujo_->isValid()) return {};
    QImage imagen(tamano, QImage::Format_ARGB32_Premultiplied);
    imagen.fill(Qt::transparent);
    QPainter pintor(&imagen);
    pintor.setRenderHint(QPainter::Antialiasing);
    dibujo_->render(&pintor);
    return imagen;
  }

 private:
  QString ruta_;
  QList<QSize> lados_;
  mutable std::shared_ptr<QSvgRenderer> dibujo_;
};

}  // namespace

QIcon iconoSvg(const QString& ruta, const QList<int>& lados) {
  if (!QFileInfo(ruta).isFile()) return {};
  QList<QSize> tamanos;
  for (int lado : lados) tamanos.append(QSize(lado, lado));
  return QIcon(new IconoSvg(ruta, std::move(tamanos)));
}

}  // namespace ZepaKit2
