#include "platform/ui/estilo_diferido.h"

#include <QPointer>
#include <QStyleOption>

#include "platform/ui/icono_diferido.h"

namespace ui {

namespace {

// One of the style's standard pictures, asked of the style when first drawn.
class IconoEstandar final : public IconoDiferido {
 public:
  IconoEstandar(const QStyle* estilo, QStyle::StandardPixmap cual) : estilo_(estilo), cual_(cual) {}
  QIconEngine* clone() const override { return new IconoEstandar(*this); }

 protected:
  QImage dibujar(const QSize& tamano) const override {
    if (!estilo_) return {};
    return estilo_->standardIcon(cual_).pixmap(tamano, 1.0).toImage();  // already in device pixels
  }

 private:
  QPointer<const QStyle> estilo_;
  QStyle::StandardPixmap cual_;
};

bool diferible(QStyle::StandardPixmap cual) {
  return cual == QStyle::SP_ToolBarHorizontalExtensionButton || cual == QStyle::SP_ToolBarVerticalExtensionButton;
}

}  // namespace

QIcon EstiloDiferido::standardIcon(StandardPixmap cual, const QStyleOption* opcion, const QWidget* control) const {
  if (!diferible(cual)) return QProxyStyle::standardIcon(cual, opcion, control);
  return QIcon(new IconoEstandar(baseStyle(), cual));
}

}  // namespace ui
