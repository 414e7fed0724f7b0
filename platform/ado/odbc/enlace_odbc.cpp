#include "platform/ado/odbc/enlace_odbc.h"

#include <QDateTime>
#include <atomic>
#include <climits>
#include <cmath>
#include <mutex>

#include "platform/ado/cadena_conexion.h"
#include "platform/ado/espera.h"
#include "platform/ado/odbc/administrador_odbc.h"
#include "platform/ado/tipos.h"
#include "platform/vb/error.h"
#include "platform/vb/traza.h"

namespace ado::detalle {

namespace {

static_assert(sizeof(SQLWCHAR) == sizeof(char16_t), "unixODBC's wide characters are UTF-16");

const QString kOrigen = QStringLiteral("ado.ODBC");

const SQLWCHAR* ancho(const QString& s) { return reinterpret_cast<const SQLWCHAR*>(s.utf16()); }
SQLWCHAR* anchoMutable(QString& s) { return reinterpret_cast<SQLWCHAR*>(s.data()); }

QString deAncho(const SQLWCHAR* s, qsizetype n) { return QString(reinterpret_cast<const QChar*>(s), n); }

// The driver manager; only called once the environment exists, which needs it.
const odbc::Administrador& api() { return *odbc::administrador(); }

// One environment for the process, released at exit.
struct Entorno {
  SQLHENV env = SQL_NULL_HENV;
  Entorno() {
    if (!odbc::administrador()) return;
    if (SQL_SUCCEEDED(api().SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env)))
      api().SQLSetEnvAttr(env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
  }
  ~Entorno() {
    if (env != SQL_NULL_HENV) api().SQLFreeHandle(SQL_HANDLE_ENV, env);
  }
};

SQLHENV entorno() {
  static Entorno e;
  return e.env;
}

// Every diagnostic record of a handle. At connect time all are the general
// failure, as the server's provider reports a failed login.
std::vector<Error> diagnosticos(SQLSMALLINT tipo, SQLHANDLE h, bool alConectar = false) {
  std::vector<Error> r;
  for (SQLSMALLINT i = 1; i < 50; ++i) {
    SQLWCHAR estado[6] = {};
    SQLINTEGER nativo = 0;
    SQLWCHAR mensaje[2048];
    SQLSMALLINT largo = 0;
    const SQLRETURN rc = api().SQLGetDiagRecW(tipo, h, i, estado, &nativo, mensaje, 2048, &largo);
    if (!SQL_SUCCEEDED(rc)) break;
    const QString e = deAncho(estado, 5);
    const QString m = deAncho(mensaje, std::min<qsizetype>(largo, 2047));
    r.emplace_back(alConectar ? kErrorGeneral : numeroPorEstado(e), m, kOrigen, e, static_cast<long>(nativo));
  }
  return r;
}

[[noreturn]] void fallarOdbc(Errors& errores, SQLSMALLINT tipo, SQLHANDLE h, const QString& sinDetalle = {}) {
  fallar(errores, diagnosticos(tipo, h), sinDetalle);
}

DataTypeEnum tipoAdo(SQLSMALLINT sql, const QString& nombreTipo) {
  switch (sql) {
    case SQL_INTEGER: return adInteger;
    case SQL_SMALLINT: return adSmallInt;
    case SQL_TINYINT: return adUnsignedTinyInt;
    case SQL_BIGINT: return adBigInt;
    case SQL_BIT: return adBoolean;
    case SQL_REAL: return adSingle;
    case SQL_FLOAT:
    case SQL_DOUBLE: return adDouble;
    case SQL_DECIMAL:
    case SQL_NUMERIC: return nombreTipo.contains(QLatin1String("money"), Qt::CaseInsensitive) ? adCurrency : adNumeric;
    case SQL_CHAR: return adChar;
    case SQL_VARCHAR: return adVarChar;
    case SQL_LONGVARCHAR: return adLongVarChar;
    case SQL_WCHAR: return adWChar;
    case SQL_WVARCHAR: return adVarWChar;
    case SQL_WLONGVARCHAR: return adLongVarWChar;
    case SQL_TYPE_DATE:
    case SQL_DATE: return adDBDate;
    case SQL_TYPE_TIME:
    case SQL_TIME: return adDBTime;
    case SQL_TYPE_TIMESTAMP:
    case SQL_TIMESTAMP: return adDBTimeStamp;
    case SQL_GUID: return adGUID;
    case SQL_BINARY: return adBinary;
    case SQL_VARBINARY: return adVarBinary;
    case SQL_LONGVARBINARY: return adLongVarBinary;
    default: return adVarWChar;
  }
}

// The driver's size of a text or binary column; none, or more than fits, is no limit.
long tamanoAdo(DataTypeEnum t, SQLULEN tamano) {
  return tamanoFijo(t,
                    tamano > static_cast<SQLULEN>(LONG_MAX) || tamano == 0 ? kTextoLargo : static_cast<long>(tamano));
}

// Reads column `col` as text, in pieces for long values; false for Null.
bool leerTexto(Errors& errores, SQLHSTMT st, SQLUSMALLINT col, QString& salida) {
  salida.clear();
  SQLWCHAR buffer[2048];
  for (;;) {
    SQLLEN indicador = 0;
    const SQLRETURN rc = api().SQLGetData(st, col, SQL_C_WCHAR, buffer, sizeof(buffer), &indicador);
    if (rc == SQL_NO_DATA) break;
    if (!SQL_SUCCEEDED(rc)) fallarOdbc(errores, SQL_HANDLE_STMT, st);
    if (indicador == SQL_NULL_DATA) return false;
    const qsizetype cabe = static_cast<qsizetype>(sizeof(buffer) / sizeof(SQLWCHAR)) - 1;
    const qsizetype n = (indicador == SQL_NO_TOTAL || indicador / 2 > cabe) ? cabe : indicador / 2;
    salida.append(reinterpret_cast<const QChar*>(buffer), n);
    if (rc == SQL_SUCCESS) break;
  }
  return true;
}

// "123.45" to ten-thousandths without going through a double.
vb::Currency moneda(const QString& t) {
  QString s = t.trimmed();
  const bool negativo = s.startsWith(u'-');
  if (negativo || s.startsWith(u'+')) s.remove(0, 1);
  const qsizetype punto = s.indexOf(u'.');
  const QString entera = punto < 0 ? s : s.left(punto);
  QString fraccion = punto < 0 ? QString() : s.mid(punto + 1);
  fraccion = (fraccion + QStringLiteral("0000")).left(4);
  const std::int64_t v = entera.toLongLong() * 10000 + fraccion.toLongLong();
  return vb::Currency{negativo ? -v : v};
}

// A parameter's value and the buffer it is bound from.
struct Parametro {
  SQLSMALLINT tipoC = SQL_C_WCHAR, tipoSql = SQL_WVARCHAR;
  SQLULEN tamano = 1;
  SQLSMALLINT decimales = 0;
  SQLBIGINT entero = 0;
  double real = 0;
  unsigned char bit = 0;
  SQL_TIMESTAMP_STRUCT fecha{};
  QString texto;
  SQLLEN indicador = 0;
  SQLPOINTER dato() {
    switch (tipoC) {
      case SQL_C_SBIGINT: return &entero;
      case SQL_C_DOUBLE: return &real;
      case SQL_C_BIT: return &bit;
      case SQL_C_TYPE_TIMESTAMP: return &fecha;
      default: return anchoMutable(texto);
    }
  }
};

void preparar(Parametro& p, const vb::Variant& v) {
  switch (v.type()) {
    case vb::VarType::Empty:
    case vb::VarType::Null: p.indicador = SQL_NULL_DATA; return;
    case vb::VarType::Boolean:
      p.tipoC = SQL_C_BIT;
      p.tipoSql = SQL_BIT;
      p.bit = *v.get<bool>() ? 1 : 0;
      p.indicador = 0;
      return;
    case vb::VarType::Integer:
    case vb::VarType::Long:
    case vb::VarType::LongLong:
    case vb::VarType::Byte:
      p.tipoC = SQL_C_SBIGINT;
      p.tipoSql = SQL_BIGINT;
      if (auto* a = v.get<std::int16_t>())
        p.entero = *a;
      else if (auto* b = v.get<std::int32_t>())
        p.entero = *b;
      else if (auto* c = v.get<std::int64_t>())
        p.entero = *c;
      else
        p.entero = *v.get<std::uint8_t>();
      return;
    case vb::VarType::Single:
    case vb::VarType::Double:
      p.tipoC = SQL_C_DOUBLE;
      p.tipoSql = SQL_DOUBLE;
      p.real = v.get<float>() ? static_cast<double>(*v.get<float>()) : *v.get<double>();
      return;
    case vb::VarType::Currency: {
      const std::int64_t d = v.get<vb::Currency>()->diezMilesimos;
      const std::int64_t a = d < 0 ? -d : d;
      p.texto = (d < 0 ? QStringLiteral("-") : QString()) + QString::number(a / 10000) + u'.' +
                QStringLiteral("%1").arg(a % 10000, 4, 10, QLatin1Char('0'));
      p.tipoSql = SQL_DECIMAL;
      p.tamano = 19;
      p.decimales = 4;
      p.indicador = SQL_NTS;
      return;
    }
    case vb::VarType::Date: {
      const QDateTime f = *v.get<QDateTime>();
      p.tipoC = SQL_C_TYPE_TIMESTAMP;
      p.tipoSql = SQL_TYPE_TIMESTAMP;
      p.tamano = 23;
      p.decimales = 3;
      p.fecha.year = static_cast<SQLSMALLINT>(f.date().year());
      p.fecha.month = static_cast<SQLUSMALLINT>(f.date().month());
      p.fecha.day = static_cast<SQLUSMALLINT>(f.date().day());
      p.fecha.hour = static_cast<SQLUSMALLINT>(f.time().hour());
      p.fecha.minute = static_cast<SQLUSMALLINT>(f.time().minute());
      p.fecha.second = static_cast<SQLUSMALLINT>(f.time().second());
      p.fecha.fraction = static_cast<SQLUINTEGER>(f.time().msec()) * 1000000u;
      return;
    }
    default:
      p.texto = *v.get<QString>();
      p.tamano = static_cast<SQLULEN>(std::max<qsizetype>(p.texto.size(), 1));
      p.indicador = SQL_NTS;
      return;
  }
}

// What a session shares with its cursors for cancelling: the statement the
// driver is working on, which SQLCancel may stop from another thread, and
// whether a cancel was asked for since the session's last statement began.
struct Cancelacion {
  std::mutex m;
  SQLHSTMT enCurso = SQL_NULL_HSTMT;
  std::atomic<bool> pedida{false};
  Espera espera;

