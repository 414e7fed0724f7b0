// Statement rewriting with the session's values, and the runner of SQL
// Server scripts on an Oracle connection.
#include "data/db_dll.h"
#include "data/reescritura.h"
#include "platform/vb/strings.h"

QString DB_Dll::SS_TSinonimos(const QString& SQL) const { return reescritura::SS_TSinonimos(SQL, gEsAdmin); }

QString DB_Dll::ORACLE_Dicc(const QString& Valor) const { return reescritura::ORACLE_Dicc(Valor, gConnString); }

QString DB_Dll::DescartaSentenciaSQLServer(QString& sentencia) const {
  return reescritura::DescartaSentenciaSQLServer(sentencia);
}

namespace {

// The transaction statements are recognised with the line feeds that the
// script's own line breaks leave around them.
QString sinBlancos(const QString& s) { return s.trimmed(); }

}  // namespace

void DB_Dll::EjecutaScriptOracle(QString& script, long& total) {
  script = reescritura::limpiarScript(script);
  qsizetype desde = 0;
  QString sentencia;
  while (reescritura::siguienteSentencia(script, desde, sentencia)) {
    // What has run is gone from the script, so after a failure the caller's
    // text starts at the statement that failed.
    const QString orden = sinBlancos(sentencia);
    if (vb::igualesTexto(orden, QStringLiteral("SET TRANSACTION"))) {
      gCnn.BeginTrans();
    } else if (vb::igualesTexto(orden, QStringLiteral("COMMIT"))) {
      gCnn.CommitTrans();
    } else if (vb::igualesTexto(orden, QStringLiteral("ROLLBACK"))) {
      gCnn.RollbackTrans();
    } else {
      QString traducida = ORACLE_Dicc(sentencia);
      DescartaSentenciaSQLServer(traducida);
      if (!vb::Trim(traducida).isEmpty()) {
        long afectados = 0;
        gCnn.Execute(traducida, afectados, -1);
        if (afectados > 0) total += afectados;
      }
    }
    script = script.mid(desde);
    desde = 0;
  }
  script.clear();
  ado::Errors& errores = gCnn.Errors();
  if (errores.Count() == 1 && errores.Item(0L).Number() == 265929) errores.Clear();
}
