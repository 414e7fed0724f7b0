// Queries and recordsets: every read and write of the program on gCnn, with
// the synonym rewrite and, on Oracle, the dialect translation on the way.
#include <functional>

#include "data/db_dll.h"
#include "data/texto_sql.h"
#include "data/textos_sql.h"
#include "data/traza.h"
#include "platform/ui/servicio.h"
#include "platform/vb/convert.h"
#include "platform/vb/manejo.h"
#include "platform/vb/regional.h"
#include "platform/vb/strings.h"
#include "suite/util_general.h"

namespace {

// Abort, Retry, Ignore under "Aviso al Operador": the answer drives the steps.
int avisoAlOperador(const vb::Error& e) {
  return ui::servicio().MsgBox(e.Description(), ui::vbAbortRetryIgnore | ui::vbCritical,
                               QStringLiteral("Aviso al Operador"));
}

// A number written for SQL: read by the regional settings when it reads
// whole (else its leading number, or 0), written with a decimal point,
// since a decimal comma would end the value in SQL.
QString numeroSql(const QString& valor) {
  const double n = vb::IsNumeric(valor) ? vb::CDbl(vb::Variant(valor)) : vb::Val(valor);
  return vb::Trim(vb::CStr(vb::Variant(n))).replace(vb::regional().separadorDecimal, QLatin1Char('.'));
}

double valorNumerico(const QString& texto) {
  return vb::IsNumeric(texto) ? vb::CDbl(vb::Variant(texto)) : vb::Val(texto);
}

bool esNumero(long tipo) { return tipo == 3 || tipo == 4 || tipo == 5; }

// The WHERE part shared by the existence tests (prefix differs).
QString condicionExiste(const QString& prefijo, const QString& Tabla, const QString& ValorBuscado, const QString& Campo,
                        long Tipodato, const QString& Condicion) {
  if (!Condicion.isEmpty()) {
    const QString union_ =
        db_texto::contiene(Condicion, QStringLiteral(" WHERE ")) ? QStringLiteral(" ") : QStringLiteral(" WHERE ");
    return prefijo + Tabla + union_ + Condicion;
  }
  if (Tipodato == 7)
    return prefijo + Tabla + QStringLiteral(" WHERE ") + Campo + QStringLiteral(" = ") + vb::Trim(ValorBuscado) +
           QStringLiteral(" ");
  if (esNumero(Tipodato))
    return prefijo + Tabla + QStringLiteral(" WHERE ") + Campo + QStringLiteral(" = ") + numeroSql(ValorBuscado);
  return prefijo + Tabla + QStringLiteral(" WHERE ") + Campo + QStringLiteral(" = ") + ValorBuscado;
}

}  // namespace