  void cancelar() {
    pedida = true;
    const std::lock_guard<std::mutex> l(m);
    if (enCurso != SQL_NULL_HSTMT) api().SQLCancel(enCurso);
  }
};

// Marks the statement as the one the driver is working on for the call's length.
class EnCurso {
 public:
  EnCurso(Cancelacion& c, SQLHSTMT st) : c_(c) {
    const std::lock_guard<std::mutex> l(c_.m);
    c_.enCurso = st;
  }
  ~EnCurso() {
    const std::lock_guard<std::mutex> l(c_.m);
    c_.enCurso = SQL_NULL_HSTMT;
  }
  EnCurso(const EnCurso&) = delete;
  EnCurso& operator=(const EnCurso&) = delete;

 private:
  Cancelacion& c_;
};

[[noreturn]] void cancelada(Errors& errores) {
  fallarCon(errores, kErrorCancelada, QStringLiteral("El usuario canceló la operación."), kOrigen,
            QStringLiteral("HY008"), 0);
}

class CursorOdbc final : public Cursor {
 public:
  CursorOdbc(SQLHSTMT st, Errors& errores, SQLSMALLINT n, std::shared_ptr<Cancelacion> cancelacion)
      : st_(st), errores_(errores), cancelacion_(std::move(cancelacion)) {
    columnas_.resize(static_cast<size_t>(n));
    valores_.resize(static_cast<size_t>(n));
    for (SQLSMALLINT i = 1; i <= n; ++i) {
      Columna& c = columnas_[static_cast<size_t>(i - 1)];
      SQLWCHAR nombre[512];
      SQLSMALLINT largo = 0, tipo = 0, decimales = 0, nulos = 0;
      SQLULEN tamano = 0;
      if (!SQL_SUCCEEDED(api().SQLDescribeColW(st_, i, nombre, 512, &largo, &tipo, &tamano, &decimales, &nulos)))
        fallarOdbc(errores_, SQL_HANDLE_STMT, st_);
      c.nombre = deAncho(nombre, std::min<SQLSMALLINT>(largo, 511));
      const QString nombreTipo = atributo(i, SQL_DESC_TYPE_NAME);
      c.tipo = tipoAdo(tipo, nombreTipo);
      c.tamano = tamanoAdo(c.tipo, tamano);
      c.tablaBase = atributo(i, SQL_DESC_BASE_TABLE_NAME);
      c.columnaBase = atributo(i, SQL_DESC_BASE_COLUMN_NAME);
    }
  }
  ~CursorOdbc() override {
    api().SQLCloseCursor(st_);
    api().SQLFreeHandle(SQL_HANDLE_STMT, st_);
  }

