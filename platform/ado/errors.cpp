#include "platform/ado/errors.h"

#include "platform/ado/proveedor.h"
#include "platform/vb/error.h"

namespace ado {

const Error& Errors::Item(long indice) const {
  if (indice < 0 || indice >= Count())
    throw vb::Error(kErrorElementoNoEncontrado,
                    QStringLiteral("No se encontró el elemento en la colección que corresponde al nombre o al "
                                   "ordinal solicitado."),
                    QStringLiteral("ADODB.Errors"));
  return lista_[static_cast<size_t>(indice)];
}

long numeroPorEstado(const QString& estadoSql) {
  if (estadoSql == QLatin1String("HY008")) return kErrorCancelada;
  if (estadoSql.startsWith(QLatin1String("23"))) return kErrorIntegridad;
  if (estadoSql == QLatin1String("42S02") || estadoSql == QLatin1String("S0002")) return kErrorSinTabla;
  if (estadoSql.startsWith(QLatin1String("42")) || estadoSql == QLatin1String("37000") ||
      estadoSql.startsWith(QLatin1String("S00")))
    return kErrorSentencia;
  return kErrorGeneral;
}

namespace detalle {

void fallar(Errors& errores, std::vector<Error> diagnosticos, const QString& sinDetalle) {
  errores.Clear();
  if (diagnosticos.empty())
    diagnosticos.emplace_back(kErrorGeneral,
                              sinDetalle.isEmpty() ? QStringLiteral("Error no especificado") : sinDetalle,
                              QStringLiteral("ADODB.Connection"), QStringLiteral("HY000"), 0);
  for (auto& d : diagnosticos) errores.agregar(d);
  const Error& primero = errores.Item(0);
  throw vb::Error(primero.Number(), primero.Description(), primero.Source());
}

void fallarCon(Errors& errores, long numero, const QString& descripcion, const QString& origen,
               const QString& estadoSql, long nativo) {
  fallar(errores, {Error(numero, descripcion, origen, estadoSql, nativo)});
}

}  // namespace detalle
}  // namespace ado
