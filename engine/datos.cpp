#include "engine/datos.h"

#include <cmath>

#include "engine/errores.h"
#include "engine/traza.h"
#include "platform/ado/odbc/administrador_odbc.h"
#include "platform/ado/recordset.h"

namespace engine {

namespace {

// The statement can be as long as the selection: it goes in the detail,
// never in the message a person reads.
[[noreturn]] void rechazada(const QString& sql, const vb::Error& e) {
  if (esCancelacion(e)) throw e;
  lanzar(kErrorConsulta,
         QStringLiteral(
             "La base de datos rechazó la consulta del reporte: %1.\nVuelva a intentarlo; si el error se repite, "
             "avise al administrador del sistema.")
             .arg(e.Description().trimmed()),
         sql);
}

[[noreturn]] void sinFilas(const QString& sql) {
  lanzar(
      kErrorConsulta,
      QStringLiteral("La consulta del reporte no devuelve filas.\nAvise al administrador del sistema: el archivo del "
                     "reporte debe tener una consulta SELECT."),
      sql);
}

Dialecto detectarDialecto(ado::Connection cn) {
  const QString p = cn.Provider();
  if (p.contains(QLatin1String("sqlite"), Qt::CaseInsensitive) || p.contains(QLatin1String("jet"), Qt::CaseInsensitive))
    return Dialecto::Sqlite;
  // A server alias may put SQLite behind any provider name: ask the database.
  try {
    ado::Recordset rs;
    rs.Open(QStringLiteral("SELECT sqlite_version()"), cn);
    rs.Close();
    return Dialecto::Sqlite;
  } catch (const vb::Error& e) {
    vb::registrar({traza::engine(), "detectarDialecto"}, e, u"no es SQLite: se escribe para SQL Server");
    cn.Errors().Clear();  // the probe's failure is not the caller's
    return Dialecto::SqlServer;
  }
}

class FilasAdo : public FuenteFilas {
 public:
  FilasAdo(ado::Recordset rs, std::vector<Valor::Tipo> tipos, QString sql)
      : rs_(std::move(rs)), tipos_(std::move(tipos)), sql_(std::move(sql)) {}

  bool siguiente(Fila& fila) override {
    if (i_ >= n_) {
      if (fin_) return false;
      try {
        if (rs_.EOF()) {
          fin_ = true;
          return false;
        }
        // Rows come in blocks: one call per block instead of one per field.
        bloque_ = rs_.GetRows(512);
      } catch (const vb::Error& e) {
        rechazada(sql_, e);
      }
      n_ = bloque_.empty() ? 0 : bloque_[0].size();
      i_ = 0;
      if (n_ == 0) {
        fin_ = true;
        return false;
      }
    }
    fila.resize(bloque_.size());
    for (size_t c = 0; c < bloque_.size(); ++c)
      fila[c] = valorDe(bloque_[c][i_], c < tipos_.size() ? tipos_[c] : Valor::Tipo::Nulo);
    ++i_;
    return true;
  }

