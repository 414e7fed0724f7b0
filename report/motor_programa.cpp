#include "report/motor_programa.h"

#include <QApplication>

#include "data/db_dll.h"
#include "engine/motor.h"
#include "platform/vb/error.h"
#include "platform/vb/manejo.h"
#include "report/traza.h"
#include "services/sesion.h"
#include "suite/archivo_ini.h"

namespace rp_usuarios {

namespace {

// The preview's zoom is the user's: kept in the workstation's section of the
// settings file, the section the session's other per-user values come from.
const QString kArchivoIni = QStringLiteral("CN000pr.INI");
const QString kClaveZoom = QStringLiteral("ZoomVistaPrevia");

void recordarZoom(engine::SolicitudReporte& s) {
  const QString seccion = ModGlobal::sesion().gSeccionEstacion;
  if (seccion.isEmpty()) return;
  bool ok = false;
  const int guardado = ZepaKit2::archivoIni().LeerIni(kArchivoIni, seccion, kClaveZoom).toInt(&ok);
  if (ok) s.ajuste = guardado;
  s.alElegirZoom = [seccion](int zoom) {
    vb::omitir({traza::report(), "recordarZoom"},
               [&] { ZepaKit2::archivoIni().EscribirIni(kArchivoIni, seccion, kClaveZoom, QString::number(zoom)); });
  };
}

engine::Destino destinoDe(int destino, engine::Destino archivo) {
  if (destino == ZepaKit2::Lanzador::DestinoImpresora()) return engine::Destino::Impresora;
  if (destino == ZepaKit2::Lanzador::DestinoArchivo()) return archivo;
  return engine::Destino::Pantalla;
}

}  // namespace

void MotorPrograma::Emitir(ZepaKit2::SolicitudReporte& solicitud) {
  engine::SolicitudReporte s;
  s.archivo = solicitud.archivoReporte;
  s.formula = solicitud.formulaSeleccion;
  s.conexion = solicitud.conexion;
  DB_Dll& datos = db();
  if (datos.gCnn.State() == ado::adStateOpen) s.conexionAbierta = datos.gCnn;
  for (const QString& f : solicitud.formulas) s.asignaciones << f;
  s.destino = destinoDe(solicitud.destino, formatoArchivo_);
  s.archivoPdf = solicitud.archivoDestino;
  s.opcionA = solicitud.opcionA;
  s.opcionB = solicitud.opcionB;
  s.opcionC = solicitud.opcionC;
  s.ajuste = static_cast<int>(solicitud.ajuste);
  if (s.destino == engine::Destino::Pantalla) recordarZoom(s);
  s.padre = QApplication::activeWindow();
  cancelado_ = false;
  cancelado_ = engine::EmitirReporte(s) == engine::Resultado::Cancelado;
}

void anotarFallo(const vb::Error& error, const char* rutina, int respuesta) {
  vb::registrar({traza::report(), rutina}, error, u"se avisó al usuario");
  vb::omitir({traza::report(), rutina}, [&] { db().RegistrarError(error, QString::fromLatin1(rutina), respuesta); });
}

void conectarMotorReportes() {
  ZepaKit2::Lanzador& l = ZepaKit2::lanzador();
  if (!l.motor()) l.setMotor(std::make_shared<MotorPrograma>());
}

}  // namespace rp_usuarios
