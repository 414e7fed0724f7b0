#pragma once
// The statements DB_Dll writes, one builder per operation, so that their
// exact texts (blanks included: callers and logs depend on them) can be
// checked apart from running them. Defined beside the operation that uses
// each one (consultas.cpp, esquema.cpp).
#include <QString>
#include <optional>

#include "platform/ado/errors.h"
#include "platform/vb/variant.h"

namespace textos_sql {

QString DatosTabla(const QString& Tabla, const QString& ValorBuscado, const QString& Campo, long Tipodato,
                   const QString& Condicion, bool UsaTrim);
QString ExisteEnTabla(const QString& Tabla, const QString& ValorBuscado, const QString& Campo, long Tipodato,
                      const QString& Condicion);
QString ExisteEnTablaST(const QString& Tabla, const QString& ValorBuscado, const QString& Campo, long Tipodato,
                        const QString& Condicion);
QString BuscaMaximo(const QString& QueTabla, const QString& QueCampo, const std::optional<vb::Variant>& Condicion);
QString BuscaMinimo(const QString& QueTabla, const QString& QueCampo, const std::optional<vb::Variant>& Condicion);
QString BuscaUltimoCodigo(const QString& QueTabla, const QString& QueCampo, const QString& Condicion);
QString AddField(const QString& Tabla, const QString& Campo, const QString& Tipo, bool PermiteNulos,
                 const std::optional<vb::Variant>& ValorDefault);

// Whether EjecutaConsultaSQL clears the collection as a mere truncation
// notice: native 8152 first, no transaction in the statement, and after a
// successful run only one or two entries.
bool esAvisoTruncado(const ado::Errors& errores, const QString& sentencia, bool exito);

}  // namespace textos_sql