  const std::vector<Columna>& columnas() const override { return columnas_; }

  bool siguiente() override {
    if (terminado_) return false;
    if (cancelacion_->pedida) {
      terminado_ = true;
      cancelada(errores_);
    }
    SQLRETURN rc;
    {
      const EnCurso enCurso(*cancelacion_, st_);
      rc = api().SQLFetch(st_);
    }
    if (rc == SQL_NO_DATA) {
      terminado_ = true;
      return false;
    }
    if (!SQL_SUCCEEDED(rc)) {
      terminado_ = true;
      if (cancelacion_->pedida) cancelada(errores_);
      fallarOdbc(errores_, SQL_HANDLE_STMT, st_);
    }
    // SQLGetData reads columns once and in order, so the row is read whole here.
    for (size_t i = 0; i < columnas_.size(); ++i)
      valores_[i] = leer(static_cast<SQLUSMALLINT>(i + 1), columnas_[i].tipo);
    cancelacion_->espera.latir();
    return true;
  }

  vb::Variant valor(int i) override { return valores_[static_cast<size_t>(i)]; }

  // Keeps the statement's bound parameters alive as long as the statement.
  void retener(std::shared_ptr<void> parametros) { parametros_ = std::move(parametros); }

 private:
  QString atributo(SQLUSMALLINT col, SQLUSMALLINT campo) {
    SQLWCHAR texto[512] = {};
    SQLSMALLINT largo = 0;
    if (!SQL_SUCCEEDED(api().SQLColAttributeW(st_, col, campo, texto, sizeof(texto), &largo, nullptr))) return {};
    return deAncho(texto, std::min<qsizetype>(largo / 2, 511));
  }

