// Report files: a file that is not a valid report is the report-file error
// naming what is wrong, never a crash; a valid one binds to a query's
// columns or names the field the query lacks.
#include "engine/definicion.h"
#include "engine/errores.h"
#include "fuzz/apoyo.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* datos, size_t largo) {
  engine::DefinicionReporte d;
  try {
    d = engine::leerDefinicion(fuzz::bytes(datos, largo), QStringLiteral("fuzz.rpt"));
  } catch (const vb::Error& e) {
    KV_FUZZ_CHECK(e.Number() == engine::kErrorArchivoReporte, "error %ld: %s", e.Number(), qPrintable(e.Description()));
    return 0;
  }
  KV_FUZZ_CHECK(!d.consulta.trimmed().isEmpty() && !d.columnas.empty(), "reporte sin consulta o sin columnas");
  static const std::vector<engine::Columna> kColumnas = {
      {QStringLiteral("NOMBRE"), engine::Valor::Tipo::Texto},
      {QStringLiteral("GRUPO"), engine::Valor::Tipo::Texto},
      {QStringLiteral("UNEGOCIO"), engine::Valor::Tipo::Texto},
      {QStringLiteral("ESGRUPO"), engine::Valor::Tipo::Numero},
      {QStringLiteral("ALTA"), engine::Valor::Tipo::Fecha},
  };
  for (const QString& t : d.encabezado) (void)engine::marcadores(t);
  (void)engine::marcadores(d.pie);
  (void)engine::marcadores(d.final);
  try {
    engine::validarCampos(d, kColumnas);
  } catch (const vb::Error& e) {
    KV_FUZZ_CHECK(e.Number() == engine::kErrorCampo || e.Number() == engine::kErrorArchivoReporte, "error %ld: %s",
                  e.Number(), qPrintable(e.Description()));
    return 0;
  }
  for (const auto& c : d.columnas)
    KV_FUZZ_CHECK(c.indice >= 0 && c.indice < static_cast<int>(kColumnas.size()), "columna sin enlazar");
  return 0;
}
