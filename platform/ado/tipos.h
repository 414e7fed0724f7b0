#pragma once
// ADO data types of columns known only by their declared SQL type (SQLite
// keeps the type as written in CREATE TABLE).
#include <QString>

#include "platform/ado/constantes.h"

namespace ado::detalle {

struct TipoAdo {
  DataTypeEnum tipo;
  long tamano;  // DefinedSize
};

// INTEGER 3, SMALLINT 2, BIGINT 20, VARCHAR(n) 200 of size n, NVARCHAR 202,
// CHAR 129, NCHAR 130, TEXT 202, DATETIME 135, DATE 7, REAL/FLOAT/DOUBLE 5,
// MONEY 6, DECIMAL/NUMERIC 131, BIT/BOOLEAN 11. Unknown or empty: text 202.
TipoAdo tipoDeclarado(QStringView declarado);

// True for the codes whose values are texts.
bool esTexto(DataTypeEnum tipo);

}  // namespace ado::detalle