namespace textos_sql {

QString DatosTabla(const QString& Tabla, const QString& ValorBuscado, const QString& Campo, long Tipodato,
                   const QString& Condicion, bool UsaTrim) {
  const QString cola = vb::Trim(Condicion).isEmpty() ? Condicion : QStringLiteral(" AND ") + Condicion;
  const QString base = QStringLiteral("SELECT TOP 1 * FROM ") + Tabla + QStringLiteral(" WHERE ");
  if (Tipodato == 8 && UsaTrim)
    return base + QStringLiteral("LTRIM(RTRIM(") + Campo + QStringLiteral(")) ='") + vb::Trim(ValorBuscado) +
           QStringLiteral("' ") + cola;
  if (Tipodato == 8) return base + Campo + QStringLiteral(" ='") + ValorBuscado + QStringLiteral("' ") + cola;
  if (Tipodato == 7)
    return base + Campo + QStringLiteral(" = #") + vb::Trim(ValorBuscado) + QStringLiteral("# ") + cola;
  if (esNumero(Tipodato)) return base + Campo + QStringLiteral(" = ") + numeroSql(ValorBuscado) + cola;
  return base + Campo + QStringLiteral(" = ") + ValorBuscado + cola;
}

QString ExisteEnTabla(const QString& Tabla, const QString& ValorBuscado, const QString& Campo, long Tipodato,
                      const QString& Condicion) {
  if (Condicion.isEmpty() && Tipodato == 8)
    return QStringLiteral("SELECT TOP 1  * FROM ") + Tabla + QStringLiteral(" WHERE LTRIM(RTRIM(") + Campo +
           QStringLiteral(")) ='") + vb::Trim(ValorBuscado) + QStringLiteral("'");
  return condicionExiste(QStringLiteral("SELECT TOP 1 * FROM "), Tabla, ValorBuscado, Campo, Tipodato, Condicion);
}

QString ExisteEnTablaST(const QString& Tabla, const QString& ValorBuscado, const QString& Campo, long Tipodato,
                        const QString& Condicion) {
  if (Condicion.isEmpty() && Tipodato == 8)
    return QStringLiteral("SELECT * FROM ") + Tabla + QStringLiteral(" WHERE ") + Campo + QStringLiteral(" ='") +
           ValorBuscado + QStringLiteral("'");
  return condicionExiste(QStringLiteral("SELECT * FROM "), Tabla, ValorBuscado, Campo, Tipodato, Condicion);
}

QString BuscaMaximo(const QString& QueTabla, const QString& QueCampo, const std::optional<vb::Variant>& Condicion) {
  QString sql = QStringLiteral("SELECT MAX(") + QueCampo + QStringLiteral(") AS MAYOR FROM ") + QueTabla;
  if (Condicion) sql += QStringLiteral(" WHERE ") + vb::Trim(Condicion->toText());
  return sql;
}

QString BuscaMinimo(const QString& QueTabla, const QString& QueCampo, const std::optional<vb::Variant>& Condicion) {
  QString sql = QStringLiteral("SELECT MIN(") + QueCampo + QStringLiteral(") AS MENOR FROM ") + QueTabla;
  if (Condicion) sql += QStringLiteral(" WHERE ") + vb::Trim(Condicion->toText());
  return sql;
}

QString BuscaUltimoCodigo(const QString& QueTabla, const QString& QueCampo, const QString& Condicion) {
  QString sql = QStringLiteral("SELECT MAX(") + QueCampo + QStringLiteral(") AS MAYOR FROM ") + QueTabla;
  if (!vb::Trim(Condicion).isEmpty()) sql += QStringLiteral(" WHERE ") + Condicion;
  return sql;
}

// Truncation notices of the server: the suite takes them as success unless
// a transaction is involved.
bool esAvisoTruncado(const ado::Errors& errores, const QString& sentencia, bool exito) {
  constexpr long kNativoTruncado = 8152;
  const long n = errores.Count();
  if (n == 0 || (exito && n > 2)) return false;
  if (db_texto::contiene(sentencia, QStringLiteral("TRANS"))) return false;
  return errores.Item(0L).NativeError() == kNativoTruncado;
}

}  // namespace textos_sql

bool DB_Dll::esConexionOracle(bool despuesDelPrimero) const {
  const qsizetype p = db_texto::pos(gCnn.ConnectionString(), QStringLiteral("ORACLE"));
  return despuesDelPrimero ? p > 0 : p >= 0;
}

void DB_Dll::AbrirRecordset(QString& SentenciaSQL, ado::Recordset& Lrcs, const ado::Connection* ConexionActiva,
                            long CursorType, long LockType, long Options, bool ConvOracle) {
  vb::Pasos pasos({traza::data(), "AbrirRecordset"}, [](const vb::Error& e) {
    return ZepaKit2::util().DialogoError(e, std::nullopt, QStringLiteral("AbrirRecordset"));
  });
  if (!pasos.run([&] { CierraRecordset(Lrcs); })) return;
  if (!pasos.run([&] { SentenciaSQL = SS_TSinonimos(SentenciaSQL); })) return;
  const ado::Connection& conexion = ConexionActiva ? *ConexionActiva : gCnn;
  pasos.run([&] {
    // The caller keeps the statement as the suite writes it; only the opened
    // text is in Oracle's dialect.
    const QString texto = (ConvOracle && esConexionOracle(true)) ? ORACLE_Dicc(SentenciaSQL) : SentenciaSQL;
    Lrcs.Open(texto, conexion, CursorType, LockType, Options);
  });
}