  vb::Variant leer(SQLUSMALLINT col, DataTypeEnum tipo) {
    SQLLEN indicador = 0;
    switch (tipo) {
      case adInteger:
      case adSmallInt:
      case adUnsignedTinyInt:
      case adBigInt:
      case adBoolean: {
        SQLBIGINT v = 0;
        if (!SQL_SUCCEEDED(api().SQLGetData(st_, col, SQL_C_SBIGINT, &v, sizeof(v), &indicador)))
          fallarOdbc(errores_, SQL_HANDLE_STMT, st_);
        if (indicador == SQL_NULL_DATA) return vb::Variant::Null();
        return valorEntero(v, tipo);
      }
      case adDouble:
      case adSingle: {
        double v = 0;
        if (!SQL_SUCCEEDED(api().SQLGetData(st_, col, SQL_C_DOUBLE, &v, sizeof(v), &indicador)))
          fallarOdbc(errores_, SQL_HANDLE_STMT, st_);
        if (indicador == SQL_NULL_DATA) return vb::Variant::Null();
        return tipo == adSingle ? vb::Variant(static_cast<float>(v)) : vb::Variant(v);
      }
      case adDBTimeStamp:
      case adDBDate:
      case adDate: {
        SQL_TIMESTAMP_STRUCT t{};
        if (!SQL_SUCCEEDED(api().SQLGetData(st_, col, SQL_C_TYPE_TIMESTAMP, &t, sizeof(t), &indicador)))
          fallarOdbc(errores_, SQL_HANDLE_STMT, st_);
        if (indicador == SQL_NULL_DATA) return vb::Variant::Null();
        return vb::Variant(QDateTime(QDate(t.year, t.month, t.day),
                                     QTime(t.hour, t.minute, t.second, static_cast<int>(t.fraction / 1000000))));
      }
      default: {
        QString s;
        if (!leerTexto(errores_, st_, col, s)) return vb::Variant::Null();
        if (tipo == adCurrency) return vb::Variant(moneda(s));
        if (tipo == adNumeric) return vb::Variant(s.trimmed().toDouble());
        return vb::Variant(std::move(s));
      }
    }
  }

