#include "lookup/pie_consulta.h"

#include <QDialog>
#include <QFrame>
#include <QPushButton>
#include <algorithm>

#include "lookup/lib_frmcons3.h"
#include "platform/ui/twips.h"

PieConsulta crearPie(QDialog& dialogo, PropiedadesConsulta& propiedades, std::function<void()> aceptar,
                     std::function<void()> nueva) {
  PieConsulta pie;
  pie.marco = new QFrame(&dialogo);
  pie.marco->setObjectName(QStringLiteral("Frame1"));
  auto boton = [&](const char* nombre, const char* texto) {
    auto* b = new QPushButton(QString::fromUtf8(texto), pie.marco);
    b->setObjectName(QString::fromUtf8(nombre));
    b->setAutoDefault(false);
    b->resize(ui::tamanoTwips(kAnchoBotonPie, kAltoBotonPie));
    return b;
  };
  pie.aceptar = boton("CmdAceptar", "&Aceptar");
  pie.cancelar = boton("CmdCancelar", "&Cancelar");
  pie.nueva = boton("CmdNueva", "&Nueva Busqueda");
  // The font may not fit "Nueva Busqueda" in the width the others take.
  pie.anchoNueva = std::max(kAnchoBotonPie, ui::aTwips(pie.nueva->sizeHint().width()));
  pie.nueva->resize(ui::tamanoTwips(pie.anchoNueva, kAltoBotonPie));
  QObject::connect(pie.aceptar, &QPushButton::clicked, &dialogo, std::move(aceptar));
  QObject::connect(pie.cancelar, &QPushButton::clicked, &dialogo, [&dialogo, &propiedades] {
    propiedades.ValorDevuelto = QString();
    propiedades.CmpsDevueltos.reset();
    propiedades.Valores.reset();
    dialogo.reject();
  });
  QObject::connect(pie.nueva, &QPushButton::clicked, &dialogo, std::move(nueva));
  return pie;
}
