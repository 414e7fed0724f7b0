#pragma once
// Lays a report out page by page from a stream of rows already sorted by
// the group and sort fields, so the first page exists long before the last
// row has been read.
#include <QDateTime>
#include <memory>

#include "engine/definicion.h"
#include "engine/documento.h"
#include "engine/filas_compactas.h"

namespace engine {

class FuenteFilas {
 public:
  virtual ~FuenteFilas() = default;
  // The next row; false at the end.
  virtual bool siguiente(Fila& fila) = 0;
};

// Rows kept in memory (tests, benchmarks, and data already read).
class FilasEnMemoria : public FuenteFilas {
 public:
  explicit FilasEnMemoria(std::vector<Fila> filas) : filas_(std::move(filas)) {}
  bool siguiente(Fila& fila) override;

 private:
  std::vector<Fila> filas_;
  size_t i_ = 0;
};

// The values of the report's formula fields, the run's date and time.
struct Entorno {
  QDateTime ahora = QDateTime::currentDateTime();
  std::vector<std::pair<QString, QString>> formulas;  // effective values, file order
};

// A cell's text with the column's format.
QString formatear(const Valor& v, const QString& formato);

// Lays a report out in two passes. The first (siguientePagina) reads the
// rows, keeps them packed and finds where each page begins, without a single
// text; the second (componer) builds the primitives of one page from where it
// begins, when that page is painted. A group that goes on over a page break
// repeats its header at the top of the next page, marked " (continuación)".
class Maquetador : public Documento {
 public:
  // `d` must have been validated against the query's columns.
  Maquetador(const DefinicionReporte& d, Entorno entorno, FuenteFilas& filas);

  // Finds the next page, reading rows as needed; false once the report is complete.
  bool siguientePagina();

  int paginas() const override { return int(inicios_.size()) - 1; }
  bool completo() const override { return completo_; }
  long filas() const override { return inicios_.back().fila; }
  void componer(int indice, Pagina& pagina) const override;
  // The detail rows read so far, in report order.
  const FilasCompactas& filasLeidas() const { return filas_; }

 private:
  struct Elemento {
    enum class Tipo { Encabezado, Detalle, Pie, Final, SinFilas } tipo;
    int nivel = 0;
    long fila = -1;  // the row it shows
    long cuenta = 0;
  };
  // A place in the report: the step `paso` of the elements that row `fila`
  // brings (the footers of the groups it ends, the headers of those it
  // begins, its detail; after the last row, the closing elements), the
  // groups open there and the row each began at.
  struct Posicion {
    long fila = 0;
    int paso = 0;
    int abiertos = 0;
    std::vector<long> inicios;
  };

  // The element at `p`; false past the end. Rows up to p.fila must have been read.
  bool elemento(const Posicion& p, Elemento& e) const;
  void avanzar(Posicion& p, const Elemento& e) const;
  // Reads rows until row `fila` is there or the data has ended.
  void leerHasta(long fila);

  double alto(const Elemento& e) const;
  void colocar(const Elemento& e, const Fila* fila, int numero, Pagina& p, double& y) const;
  void continuacion(int nivel, const Fila& fila, int numero, Pagina& p, double& y) const;
  void encabezadoPagina(Pagina& p, double& y, int numero) const;
  void piePagina(Pagina& p, int numero) const;
  QString expandir(const QString& plantilla, const Fila* fila, long cuenta, int pagina) const;
  void texto(Pagina& p, int letra, double x, double y, double ancho, Alineacion al, const QString& s) const;

  const DefinicionReporte& d_;
  Entorno entorno_;
  FuenteFilas& fuente_;
  double margen_ = 0;
  std::vector<double> xs_, anchos_;
  double linea_ = 0, lineaGrupo_ = 0;
  double altoEncabezado_ = 0;  // where the page header ends
  double limite_ = 0;          // where the page's body ends

  FilasCompactas filas_;
  bool finDatos_ = false;
  bool completo_ = false;
  Fila leida_, anterior_;
  // Where each page begins; the last entry is where the next one will.
  std::vector<Posicion> inicios_;
};

}  // namespace engine