  SQLHSTMT st_;
  Errors& errores_;
  std::shared_ptr<Cancelacion> cancelacion_;
  std::vector<Columna> columnas_;
  std::vector<vb::Variant> valores_;
  bool terminado_ = false;
  std::shared_ptr<void> parametros_;
};

class EnlaceOdbc final : public Enlace {
 public:
  EnlaceOdbc(Errors& errores, SQLHDBC dbc, QString proveedor)
      : errores_(errores), dbc_(dbc), proveedor_(std::move(proveedor)) {}
  ~EnlaceOdbc() override {
    if (enTransaccion_) {
      api().SQLEndTran(SQL_HANDLE_DBC, dbc_, SQL_ROLLBACK);
    }
    api().SQLDisconnect(dbc_);
    api().SQLFreeHandle(SQL_HANDLE_DBC, dbc_);
  }

  QString proveedor() const override { return proveedor_; }

  std::unique_ptr<Cursor> consultar(const QString& sql, const std::vector<vb::Variant>& parametros) override {
    cancelacion_->pedida = false;
    std::shared_ptr<std::vector<Parametro>> enlazados;
    SQLHSTMT st = parametros.empty() ? ejecutarDirecto(sql) : ejecutarConParametros(sql, parametros, enlazados);
    do {
      SQLSMALLINT n = 0;
      api().SQLNumResultCols(st, &n);
      if (n > 0) {
        auto cursor = std::make_unique<CursorOdbc>(st, errores_, n, cancelacion_);
        // Some drivers read a parameter again while the rows are fetched.
        cursor->retener(std::move(enlazados));
        return cursor;
      }
    } while (otroResultado(st));
    return nullptr;
  }

  long ejecutar(const QString& sql) override {
    cancelacion_->pedida = false;
    SQLHSTMT st = ejecutarDirecto(sql);
    long total = -1;
    do {
      SQLLEN n = -1;
      SQLSMALLINT columnas = 0;
      api().SQLNumResultCols(st, &columnas);
      if (columnas == 0 && SQL_SUCCEEDED(api().SQLRowCount(st, &n)) && n >= 0)
        total = (total < 0 ? 0 : total) + static_cast<long>(n);
    } while (otroResultado(st));
    return total;
  }

  long escribirFila(const QString& sql, const std::vector<vb::Variant>& parametros) override {
    // Outside a transaction of the caller's, one of our own lets a write
    // that hit other than one row be undone.
    const bool propia = !enTransaccion_;
    if (propia) iniciarTransaccion();
    SQLHSTMT st = SQL_NULL_HSTMT;
    long n = 0;
    try {
      st = nuevaSentencia();
      std::vector<Parametro> ps(parametros.size());
      enlazar(st, parametros, ps);
      const SQLRETURN rc = api().SQLExecDirectW(st, const_cast<SQLWCHAR*>(ancho(sql)), SQL_NTS);
      if (!SQL_SUCCEEDED(rc) && rc != SQL_NO_DATA) fallarYLiberar(st);
      SQLLEN filas = 0;
      api().SQLRowCount(st, &filas);
      n = static_cast<long>(filas);
      api().SQLFreeHandle(SQL_HANDLE_STMT, st);
      st = SQL_NULL_HSTMT;
    } catch (...) {
      if (st != SQL_NULL_HSTMT) api().SQLFreeHandle(SQL_HANDLE_STMT, st);
      if (propia) terminar(SQL_ROLLBACK);
      throw;
    }
    if (propia) {
      if (n == 1)
        confirmar();
      else
        deshacer();
    }
    return n;
  }

  void iniciarTransaccion() override {
    if (!SQL_SUCCEEDED(
            api().SQLSetConnectAttrW(dbc_, SQL_ATTR_AUTOCOMMIT, reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_OFF), 0)))
      fallarOdbc(errores_, SQL_HANDLE_DBC, dbc_);
    enTransaccion_ = true;
  }
  void confirmar() override { terminar(SQL_COMMIT, true); }
  void deshacer() override { terminar(SQL_ROLLBACK, true); }

  void cancelar() override { cancelacion_->cancelar(); }
  void setEnEspera(std::function<void()> espera) override { cancelacion_->espera.set(std::move(espera)); }

  void setTiempoComando(long segundos) override { tiempo_ = segundos; }

  void setAislamiento(long nivel) override {
    SQLULEN valor = 0;
    switch (nivel) {
      case adXactReadUncommitted: valor = SQL_TXN_READ_UNCOMMITTED; break;
      case adXactReadCommitted: valor = SQL_TXN_READ_COMMITTED; break;
      case adXactRepeatableRead: valor = SQL_TXN_REPEATABLE_READ; break;
      case adXactSerializable: valor = SQL_TXN_SERIALIZABLE; break;
      default: return;
    }
    // A driver without that level keeps its own, as ADO allows.
    api().SQLSetConnectAttrW(dbc_, SQL_ATTR_TXN_ISOLATION, reinterpret_cast<SQLPOINTER>(valor), 0);
  }