void DB_Dll::AbrirRecordset(const QString& SentenciaSQL, ado::Recordset& Lrcs, const ado::Connection* ConexionActiva,
                            long CursorType, long LockType, long Options, bool ConvOracle) {
  QString copia = SentenciaSQL;
  AbrirRecordset(copia, Lrcs, ConexionActiva, CursorType, LockType, Options, ConvOracle);
}

void DB_Dll::CierraRecordset(ado::Recordset& LrcsTemp) {
  vb::Pasos pasos({traza::data(), "CierraRecordset"}, [](const vb::Error& e) {
    return ZepaKit2::util().DialogoError(e, std::nullopt, QStringLiteral("CierraRecordset"));
  });
  pasos.run([&] {
    if (LrcsTemp.State() != ado::adStateClosed) LrcsTemp.Close();
  });
}

vb::Variant DB_Dll::DatosTabla(const QString& Tabla, const QString& ValorBuscado, const QString& CampoDevuelto,
                               const QString& Campo, long Tipodato, const QString& Condicion, bool UsaTrim) {
  vb::Variant resultado;
  ado::Recordset rs;
  QString sql;
  vb::Pasos pasos({traza::data(), "DatosTabla"}, avisoAlOperador);
  const bool seguir =
      pasos.run([&] { sql = textos_sql::DatosTabla(Tabla, ValorBuscado, Campo, Tipodato, Condicion, UsaTrim); });
  if (seguir && pasos.run([&] { AbrirRecordset(sql, rs, nullptr, 0, 1, -1, true); }) && pasos.run([&] {
        resultado =
            rs.EOF() ? vb::Variant(QString()) : vb::Variant(ZepaKit2::util().ValorCampo(rs.Fields(CampoDevuelto)));
      })) {
    pasos.run([&] { CierraRecordset(rs); });
  }
  return resultado;
}

namespace {

// The common end of ExisteEnTabla and ExisteEnTablaST: whether the statement
// returns a row, read on a recordset of its own (sqlPropio, built inside the
// step so its failure goes to the dialog like the open's) or on the
// caller's, which stays open on the statement (sqlDelLlamador).
bool hayFilas(vb::Pasos& pasos, ado::Connection& cn, const std::function<QString()>& sqlPropio,
              const QString& sqlDelLlamador, ado::Recordset* Lrcs, bool SoloLectura) {
  bool existe = false;
  if (!Lrcs) {
    ado::Recordset rs;
    pasos.run([&] { rs.Open(sqlPropio(), cn, 0, 1, -1); }) && pasos.run([&] { existe = !rs.BOF(); }) && pasos.run([&] {
      if (rs.State() != ado::adStateClosed) rs.Close();
    });
    return existe;
  }
  pasos.run([&] {
    if (Lrcs->State() != ado::adStateClosed) Lrcs->Close();
  }) &&
      pasos.run([&] {
        if (SoloLectura)
          Lrcs->Open(sqlDelLlamador, cn, 0, 1);
        else
          Lrcs->Open(sqlDelLlamador, cn, Lrcs->CursorType(), Lrcs->LockType());
      }) &&
      pasos.run([&] { existe = !Lrcs->BOF(); });
  return existe;
}

}  // namespace

bool DB_Dll::ExisteEnTabla(const QString& Tabla, const QString& ValorBuscado, const QString& Campo,
                           ado::Recordset* Lrcs, long Tipodato, const QString& Condicion, bool SoloLectura) {
  bool existe = false;
  QString sql;
  vb::Pasos pasos({traza::data(), "ExisteEnTabla"}, avisoAlOperador);
  if (!pasos.run([&] { sql = textos_sql::ExisteEnTabla(Tabla, ValorBuscado, Campo, Tipodato, Condicion); }))
    return existe;
  if (!pasos.run([&] { sql = SS_TSinonimos(sql); })) return existe;
  return hayFilas(
      pasos, gCnn, [&] { return ORACLE_Dicc(sql); }, sql, Lrcs, SoloLectura);
}

