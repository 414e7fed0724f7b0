#pragma once
// The batch mode: the users report form, loaded offscreen, given the choices
// of the command line and asked for the report, with every message written
// to the error stream instead of waiting for a person.
#include <iostream>
#include <memory>

#include "platform/ui/consola_servicio.h"
#include "report/lote_opciones.h"
#include "suite/lanzador.h"

namespace lote {

// Exit statuses.
inline constexpr int kHecho = 0;
inline constexpr int kFallo = 1;     // what was asked could not be produced
inline constexpr int kOpciones = 2;  // the options are wrong

// The console service whose program end returns to the batch run instead of
// leaving the process there, so the run can give its own exit status.
class ServicioLote : public ui::ConsolaServicio {
 public:
  using ui::ConsolaServicio::ConsolaServicio;
  [[noreturn]] void End(int codigo = 0) override { throw ui::FinPrograma{codigo}; }
};

// The engine of --solicitud: writes the request, one item a line, exactly as
// it reached the launcher, and sends nothing.
class MotorSolicitud : public ZepaKit2::MotorReportes {
 public:
  explicit MotorSolicitud(std::ostream& salida) : salida_(salida) {}
  void Emitir(ZepaKit2::SolicitudReporte& solicitud) override;
  int solicitudes() const { return solicitudes_; }

 private:
  std::ostream& salida_;
  int solicitudes_ = 0;
};

// Runs the batch mode in the program context in force: installs the console
// service, hands the parameter text (o.resto) to the start-up, loads the
// form, makes the choices and sends the request. Returns the exit status.
// `salida` receives the request of --solicitud and the place of the PDF;
// `avisos` every message box.
int ejecutar(const Opciones& o, std::ostream& salida = std::cout, std::ostream& avisos = std::cerr);

}  // namespace lote