  QString baseDatos() const override {
    SQLWCHAR texto[512] = {};
    SQLINTEGER largo = 0;
    if (SQL_SUCCEEDED(api().SQLGetConnectAttrW(dbc_, SQL_ATTR_CURRENT_CATALOG, texto, sizeof(texto), &largo)) &&
        largo > 0)
      return deAncho(texto, std::min<qsizetype>(largo / 2, 511));
    return base_;
  }

  void setBaseDatos(const QString& nombre) override {
    const QString n = nombre.trimmed();
    if (n.isEmpty() || n.compare(baseDatos(), Qt::CaseInsensitive) == 0) return;
    QString copia = n;
    if (!SQL_SUCCEEDED(api().SQLSetConnectAttrW(dbc_, SQL_ATTR_CURRENT_CATALOG, anchoMutable(copia),
                                                static_cast<SQLINTEGER>(copia.size() * 2))))
      fallarOdbc(errores_, SQL_HANDLE_DBC, dbc_);
    base_ = n;
  }

  std::vector<TablaEsquema> tablas() override {
    SQLHSTMT st = nuevaSentencia();
    QString tipos = QStringLiteral("TABLE,VIEW");
    if (!SQL_SUCCEEDED(api().SQLTablesW(st, nullptr, 0, nullptr, 0, nullptr, 0, anchoMutable(tipos), SQL_NTS)))
      fallarYLiberar(st);
    std::vector<TablaEsquema> r;
    while (filaDe(st)) r.push_back({texto(st, 1), texto(st, 2), texto(st, 3), texto(st, 4)});
    api().SQLFreeHandle(SQL_HANDLE_STMT, st);
    return r;
  }

  std::vector<ColumnaEsquema> columnas(const QString& tabla) override {
    SQLHSTMT st = nuevaSentencia();
    QString t = tabla;
    if (!SQL_SUCCEEDED(api().SQLColumnsW(st, nullptr, 0, nullptr, 0, tabla.isEmpty() ? nullptr : anchoMutable(t),
                                         tabla.isEmpty() ? 0 : SQL_NTS, nullptr, 0)))
      fallarYLiberar(st);
    std::vector<ColumnaEsquema> r;
    while (filaDe(st)) {
      ColumnaEsquema c;
      c.catalogo = texto(st, 1);
      c.esquema = texto(st, 2);
      c.tabla = texto(st, 3);
      c.nombre = texto(st, 4);
      const SQLSMALLINT tipoSql = static_cast<SQLSMALLINT>(texto(st, 5).toInt());
      const QString nombreTipo = texto(st, 6);
      c.tipo = tipoAdo(tipoSql, nombreTipo);
      c.tamano = tamanoAdo(c.tipo, texto(st, 7).toULongLong());
      c.admiteNulos = texto(st, 11).toInt() != SQL_NO_NULLS;
      QString defecto;
      c.tieneDefecto = leerTexto(errores_, st, 13, defecto);
      if (c.tieneDefecto) c.defecto = vb::Variant(defecto);
      c.ordinal = texto(st, 17).toLong();
      r.push_back(std::move(c));
    }
    api().SQLFreeHandle(SQL_HANDLE_STMT, st);
    return r;
  }

  void setBaseInicial(const QString& base) { base_ = base; }

 private:
  SQLHSTMT nuevaSentencia() {
    SQLHSTMT st = SQL_NULL_HSTMT;
    if (!SQL_SUCCEEDED(api().SQLAllocHandle(SQL_HANDLE_STMT, dbc_, &st))) fallarOdbc(errores_, SQL_HANDLE_DBC, dbc_);
    if (tiempo_ > 0)
      api().SQLSetStmtAttrW(st, SQL_ATTR_QUERY_TIMEOUT, reinterpret_cast<SQLPOINTER>(static_cast<SQLULEN>(tiempo_)), 0);
    return st;
  }

