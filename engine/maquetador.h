#pragma once
// Lays a report out page by page from a stream of rows already sorted by
// the group and sort fields, so the first page exists long before the last
// row has been read.
#include <QDateTime>
#include <deque>
#include <memory>

#include "engine/definicion.h"
#include "engine/documento.h"

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

class Maquetador {
 public:
  // `d` must have been validated against the query's columns.
  Maquetador(const DefinicionReporte& d, Entorno entorno, FuenteFilas& filas);

  // Adds the next page to `doc`; false (and doc.completo) once the report has ended.
  bool siguientePagina(Documento& doc);
  // A document with the page size and fonts of the report and no pages yet.
  Documento documentoVacio() const;

 private:
  struct Elemento {
    enum class Tipo { Encabezado, Detalle, Pie, Final, SinFilas } tipo;
    int nivel = 0;
    Fila fila;
    long cuenta = 0;
  };

  bool llenarCola();
  double alto(const Elemento& e) const;
  void colocar(const Elemento& e, Pagina& p, double& y);
  void encabezadoPagina(Pagina& p, double& y, int numero);
  void piePagina(Pagina& p, int numero);
  QString expandir(const QString& plantilla, const Fila* fila, long cuenta, int pagina) const;
  void texto(Pagina& p, int letra, double x, double y, double ancho, Alineacion al, const QString& s) const;

  const DefinicionReporte& d_;
  Entorno entorno_;
  FuenteFilas& filas_;
  Letras letras_;
  QSizeF tamano_;
  double margen_ = 0;
  std::vector<double> xs_, anchos_;
  double linea_ = 0, lineaGrupo_ = 0;

  std::deque<Elemento> cola_;
  bool finDatos_ = false;
  bool finalPuesto_ = false;
  Fila anterior_;
  bool hayAnterior_ = false;
  std::vector<long> cuentas_;
  long total_ = 0;
  int paginas_ = 0;
};

}  // namespace engine
