#pragma once
// Plugs the report engine into the suite's report launcher: the launcher's
// request becomes the engine's, with the program's open connection offered
// for when the connection text names no ODBC data source.
#include "engine/motor.h"
#include "platform/vb/error.h"
#include "suite/lanzador.h"

namespace rp_usuarios {

class MotorPrograma : public ZepaKit2::MotorReportes {
 public:
  void Emitir(ZepaKit2::SolicitudReporte& solicitud) override;
  // The last request was stopped before it was whole (the preview's
  // "Detener", the progress window's cancel, a print dialog dismissed):
  // nothing was printed or written. Callers with nobody to ask (batch runs)
  // must not take that for success.
  bool Cancelado() const { return cancelado_; }
  // What the launcher's file destination writes: a PDF (the default), or
  // the rows as a spreadsheet (engine::Destino::Xlsx, Csv).
  void setFormatoArchivo(engine::Destino formato) { formatoArchivo_ = formato; }

 private:
  bool cancelado_ = false;
  engine::Destino formatoArchivo_ = engine::Destino::Pdf;
};

// Gives the program's launcher the engine (once; later calls keep it).
void conectarMotorReportes();

// A request that failed, already told to the user who answered `respuesta`:
// its error, with the detail the box folds away (the statement a database
// refused), goes whole to the error log and to the trace of `rutina`.
void anotarFallo(const vb::Error& error, const char* rutina, int respuesta);

}  // namespace rp_usuarios