  // Binds each value to its mark; `ps` holds the buffers and must outlive the statement's use of them.
  void enlazar(SQLHSTMT st, const std::vector<vb::Variant>& parametros, std::vector<Parametro>& ps) {
    for (size_t i = 0; i < parametros.size(); ++i) {
      preparar(ps[i], parametros[i]);
      const SQLLEN bytes = ps[i].tipoC == SQL_C_WCHAR ? static_cast<SQLLEN>((ps[i].texto.size() + 1) * 2) : 0;
      if (!SQL_SUCCEEDED(api().SQLBindParameter(st, static_cast<SQLUSMALLINT>(i + 1), SQL_PARAM_INPUT, ps[i].tipoC,
                                                ps[i].tipoSql, ps[i].tamano, ps[i].decimales, ps[i].dato(), bytes,
                                                &ps[i].indicador)))
        fallarYLiberar(st);
    }
  }

  // Prepared, so that the driver counts the marks before anything runs.
  SQLHSTMT ejecutarConParametros(const QString& sql, const std::vector<vb::Variant>& parametros,
                                 std::shared_ptr<std::vector<Parametro>>& ps) {
    SQLHSTMT st = nuevaSentencia();
    if (!SQL_SUCCEEDED(api().SQLPrepareW(st, const_cast<SQLWCHAR*>(ancho(sql)), SQL_NTS))) fallarYLiberar(st);
    SQLSMALLINT marcas = 0;
    if (SQL_SUCCEEDED(api().SQLNumParams(st, &marcas)) && static_cast<size_t>(marcas) != parametros.size()) {
      api().SQLFreeHandle(SQL_HANDLE_STMT, st);
      if (static_cast<size_t>(marcas) > parametros.size())
        fallarCon(errores_, kErrorFaltaParametro,
                  QStringLiteral("No se han especificado valores para algunos de los parámetros requeridos."), kOrigen,
                  QStringLiteral("07002"), 0);
      fallarCon(errores_, kErrorArgumentos,
                QStringLiteral("La sentencia tiene %1 marcas de parámetro y se dieron %2 valores.")
                    .arg(marcas)
                    .arg(parametros.size()),
                kOrigen, QStringLiteral("07002"), 0);
    }
    ps = std::make_shared<std::vector<Parametro>>(parametros.size());
    enlazar(st, parametros, *ps);
    SQLRETURN rc;
    {
      const EnCurso enCurso(*cancelacion_, st);
      rc = api().SQLExecute(st);
    }
    revisar(st, rc);
    return st;
  }

  SQLHSTMT ejecutarDirecto(const QString& sql) {
    SQLHSTMT st = nuevaSentencia();
    SQLRETURN rc;
    {
      const EnCurso enCurso(*cancelacion_, st);
      rc = api().SQLExecDirectW(st, const_cast<SQLWCHAR*>(ancho(sql)), SQL_NTS);
    }
    revisar(st, rc);
    return st;
  }

  void revisar(SQLHSTMT st, SQLRETURN rc) {
    if (!SQL_SUCCEEDED(rc) && rc != SQL_NO_DATA && cancelacion_->pedida) {
      api().SQLFreeHandle(SQL_HANDLE_STMT, st);
      cancelada(errores_);
    }
    if (rc == SQL_SUCCESS_WITH_INFO) {
      // Warnings are listed, as the server's provider lists them, without failing.
      auto avisos = diagnosticos(SQL_HANDLE_STMT, st);
      if (!avisos.empty()) {
        errores_.Clear();
        for (auto& a : avisos) errores_.agregar(a);
      }
    } else if (!SQL_SUCCEEDED(rc) && rc != SQL_NO_DATA) {
      fallarYLiberar(st);
    }
  }

  [[noreturn]] void fallarYLiberar(SQLHSTMT st) {
    auto d = diagnosticos(SQL_HANDLE_STMT, st);
    api().SQLFreeHandle(SQL_HANDLE_STMT, st);
    fallar(errores_, std::move(d));
  }

  // On to the next result of the statement's text; false after the last,
  // the statement freed. A failure frees it and raises.
  bool otroResultado(SQLHSTMT st) {
    const SQLRETURN rc = api().SQLMoreResults(st);
    if (rc == SQL_NO_DATA) {
      api().SQLFreeHandle(SQL_HANDLE_STMT, st);
      return false;
    }
    if (!SQL_SUCCEEDED(rc)) fallarYLiberar(st);
    return true;
  }

