#pragma once
// A report file (".rpt"): a JSON document an administrator can write by
// hand, described in docs/formato-reportes.md. Loading checks its shape;
// checking against the query's columns happens once the query has run
// (validarCampos), so every message can name the file and what is wrong.
#include <QPageLayout>
#include <QPageSize>
#include <QString>
#include <QStringList>
#include <utility>
#include <vector>

#include "engine/sql.h"

namespace engine {

enum class Alineacion { Izquierda, Centro, Derecha, Automatica };

struct ColumnaReporte {
  QString campo;
  QString titulo;
  double anchoMm = 0;  // 0: share what is left
  Alineacion alineacion = Alineacion::Automatica;
  QString formato;
  int indice = -1;  // position in the query's columns, once validated
};

struct GrupoReporte {
  QString campo;
  QString encabezado;  // template; {CAMPO} gives the group's value
  QString pie;         // template; {cuenta} gives the group's row count
  int indice = -1;
};

struct OrdenReporte {
  QString campo;
  bool descendente = false;
  int indice = -1;
};

struct DefinicionReporte {
  QString archivo;
  QString titulo;
  QString consulta;
  std::vector<std::pair<QString, QString>> alias;  // "TABLA.CAMPO" of the formulas -> query column
  std::vector<OrdenReporte> orden;
  std::vector<GrupoReporte> grupos;
  std::vector<ColumnaReporte> columnas;
  std::vector<std::pair<QString, int>> columnasTextos;  // query columns the group texts name, and their index
  std::vector<std::pair<QString, QString>> formulas;    // name, default value; file order
  QStringList encabezado;  // extra page-header lines (templates); absent: the formula values
  bool encabezadoDado = false;
  QString pie;    // page-footer text on the left (template)
  QString final;  // report footer (template); {cuenta} is the number of rows
  QPageSize::PageSizeId papel = QPageSize::A4;
  QPageLayout::Orientation orientacion = QPageLayout::Portrait;
  double margenMm = 10;
  QString familia = QStringLiteral("DejaVu Sans");
  double tamanoLetra = 9;

  // Index of a formula field by name ignoring case, or -1.
  int formula(const QString& nombre) const;
};

// Reads and checks a report file; raises vb::Error (53 for a missing file,
// kErrorArchivoReporte otherwise) naming the file and what is wrong.
DefinicionReporte cargarDefinicion(const QString& archivo);
// The same from text already read (`archivo` only names it in messages).
DefinicionReporte leerDefinicion(const QByteArray& contenido, const QString& archivo);

// Binds every field the file names to the query's columns; a field the
// query lacks raises kErrorCampo naming the file and the field.
void validarCampos(DefinicionReporte& d, const std::vector<Columna>& columnas);

// Position of a column by name ignoring case, or -1.
int buscarColumna(const std::vector<Columna>& columnas, const QString& nombre);

// The placeholders {name} of a template, in order.
QStringList marcadores(const QString& plantilla);

}  // namespace engine