bool DB_Dll::ExisteEnTablaST(const QString& Tabla, const QString& ValorBuscado, const QString& Campo,
                             ado::Recordset* Lrcs, long Tipodato, const QString& Condicion, bool SoloLectura) {
  bool existe = false;
  QString sql;
  vb::Pasos pasos({traza::data(), "ExisteEnTablaST"}, avisoAlOperador);
  if (!pasos.run([&] { sql = textos_sql::ExisteEnTablaST(Tabla, ValorBuscado, Campo, Tipodato, Condicion); }))
    return existe;
  return hayFilas(
      pasos, gCnn, [&] { return sql; }, sql, Lrcs, SoloLectura);
}

namespace {

vb::Variant buscaExtremo(ado::Connection& cnn, const QString& sql, const QString& columna) {
  vb::Variant resultado;
  ado::Recordset rs;
  rs.Open(sql, cnn, 0, 1, -1);
  if (!rs.EOF()) resultado = vb::Variant(valorNumerico(ZepaKit2::util().ValorCampo(rs.Fields(columna))));
  rs.Close();
  return resultado;
}

}  // namespace

vb::Variant DB_Dll::BuscaMaximo(const QString& QueTabla, const QString& QueCampo, const std::optional<vb::Variant>&,
                                const std::optional<vb::Variant>& Condicion) {
  return buscaExtremo(gCnn, textos_sql::BuscaMaximo(QueTabla, QueCampo, Condicion), QStringLiteral("MAYOR"));
}

vb::Variant DB_Dll::BuscaMinimo(const QString& QueTabla, const QString& QueCampo, const std::optional<vb::Variant>&,
                                const std::optional<vb::Variant>& Condicion) {
  return buscaExtremo(gCnn, textos_sql::BuscaMinimo(QueTabla, QueCampo, Condicion), QStringLiteral("MENOR"));
}

vb::Variant DB_Dll::BuscaUltimoCodigo(const QString& QueTabla, const QString& QueCampo, const vb::Variant&,
                                      const QString& Condicion) {
  return buscaExtremo(gCnn, textos_sql::BuscaUltimoCodigo(QueTabla, QueCampo, Condicion), QStringLiteral("MAYOR"));
}

namespace {

bool esErrorSilencioso(long numero) {
  return numero == -2147467259 || numero == -2147217873 || numero == -2147217865 || numero == -2147217900;
}

}  // namespace

void DB_Dll::EjecutaConsultaSQL(QString& SentenciaSQL, long& RecordsAffected) {
  const auto contiene = [&](const char* t) { return db_texto::contiene(SentenciaSQL, QLatin1String(t)); };
  if (contiene("DROP") && contiene("CREATE") && !contiene("DELETE") && !contiene("@ADMIN_"))
    SentenciaSQL = SS_TSinonimos(SentenciaSQL);
  else
    SentenciaSQL = db_texto::reemplazar(SentenciaSQL, QStringLiteral("@Admin_"), QString());

  const auto fallo = vb::intentar([&] {
    if (esConexionOracle(false)) {
      // The runner consumes its script; the caller's text stays whole.
      QString script = SentenciaSQL;
      RecordsAffected = 0;
      EjecutaScriptOracle(script, RecordsAffected);
    } else {
      gCnn.Execute(SentenciaSQL, RecordsAffected, -1);
    }
  });
  ado::Errors& errores = gCnn.Errors();
  const bool transaccion = contiene("TRANS");
  if (textos_sql::esAvisoTruncado(errores, SentenciaSQL, !fallo)) {
    errores.Clear();
    return;
  }
  if (!fallo) return;
  vb::registrar({traza::data(), "EjecutaConsultaSQL"}, *fallo,
                esErrorSilencioso(fallo->Number()) || transaccion ? u"queda en Errors para quien llamó" : u"se avisa");
  // Integrity and statement errors are the caller's to read in the collection.
  if (!esErrorSilencioso(fallo->Number()) && !transaccion)
    ui::servicio().MsgBox(fallo->Description(), ui::vbCritical, QStringLiteral("Aviso al operador!!!"));
}
