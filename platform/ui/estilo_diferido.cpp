#include "platform/ui/estilo_diferido.h"

#include <qdrawutil.h>
#include <QFile>
#include <QGroupBox>
#include <QImageReader>
#include <QPainter>
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
    return estilo_->standardIcon(cual_).pixmap(tamano).toImage();
  }

 private:
  QPointer<const QStyle> estilo_;
  QStyle::StandardPixmap cual_;
};

bool diferible(QStyle::StandardPixmap cual) {
  return cual == QStyle::SP_ToolBarHorizontalExtensionButton || cual == QStyle::SP_ToolBarVerticalExtensionButton;
}

constexpr int kMargenSuperiorDeGrupo = 3;

QPixmap leerPng(const QString& ruta) {
  QFile archivo(ruta);
  if (!archivo.open(QIODevice::ReadOnly)) return {};
  QImageReader lector(&archivo, "png");
  lector.setAutoDetectImageFormat(false);  // no plugin is asked whether it knows the file
  return QPixmap::fromImage(lector.read());
}

}  // namespace

void EstiloDiferido::drawPrimitive(PrimitiveElement elemento, const QStyleOption* opcion, QPainter* pintor,
                                   const QWidget* control) const {
  if (elemento != PE_FrameGroupBox || !opcion || baseStyle()->name() != QLatin1String("fusion")) {
    QProxyStyle::drawPrimitive(elemento, opcion, pintor, control);
    return;
  }
  if (!marcoBuscado_) {  // read once, found or not
    marcoBuscado_ = true;
    marcoDeGrupo_ = leerPng(QStringLiteral(":/qt-project.org/styles/commonstyle/images/fusion_groupbox.png"));
  }
  // A group box with neither title nor check box has its frame at the top.
  int arriba = kMargenSuperiorDeGrupo;
  const auto* grupo = qobject_cast<const QGroupBox*>(control);
  if (!grupo || grupo->isCheckable() || !grupo->title().isEmpty())
    arriba += qMax(baseStyle()->pixelMetric(PM_ExclusiveIndicatorHeight), opcion->fontMetrics.height());
  qDrawBorderPixmap(pintor, opcion->rect.adjusted(0, arriba, 0, 0), QMargins(6, 6, 6, 6), marcoDeGrupo_);
}

QIcon EstiloDiferido::standardIcon(StandardPixmap cual, const QStyleOption* opcion, const QWidget* control) const {
  if (!diferible(cual)) return QProxyStyle::standardIcon(cual, opcion, control);
  return QIcon(new IconoEstandar(baseStyle(), cual));
}

}  // namespace ui
