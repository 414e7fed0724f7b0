#pragma once
// A report's detail rows as a table for spreadsheets: one row per detail
// line, the group fields first, then the report's columns, under their
// titles. Cells keep their kind: numbers and dates stay numbers and dates,
// logical values read as the report shows them.
#include <QByteArray>
#include <QString>
#include <vector>

#include "engine/definicion.h"
#include "engine/filas_compactas.h"
#include "engine/formula.h"

namespace engine {

struct ColumnaTabla {
  QString titulo;
  int indice = -1;     // position in the row
  QString formato;     // the report column's; empty for a group field
  double anchoMm = 0;  // the report column's; 0 for a group field
};

// The columns of the table of a definition validated against its query. A
// group field is titled by its header's text before the first field
// ("Grupo: {GRUPO}" gives "Grupo"), else by a column showing the same
// field, else by the field's name.
std::vector<ColumnaTabla> columnasTabla(const DefinicionReporte& d);

// A cell as text: numbers and dates in the column's format, logical values
// as the report shows them.
QString textoCelda(const Valor& v, const ColumnaTabla& c);

enum class FormatoTabla { Xlsx, Csv };

// The file's bytes. CSV: RFC 4180 in UTF-8 with a byte order mark, ";"
// between fields and decimal commas, as spreadsheets in Spanish settings read
// it. XLSX: one sheet named after the report, titles in bold and frozen.
// `filas` are the rows the layout read, in report order. Raise kErrorSalida
// when the rows do not fit a sheet.
QByteArray tablaCsv(const DefinicionReporte& d, const FilasCompactas& filas);
QByteArray tablaXlsx(const DefinicionReporte& d, const FilasCompactas& filas);

// Writes the table beside `ruta` and renames it into place, so a failure
// leaves what was there. Only a regular file is replaced: a link, a folder
// or a device in its place is refused. Raises kErrorSalida naming the file.
void escribirTabla(const DefinicionReporte& d, const FilasCompactas& filas, const QString& ruta, FormatoTabla formato);

}  // namespace engine