 private:
  ado::Recordset rs_;
  std::vector<Valor::Tipo> tipos_;
  QString sql_;
  std::vector<std::vector<vb::Variant>> bloque_;
  size_t n_ = 0, i_ = 0;
  bool fin_ = false;
};

// A value of the engine as ado binds it. Whole numbers go as integers, as
// the database would read them written out, so that integer keys compare
// (and use their indexes) as they do against a literal.
vb::Variant parametro(const Valor& v) {
  switch (v.tipo()) {
    case Valor::Tipo::Nulo: return vb::Variant::Null();
    case Valor::Tipo::Logico: return vb::Variant(v.comoLogico());
    case Valor::Tipo::Numero: {
      const double d = v.comoNumero();
      if (std::isfinite(d) && d == std::trunc(d) && std::fabs(d) <= 9007199254740992.0)
        return vb::Variant(static_cast<std::int64_t>(d));
      return vb::Variant(d);
    }
    case Valor::Tipo::Texto: return vb::Variant(v.comoTexto());
    case Valor::Tipo::Fecha: return vb::Variant(v.comoFecha());
  }
  return vb::Variant::Null();
}

}  // namespace

Valor::Tipo tipoDeAdo(long t) {
  switch (t) {
    case ado::adBoolean: return Valor::Tipo::Logico;
    case ado::adSmallInt:
    case ado::adInteger:
    case ado::adSingle:
    case ado::adDouble:
    case ado::adCurrency:
    case ado::adDecimal:
    case ado::adTinyInt:
    case ado::adUnsignedTinyInt:
    case ado::adBigInt:
    case ado::adNumeric: return Valor::Tipo::Numero;
    case ado::adDate:
    case ado::adDBDate:
    case ado::adDBTimeStamp: return Valor::Tipo::Fecha;
    case ado::adBSTR:
    case ado::adChar:
    case ado::adWChar:
    case ado::adVarChar:
    case ado::adLongVarChar:
    case ado::adVarWChar:
    case ado::adLongVarWChar: return Valor::Tipo::Texto;
    default: return Valor::Tipo::Nulo;
  }
}

Valor valorDe(const vb::Variant& v, Valor::Tipo tipo) {
  Valor r;
  switch (v.type()) {
    case vb::VarType::Empty:
    case vb::VarType::Null: return {};
    case vb::VarType::Boolean: r = Valor::logico(*v.get<bool>()); break;
    case vb::VarType::Integer:
    case vb::VarType::Long:
    case vb::VarType::LongLong:
    case vb::VarType::Byte:
    case vb::VarType::Single:
    case vb::VarType::Double: r = Valor::numero(v.toDouble()); break;
    case vb::VarType::Currency: r = Valor::numero(v.get<vb::Currency>()->toDouble()); break;
    case vb::VarType::Date: r = Valor::fecha(*v.get<QDateTime>()); break;
    case vb::VarType::String: r = Valor::texto(*v.get<QString>()); break;
    default: r = Valor::texto(v.toText()); break;
  }
  // Bit columns may arrive as numbers and dates as texts; the column decides.
  if (tipo == Valor::Tipo::Logico && r.tipo() == Valor::Tipo::Numero) return Valor::logico(r.comoNumero() != 0);
  if (tipo == Valor::Tipo::Fecha && r.tipo() == Valor::Tipo::Texto) {
    QDateTime f = QDateTime::fromString(r.comoTexto(), QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    if (!f.isValid()) f = QDateTime::fromString(r.comoTexto(), Qt::ISODate);
    if (!f.isValid()) f = QDateTime(QDate::fromString(r.comoTexto(), Qt::ISODate), QTime(0, 0));
    if (f.isValid()) return Valor::fecha(f);
  }
  return r;
}

std::vector<vb::Variant> parametrosAdo(const std::vector<Valor>& parametros) {
  std::vector<vb::Variant> r;
  r.reserve(parametros.size());
  for (const Valor& v : parametros) r.push_back(parametro(v));
  return r;
}

namespace {

// SQLite is known by asking it; a server by the provider the connection
// string named. A server of unknown kind gets the stricter of both bounds.
Limites limitesDe(const ado::Connection& cn, Dialecto dialecto) {
  if (dialecto == Dialecto::Sqlite) return kLimitesSqlite;
  const QString p = cn.Provider();
  if (p.startsWith(QLatin1String("OraOLEDB"), Qt::CaseInsensitive) ||
      p.startsWith(QLatin1String("MSDAORA"), Qt::CaseInsensitive))
    return kLimitesOracle;
  if (p.startsWith(QLatin1String("SQLOLEDB"), Qt::CaseInsensitive) ||
      p.startsWith(QLatin1String("SQLNCLI"), Qt::CaseInsensitive) ||
      p.startsWith(QLatin1String("MSOLEDBSQL"), Qt::CaseInsensitive))
    return kLimitesSqlServer;
  return {kLimitesSqlServer.parametros, kLimitesOracle.lista};
}

}  // namespace

bool esCancelacion(const vb::Error& e) { return e.Number() == ado::kErrorCancelada; }

DatosAdo::DatosAdo(ado::Connection conexion)
    : cn_(std::move(conexion)), dialecto_(detectarDialecto(cn_)), limites_(limitesDe(cn_, dialecto_)) {}

// The connection may be the program's own, which outlives the report.
DatosAdo::~DatosAdo() {
  if (seguir_) cn_.setEnEspera({});
}

void DatosAdo::setEspera(std::function<bool()> seguir) {
  seguir_ = std::move(seguir);
  if (!seguir_) {
    cn_.setEnEspera({});
    return;
  }
  cn_.setEnEspera([this] {
    if (!seguir_()) cn_.Cancel();
  });
}

std::vector<Columna> DatosAdo::columnas(const QString& consulta) {
  const QString sql = QStringLiteral("SELECT * FROM (") + consulta + QStringLiteral(") AS q WHERE 1 = 0");
  std::vector<Columna> r;
  try {
    ado::Recordset rs;
    rs.Open(sql, cn_);
    if (rs.State() != ado::adStateOpen) sinFilas(sql);
    const ado::Fields& f = rs.Fields();
    for (long i = 0; i < f.Count(); ++i) r.push_back({f.Item(i).Name(), tipoDeAdo(f.Item(i).Type())});
    rs.Close();
  } catch (const vb::Error& e) {
    if (e.Number() == kErrorConsulta) throw;
    rechazada(sql, e);
  }
  return r;
}

std::unique_ptr<FuenteFilas> DatosAdo::abrir(const QString& sql, const std::vector<Valor>& parametros,
                                             const std::vector<Columna>& columnas) {
  ado::Recordset rs;
  // Streamed from the driver whatever the connection's default: the
  // program's own connection is client-side, which would read every row at Open.
  rs.setCursorLocation(ado::adUseServer);
  try {
    rs.Open(sql, cn_, parametrosAdo(parametros), ado::adOpenForwardOnly, ado::adLockReadOnly);
  } catch (const vb::Error& e) {
    rechazada(sql, e);
  }
  if (rs.State() != ado::adStateOpen) sinFilas(sql);
  std::vector<Valor::Tipo> tipos;
  for (const Columna& c : columnas) tipos.push_back(c.tipo);
  return std::make_unique<FilasAdo>(std::move(rs), std::move(tipos), sql);
}

bool existeOrigenOdbc(const QString& nombre) {
  const QString buscado = nombre.trimmed();
  if (buscado.isEmpty()) return false;
  const ado::odbc::Administrador* odbc = ado::odbc::administrador();
  if (!odbc) return false;
  SQLHENV env = SQL_NULL_HENV;
  if (!SQL_SUCCEEDED(odbc->SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env))) return false;
  odbc->SQLSetEnvAttr(env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
  bool hallado = false;
  SQLCHAR dsn[SQL_MAX_DSN_LENGTH + 1];
  SQLCHAR descripcion[512];
  SQLSMALLINT largoDsn = 0, largoDesc = 0;
  SQLUSMALLINT direccion = SQL_FETCH_FIRST;
  while (!hallado && SQL_SUCCEEDED(odbc->SQLDataSources(env, direccion, dsn, sizeof dsn, &largoDsn, descripcion,
                                                        sizeof descripcion, &largoDesc))) {
    direccion = SQL_FETCH_NEXT;
    hallado = QString::fromUtf8(reinterpret_cast<const char*>(dsn)).compare(buscado, Qt::CaseInsensitive) == 0;
  }
  odbc->SQLFreeHandle(SQL_HANDLE_ENV, env);
  return hallado;
}

}  // namespace engine
