#include "report/motor_programa.h"

#include <QApplication>

#include "data/db_dll.h"
#include "engine/motor.h"
#include "platform/vb/error.h"
#include "platform/vb/manejo.h"
#include "report/traza.h"

namespace rp_usuarios {

namespace {

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
