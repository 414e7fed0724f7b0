#pragma once
// The report launcher: collects a report request and hands it to the report
// engine plugged into it. Without an engine it refuses every request with a
// run-time error; it never pretends to have shown or printed anything.
#include <QString>
#include <QStringList>
#include <array>
#include <memory>

namespace ZepaKit2 {

// Everything a report request carries.
struct SolicitudReporte {
  QString archivoReporte;
  QStringList textos;               // the text list the caller passes (the users report: one empty entry)
  QString formulaSeleccion;         // record selection, in the formula language
  QString conexion;                 // "DSN=...; UID=...; PWD=..."
  std::array<QString, 5> formulas;  // "Nombre = 'valor'" assignments, or empty; the engine may change them
  std::array<QString, 3> textosAdicionales;
  int destino = 0;         // one of Lanzador::Destino*()
  QString archivoDestino;  // the PDF file, for DestinoArchivo
  QString rutaSistema;     // the program folder
  bool opcionA = false, opcionB = false, opcionC = false;
  double ajuste = 0;
};

// A report engine: shows, prints or writes the report, or throws vb::Error.
class MotorReportes {
 public:
  virtual ~MotorReportes() = default;
  virtual void Emitir(SolicitudReporte& solicitud) = 0;
};

class Lanzador {
 public:
  // The program folder, where the launcher looks for what it needs.
  QString RutaSistema() const { return rutaSistema_; }
  void setRutaSistema(const QString& ruta) { rutaSistema_ = ruta; }

  // Destination values; Destino is the one the next request goes to.
  static constexpr int DestinoPantalla() { return 0; }
  static constexpr int DestinoImpresora() { return 1; }
  static constexpr int DestinoArchivo() { return 2; }  // a PDF file, ArchivoDestino
  int Destino() const { return destino_; }
  void setDestino(int destino);  // another value: error 380
  QString ArchivoDestino() const { return archivoDestino_; }
  void setArchivoDestino(const QString& ruta) { archivoDestino_ = ruta; }

  // Switches and setting that the callers set and the engine interprets.
  bool OpcionA() const { return opcionA_; }
  void setOpcionA(bool v) { opcionA_ = v; }
  bool OpcionB() const { return opcionB_; }
  void setOpcionB(bool v) { opcionB_ = v; }
  bool OpcionC() const { return opcionC_; }
  void setOpcionC(bool v) { opcionC_ = v; }
  double Ajuste() const { return ajuste_; }
  void setAjuste(double v) { ajuste_ = v; }

  // Hands the request to the engine and returns when it is done. The five
  // formula assignments come back as the engine left them. Errors: 429 when
  // no engine is plugged in; 5 for an empty report file, or for the file
  // destination without a file; whatever the engine raises.
  void EmitirReporte(const QString& archivoReporte, const QStringList& textos, const QString& formulaSeleccion,
                     const QString& conexion, QString& formula1, QString& formula2, QString& formula3,
                     QString& formula4, QString& formula5, const QString& texto1 = {}, const QString& texto2 = {},
                     const QString& texto3 = {});

  void setMotor(std::shared_ptr<MotorReportes> motor) { motor_ = std::move(motor); }
  MotorReportes* motor() const { return motor_.get(); }

 private:
  QString rutaSistema_;
  int destino_ = DestinoPantalla();
  QString archivoDestino_;
  bool opcionA_ = false, opcionB_ = false, opcionC_ = false;
  double ajuste_ = 0;
  std::shared_ptr<MotorReportes> motor_;
};

Lanzador& lanzador();

}  // namespace ZepaKit2
