#include "platform/ui/servicio.h"

#include <QApplication>
#include <QFileInfo>

#include "platform/ui/consola_servicio.h"
#include "platform/ui/qt_servicio.h"

namespace ui {

Servicio& servicio() { return ctx::actual().instancia<Servicio>(); }

std::unique_ptr<Progreso> Servicio::IniciarProgreso(const QString&) { return std::make_unique<ProgresoMudo>(); }

QString tituloPrograma() {
  static const QString kPredeterminado = QStringLiteral("Rp_Usuarios");
  if (!QCoreApplication::instance()) return kPredeterminado;
  const QString nombre = QCoreApplication::applicationName();
  // Qt names an application after its executable when the program set no
  // name; that is not a title.
  const QStringList argumentos = QCoreApplication::arguments();
  const QString ejecutable = argumentos.isEmpty() ? QString() : QFileInfo(argumentos.first()).fileName();
  if (nombre.isEmpty() || nombre == ejecutable) return kPredeterminado;
  return nombre;
}

}  // namespace ui

std::unique_ptr<ui::Servicio> ctx::Fabrica<ui::Servicio>::crear() {
  if (qobject_cast<QApplication*>(QCoreApplication::instance())) return std::make_unique<ui::QtServicio>();
  return std::make_unique<ui::ConsolaServicio>();
}
