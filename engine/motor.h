#pragma once
// The report engine's entry point, behind the launcher's EmitirReporte: a
// request names a report file, a selection formula, the connection text and
// the formula assignments, and where the report goes.
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

#include "engine/avance.h"
#include "engine/datos.h"
#include "engine/definicion.h"
#include "engine/documento.h"
#include "engine/pintor.h"
#include "engine/sql.h"
#include "platform/ado/connection.h"

class QWidget;

namespace engine {

// Xlsx and Csv write the detail rows as a table for spreadsheets (engine/tabla.h).
enum class Destino { Pantalla, Impresora, Pdf, Xlsx, Csv };

struct SolicitudReporte {
  QString archivo;                                 // the ".rpt" file
  QString formula;                                 // record selection, formula syntax; empty: every row
  QString conexion;                                // gDsnReportes: an ODBC data source name or a connection string
  std::optional<ado::Connection> conexionAbierta;  // the program's open connection, used when no such DSN exists
  QStringList asignaciones;                        // "Nombre = 'valor'"; empty entries are skipped
  Destino destino = Destino::Pantalla;
  QString archivoPdf;   // the file of Destino::Pdf, Xlsx and Csv
  bool opcionA = true;  // the preview offers printing
  bool opcionB = true;  // the preview offers export to PDF
  bool opcionC = true;  // runs of more than half a second show a progress window with a cancel button
  int ajuste = 0;       // preview's first zoom: 25..400 percent, kZoomPagina the whole page; else the page width
  std::function<void(int)> alElegirZoom;  // told each zoom the person picks in the preview (to remember it)
  QWidget* padre = nullptr;
  Avance avance;  // replaces the progress window when set (tests, batch runs)
};

// The preview's zooms that follow the window: the page's width, the whole page.
constexpr int kZoomAncho = 0;
constexpr int kZoomPagina = -1;

enum class Resultado { Emitido, Cancelado };

// "Nombre = 'valor'" read as its name and value (a doubled quote inside
// stands for one); raises kErrorSolicitud for anything else.
std::pair<QString, QString> leerAsignacion(const QString& asignacion);

// The connection a request names: an ODBC data source of that name when one
// is configured, else the program's open connection, else the text opened as
// a connection string. Raises vb::Error when none can be had.
ado::Connection conexionDe(const SolicitudReporte& s);

// A report ready to be laid out: file read and checked against its query,
// selection split between the database and memory, rows streaming.
class ReportePreparado {
 public:
  // Raises vb::Error with a description naming the file, field or position,
  // or ado::kErrorCancelada when `avance` cancelled the query.
  static std::unique_ptr<ReportePreparado> preparar(const SolicitudReporte& s, const Avance& avance = {});
  // The same over a data source already open (tests, benchmarks).
  static std::unique_ptr<ReportePreparado> preparar(const SolicitudReporte& s, std::unique_ptr<FuenteDatos> datos,
                                                    const Avance& avance = {});

  const DefinicionReporte& definicion() const { return def_; }
  const std::vector<Columna>& columnas() const { return columnas_; }
  const Seleccion& seleccion() const { return seleccion_; }
  const QString& sql() const { return sql_; }  // the statement sent, "?" for the values
  const Entorno& entorno() const { return entorno_; }
  // The detail rows laid out so far, in report order (a spreadsheet's).
  const FilasCompactas& filas() const { return maquetador_->filasLeidas(); }

  const Documento& documento() const { return *maquetador_; }
  // Lays out one more page; false once the report is complete.
  bool siguientePagina(const Avance& avance = {});
  // Lays out every remaining page; false when `avance` cancelled (also while
  // the database was reading).
  bool completar(const Avance& avance = {});

 private:
  ReportePreparado() = default;
  class Filtradas;

  DefinicionReporte def_;
  std::unique_ptr<FuenteDatos> datos_;
  std::vector<Columna> columnas_;
  Seleccion seleccion_;
  QString sql_;
  Entorno entorno_;
  std::unique_ptr<FuenteFilas> filas_;
  std::unique_ptr<Maquetador> maquetador_;
};

// Runs a whole request: screen (the preview, shown modally through the UI
// service), the default printer (the print dialog when there is none), a
// PDF file or a spreadsheet. From the query to the last page sent, a run of
// more than half a second shows the UI service's progress window (opcionC).
// Returns
// Cancelado when the user stopped it; raises vb::Error on any failure,
// nothing having been written.
Resultado EmitirReporte(const SolicitudReporte& s);

}  // namespace engine
