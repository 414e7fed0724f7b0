#include "suite/ventana_error.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "platform/ui/botones.h"
#include "platform/ui/servicio.h"

namespace ZepaKit2 {

VentanaError::VentanaError(const vb::Error& error, int botones, const QString& rutina, QWidget* parent)
    : QDialog(parent) {
  setObjectName(QStringLiteral("frmDialogoError"));
  setWindowTitle(QStringLiteral("Aviso al Operador"));
  setModal(true);

  auto* icono = new QLabel(this);
  const int lado = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
  icono->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxCritical, nullptr, this).pixmap(lado, lado));
  icono->setAlignment(Qt::AlignTop);

  const QString descripcion =
      error.Description().isEmpty() ? vb::descripcionError(error.Number()) : error.Description();

  auto* numero = new QLabel(QStringLiteral("Número de error: %1").arg(error.Number()), this);
  numero->setObjectName(QStringLiteral("lblNumero"));
  auto* texto = new QLabel(QStringLiteral("Descripción: %1").arg(descripcion), this);
  texto->setObjectName(QStringLiteral("lblDescripcion"));
  texto->setWordWrap(true);
  texto->setTextInteractionFlags(Qt::TextSelectableByMouse);
  auto* enRutina = new QLabel(QStringLiteral("Rutina: %1").arg(rutina), this);
  enRutina->setObjectName(QStringLiteral("lblRutina"));
  enRutina->setVisible(!rutina.isEmpty());
  // The object that raised the error, when it tells more than the routine.
  auto* origen = new QLabel(QStringLiteral("Origen: %1").arg(error.Source()), this);
  origen->setObjectName(QStringLiteral("lblOrigen"));
  origen->setVisible(!error.Source().isEmpty() && error.Source().compare(rutina, Qt::CaseInsensitive) != 0);

  auto* textos = new QVBoxLayout;
  textos->addWidget(numero);
  textos->addWidget(texto);
  textos->addWidget(enRutina);
  textos->addWidget(origen);
  textos->addStretch();
  auto* arriba = new QHBoxLayout;
  arriba->addWidget(icono);
  arriba->addLayout(textos, 1);

  auto* fila = new QHBoxLayout;
  fila->addStretch();
  auto* todo = new QVBoxLayout(this);
  todo->addLayout(arriba);
  todo->addLayout(fila);

  int predeterminado = 0;
  if (botones < 0) {
    agregarBoton(QStringLiteral("Reintentar"), ui::vbRetry);
    agregarBoton(QStringLiteral("Ignorar"), ui::vbIgnore);
    agregarBoton(QStringLiteral("Cancelar"), ui::vbCancel);
    respuestaEscape_ = ui::vbCancel;
  } else {
    // A message-box code shows the message box's own buttons.
    for (const ui::BotonCaja& b : ui::botonesCaja(botones)) agregarBoton(b.texto, b.respuesta);
    respuestaEscape_ = ui::respuestaCancelar(botones);
    predeterminado = ui::indicePredeterminado(botones);
  }
  for (auto* b : botones_) fila->addWidget(b);
  fila->addStretch();
  botones_[predeterminado]->setDefault(true);
  botones_[predeterminado]->setFocus();
  respuesta_ = respuestaEscape_;
}

void VentanaError::agregarBoton(const QString& texto, int codigo) {
  auto* b = new QPushButton(texto, this);
  // "cmd" and the caption without accents: "Sí" is cmdSi.
  QString nombre;
  for (QChar c : texto.normalized(QString::NormalizationForm_D))
    if (c.category() != QChar::Mark_NonSpacing) nombre += c;
  b->setObjectName(QStringLiteral("cmd") + nombre);
  b->setAutoDefault(false);
  connect(b, &QPushButton::clicked, this, [this, codigo] {
    respuesta_ = codigo;
    done(codigo);
  });
  botones_.append(b);
}

void VentanaError::reject() {
  respuesta_ = respuestaEscape_;
  done(respuestaEscape_);
}

}  // namespace ZepaKit2