  bool filaDe(SQLHSTMT st) {
    const SQLRETURN rc = api().SQLFetch(st);
    if (rc == SQL_NO_DATA) return false;
    if (!SQL_SUCCEEDED(rc)) fallarYLiberar(st);
    return true;
  }

  QString texto(SQLHSTMT st, SQLUSMALLINT col) {
    QString s;
    leerTexto(errores_, st, col, s);
    return s;
  }

  void terminar(SQLSMALLINT como, bool informar = false) {
    const SQLRETURN rc = api().SQLEndTran(SQL_HANDLE_DBC, dbc_, como);
    std::vector<Error> d;
    if (!SQL_SUCCEEDED(rc)) d = diagnosticos(SQL_HANDLE_DBC, dbc_);
    api().SQLSetConnectAttrW(dbc_, SQL_ATTR_AUTOCOMMIT, reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_ON), 0);
    enTransaccion_ = false;
    if (!SQL_SUCCEEDED(rc) && informar) fallar(errores_, std::move(d));
  }

  Errors& errores_;
  SQLHDBC dbc_;
  QString proveedor_;
  QString base_;
  long tiempo_ = 30;
  bool enTransaccion_ = false;
  std::shared_ptr<Cancelacion> cancelacion_ = std::make_shared<Cancelacion>();
};

}  // namespace

std::unique_ptr<Enlace> abrirOdbc(Errors& errores, const QString& atributos, const QString& proveedor, long segundos) {
  SQLHENV env = entorno();
  if (!odbc::administrador())
    fallarCon(errores, kErrorProveedor,
              QStringLiteral("No se pudo cargar el administrador de controladores ODBC: %1").arg(odbc::errorDeCarga()),
              kOrigen, QStringLiteral("IM003"), 0);
  if (env == SQL_NULL_HENV)
    fallarCon(errores, kErrorGeneral, QStringLiteral("No se pudo iniciar el administrador de controladores ODBC."),
              kOrigen, QStringLiteral("HY000"), 0);
  SQLHDBC dbc = SQL_NULL_HDBC;
  if (!SQL_SUCCEEDED(api().SQLAllocHandle(SQL_HANDLE_DBC, env, &dbc))) fallarOdbc(errores, SQL_HANDLE_ENV, env);
  if (segundos > 0) {
    api().SQLSetConnectAttrW(dbc, SQL_ATTR_LOGIN_TIMEOUT, reinterpret_cast<SQLPOINTER>(static_cast<SQLULEN>(segundos)),
                             0);
    api().SQLSetConnectAttrW(dbc, SQL_ATTR_CONNECTION_TIMEOUT,
                             reinterpret_cast<SQLPOINTER>(static_cast<SQLULEN>(segundos)), 0);
  }
  QString cadena = atributos;
  SQLWCHAR salida[1024];
  SQLSMALLINT largo = 0;
  const SQLRETURN rc =
      api().SQLDriverConnectW(dbc, nullptr, anchoMutable(cadena), SQL_NTS, salida, 1024, &largo, SQL_DRIVER_NOPROMPT);
  if (!SQL_SUCCEEDED(rc)) {
    auto d = diagnosticos(SQL_HANDLE_DBC, dbc, true);
    api().SQLFreeHandle(SQL_HANDLE_DBC, dbc);
    fallar(errores, std::move(d), QStringLiteral("No se pudo conectar con el origen de datos ODBC."));
  }
  auto enlace = std::make_unique<EnlaceOdbc>(errores, dbc, proveedor);
  try {
    enlace->setBaseInicial(CadenaConexion::analizar(atributos).valor({"Database", "DBQ"}));
  } catch (const vb::Error& e) {
    vb::registrar({traza::platform(), "Connection.Open"}, e, u"la base inicial queda la del origen de datos");
  }
  return enlace;
}

QStringList controladoresOdbc() {
  QStringList r;
  SQLHENV env = entorno();
  if (env == SQL_NULL_HENV) return r;
  SQLWCHAR nombre[256], atributos[1024];
  SQLSMALLINT largoNombre = 0, largoAtributos = 0;
  SQLUSMALLINT direccion = SQL_FETCH_FIRST;
  while (
      SQL_SUCCEEDED(api().SQLDriversW(env, direccion, nombre, 256, &largoNombre, atributos, 1024, &largoAtributos))) {
    r << deAncho(nombre, std::min<SQLSMALLINT>(largoNombre, 255));
    direccion = SQL_FETCH_NEXT;
  }
  return r;
}

}  // namespace ado::detalle
