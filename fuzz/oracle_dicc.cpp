// The Oracle dialect translation and the script runner's statement split.
// An unpaired quote is the invalid-argument error the translation promises;
// any other outcome is a text.
#include "data/reescritura.h"
#include "fuzz/apoyo.h"
#include "platform/vb/error.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* datos, size_t largo) {
  const QString sql = fuzz::texto(datos, largo);
  static const QString oracle = QStringLiteral("Provider=OraOLEDB.Oracle.1;Data Source=XE;User Id=ADM;Password=x;");
  static const QString servidor = QStringLiteral("PROVIDER=SQLOLEDB;Server=SRV01;Database =EMPRESA;UId=U;Pwd=x;");

  KV_FUZZ_CHECK(reescritura::ORACLE_Dicc(sql, servidor) == sql, "cambió un texto fuera de Oracle");
  try {
    (void)reescritura::ORACLE_Dicc(sql, oracle);
  } catch (const vb::Error& e) {
    KV_FUZZ_CHECK(e.Number() == vb::kInvalidProcedureCall, "error %ld: %s", e.Number(), qPrintable(e.Description()));
  }

  const QString script = reescritura::limpiarScript(sql);
  qsizetype desde = 0;
  QString sentencia;
  int vueltas = 0;
  while (reescritura::siguienteSentencia(script, desde, sentencia)) {
    KV_FUZZ_CHECK(++vueltas <= script.size() + 1, "el script no avanza (desde %lld)", static_cast<long long>(desde));
    try {
      QString s = reescritura::ORACLE_Dicc(sentencia, oracle);
      (void)reescritura::DescartaSentenciaSQLServer(s);
    } catch (const vb::Error& e) {
      KV_FUZZ_CHECK(e.Number() == vb::kInvalidProcedureCall, "error %ld", e.Number());
    }
  }
  return 0;
}
