#include "lookup/ventana_consulta.h"

#include <QAbstractScrollArea>
#include <QLabel>
#include <QVBoxLayout>
#include <algorithm>

#include "platform/ui/servicio.h"

void colocarEnPantalla(QWidget& ventana, bool centrar) {
  const QRect area = ui::servicio().AreaDisponible();
  if (area.isEmpty()) return;
  // What a window manager's frame adds; nothing before the window is shown.
  const QSize marco = ventana.frameGeometry().size() - ventana.size();
  const QSize maximo = (area.size() - marco).expandedTo(QSize(1, 1));
  if (ventana.width() > maximo.width() || ventana.height() > maximo.height())
    ventana.resize(ventana.size().boundedTo(maximo));
  const QSize total = ventana.size() + marco;
  QPoint esquina = ventana.frameGeometry().topLeft();
  if (centrar)
    esquina = area.topLeft() + QPoint((area.width() - total.width()) / 2, (area.height() - total.height()) / 2);
  esquina.setX(std::clamp(esquina.x(), area.left(), area.left() + area.width() - total.width()));
  esquina.setY(std::clamp(esquina.y(), area.top(), area.top() + area.height() - total.height()));
  ventana.move(esquina);
}

QLabel* crearAvisoVacio(QAbstractScrollArea& vista) {
  auto* aviso = new QLabel(QString::fromUtf8(kAvisoVacio));
  aviso->setObjectName(QStringLiteral("AvisoVacio"));
  aviso->setAlignment(Qt::AlignCenter);
  aviso->setWordWrap(true);
  aviso->setAttribute(Qt::WA_TransparentForMouseEvents);
  // A layout keeps it in the middle as the list changes size.
  auto* capa = new QVBoxLayout(vista.viewport());
  capa->addWidget(aviso);
  aviso->hide();
  return aviso;
}
