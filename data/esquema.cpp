// Schema inspection: whether a table or a column exists, and adding a
// missing column.
#include "data/db_dll.h"
#include "data/texto_sql.h"
#include "data/textos_sql.h"
#include "data/traza.h"
#include "platform/vb/convert.h"
#include "platform/vb/manejo.h"
#include "platform/vb/strings.h"

namespace {

bool mismoNombre(const vb::Variant& valor, const QString& nombre) {
  return vb::igualesTexto(vb::Trim(valor.toText()), vb::Trim(nombre));
}

// Walks a schema rowset until a row names `nombre` in `columna`.
bool buscarEnEsquema(ado::Recordset& rs, const QString& columna, const QString& nombre) {
  if (rs.EOF() && rs.BOF()) return false;
  while (!rs.EOF()) {
    if (mismoNombre(rs.Fields(columna).Value(), nombre)) return true;
    rs.MoveNext();
  }
  return false;
}

}  // namespace

namespace textos_sql {

QString AddField(const QString& Tabla, const QString& Campo, const QString& Tipo, bool PermiteNulos,
                 const std::optional<vb::Variant>& ValorDefault) {
  // The owner is always dbo, as the suite's schema scripts write it.
  QString sql = QStringLiteral("ALTER TABLE dbo.") + Tabla + QStringLiteral(" ADD ") + Campo + QStringLiteral(" ") +
                Tipo + (PermiteNulos ? QStringLiteral(" Null ") : QStringLiteral(" Not Null "));
  if (ValorDefault)
    sql += QStringLiteral(" CONSTRAINT DF_") + vb::Trim(Tabla) + QStringLiteral("_") + vb::Trim(Campo) +
           QStringLiteral(" DEFAULT (") + vb::CStr(*ValorDefault) + QStringLiteral(")");
  return sql;
}

}  // namespace textos_sql

bool DB_Dll::ExisteTablaDB(const QString& Tabla) {
  bool existe = false;
  ado::Recordset rs;
  vb::Pasos pasos({traza::data(), "ExisteTablaDB"}, [this](const vb::Error& e) {
    return TratamientoErrores(e, std::nullopt, vb::Variant("VerificaCampos"));
  });
  pasos.run([&] { rs = gCnn.OpenSchema(ado::adSchemaTables); }) &&
      pasos.run([&] { existe = buscarEnEsquema(rs, QStringLiteral("TABLE_NAME"), Tabla); });
  return existe;
}

bool DB_Dll::ExisteCampoDB(const QString& Tabla, const QString& Campo) {
  // Oracle's column lists are not read: the column is taken as present.
  if (db_texto::contiene(gProveedor, QStringLiteral("ORACLE"))) return true;
  bool existe = false;
  ado::Recordset rs;
  vb::Pasos pasos({traza::data(), "ExisteCampoDB"}, [this](const vb::Error& e) {
    return TratamientoErrores(e, std::nullopt, vb::Variant("VerificaCampos"));
  });
  pasos.run([&] {
    rs =
        gCnn.OpenSchema(ado::adSchemaColumns, {vb::Variant(gDBName), vb::Variant(), vb::Variant(Tabla), vb::Variant()});
  }) &&
      pasos.run([&] { existe = buscarEnEsquema(rs, QStringLiteral("COLUMN_NAME"), Campo); });
  return existe;
}

void DB_Dll::AddField(const QString& Tabla, const QString& Campo, const QString& Tipo, bool PermiteNulos,
                      const std::optional<vb::Variant>& ValorDefault) {
  QString sql;
  long afectados = 0;
  vb::Pasos pasos({traza::data(), "AddField"}, [this](const vb::Error& e) {
    return TratamientoErrores(e, std::nullopt, vb::Variant("errAddField"));
  });
  pasos.run([&] { sql = textos_sql::AddField(Tabla, Campo, Tipo, PermiteNulos, ValorDefault); }) &&
      pasos.run([&] { EjecutaConsultaSQL(sql, afectados); });
}

bool DB_Dll::VerCampoDB(const QString& Tabla, const QString& Campo, bool Agregar, const QString& Tipo,
                        bool PermiteNulos, const std::optional<vb::Variant>& ValorDefault) {
  if (!ExisteTablaDB(Tabla)) return true;
  if (!ExisteCampoDB(Tabla, Campo) && Agregar) AddField(Tabla, Campo, Tipo, PermiteNulos, ValorDefault);
  return true;
}
