#pragma once
// ADO data types and sizes of columns, and the values the program gets from
// them, shared by the providers. Each provider maps its own description of
// a column (SQLite's declared SQL type, ODBC's type code) to the ADO code.
#include <QString>
#include <cstdint>

#include "platform/ado/constantes.h"
#include "platform/vb/variant.h"

namespace ado::detalle {

// The DefinedSize ADO reports for a text or binary without a limit.
inline constexpr long kTextoLargo = 1073741823;

struct TipoAdo {
  DataTypeEnum tipo;
  long tamano;  // DefinedSize
};

// INTEGER 3, SMALLINT 2, BIGINT 20, VARCHAR(n) 200 of size n, NVARCHAR 202,
// CHAR 129, NCHAR 130, TEXT 202, DATETIME 135, DATE 7, REAL/FLOAT/DOUBLE 5,
// MONEY 6, DECIMAL/NUMERIC 131, BIT/BOOLEAN 11. Unknown or empty: text 202.
TipoAdo tipoDeclarado(QStringView declarado);

// The DefinedSize of a type whose values all take the same room (INTEGER 4,
// DATETIME 16, ...); `propio`, the column's own, for texts and binaries.
long tamanoFijo(DataTypeEnum tipo, long propio);

// True for the codes whose values are texts.
bool esTexto(DataTypeEnum tipo);

// An integer the driver read, as a column of that type gives it (Boolean,
// Currency, Byte, Integer, Double, text...); otherwise Long, or LongLong
// past Long's range.
vb::Variant valorEntero(std::int64_t v, DataTypeEnum tipo);

}  // namespace ado::detalle
