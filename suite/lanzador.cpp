#include "suite/lanzador.h"

#include <exception>

#include "platform/ctx/programa.h"
#include "platform/vb/error.h"

namespace ZepaKit2 {

namespace {
// The platform's number for a component that is not there to be created.
constexpr long kSinComponente = 429;
const QString kOrigen = QStringLiteral("Lanzador");
}  // namespace

void Lanzador::setDestino(int destino) {
  if (destino != DestinoPantalla() && destino != DestinoImpresora() && destino != DestinoArchivo())
    throw vb::Error(vb::kInvalidPropertyValue, {}, kOrigen);
  destino_ = destino;
}

void Lanzador::EmitirReporte(const QString& archivoReporte, const QStringList& textos, const QString& formulaSeleccion,
                             const QString& conexion, QString& formula1, QString& formula2, QString& formula3,
                             QString& formula4, QString& formula5, const QString& texto1, const QString& texto2,
                             const QString& texto3) {
  if (!motor_) throw vb::Error(kSinComponente, QStringLiteral("No hay un motor de reportes disponible"), kOrigen);
  if (archivoReporte.trimmed().isEmpty())
    throw vb::Error(vb::kInvalidProcedureCall, QStringLiteral("No se indicó el archivo del reporte"), kOrigen);
  if (destino_ == DestinoArchivo() && archivoDestino_.trimmed().isEmpty())
    throw vb::Error(vb::kInvalidProcedureCall, QStringLiteral("No se indicó el archivo de destino"), kOrigen);

  SolicitudReporte s;
  s.archivoReporte = archivoReporte;
  s.textos = textos;
  s.formulaSeleccion = formulaSeleccion;
  s.conexion = conexion;
  s.formulas = {formula1, formula2, formula3, formula4, formula5};
  s.textosAdicionales = {texto1, texto2, texto3};
  s.destino = destino_;
  s.archivoDestino = archivoDestino_;
  s.rutaSistema = rutaSistema_;
  s.opcionA = opcionA_;
  s.opcionB = opcionB_;
  s.opcionC = opcionC_;
  s.ajuste = ajuste_;

  // Keep the engine alive even if it replaces itself while it runs.
  const std::shared_ptr<MotorReportes> motor = motor_;
  try {
    motor->Emitir(s);
  } catch (const vb::Error&) {
    throw;
  } catch (const std::exception& e) {
    throw vb::Error(vb::kAutomationError, QString::fromLocal8Bit(e.what()), kOrigen);
  }
  formula1 = s.formulas[0];
  formula2 = s.formulas[1];
  formula3 = s.formulas[2];
  formula4 = s.formulas[3];
  formula5 = s.formulas[4];
}

Lanzador& lanzador() { return ctx::actual().instancia<Lanzador>(); }

}  // namespace ZepaKit2
