#include "platform/ado/sqlite/enlace_sqlite.h"

#include <sqlite3.h>

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QStringDecoder>
#include <climits>
#include <cmath>

#include "platform/ado/dialecto.h"
#include "platform/ado/espera.h"
#include "platform/ado/tipos.h"

namespace ado::detalle {

namespace {

const QString kOrigen = QStringLiteral("ado.SQLite");

// The open database; cursors keep it alive after the connection moves on.
struct Base {
  sqlite3* db = nullptr;
  ~Base() { sqlite3_close_v2(db); }
};

// A driver diagnostic with the SQL state and the native code SQL Server
// gives for the same failure, so the program's checks read the same.
Error diagnostico(sqlite3* db) {
  const int extendido = sqlite3_extended_errcode(db);
  const QString mensaje = QString::fromUtf8(sqlite3_errmsg(db));
  QString estado = QStringLiteral("HY000");
  long nativo = extendido;
  switch (extendido & 0xff) {
    case SQLITE_CONSTRAINT:
      estado = QStringLiteral("23000");
      switch (extendido) {
        case SQLITE_CONSTRAINT_UNIQUE:
        case SQLITE_CONSTRAINT_PRIMARYKEY: nativo = 2627; break;
        case SQLITE_CONSTRAINT_NOTNULL: nativo = 515; break;
        case SQLITE_CONSTRAINT_FOREIGNKEY:
        case SQLITE_CONSTRAINT_CHECK: nativo = 547; break;
        default: break;
      }
      break;
    case SQLITE_ERROR:
      if (mensaje.startsWith(QLatin1String("no such table"))) {
        estado = QStringLiteral("42S02");
        nativo = 208;
      } else if (mensaje.startsWith(QLatin1String("no such column"))) {
        estado = QStringLiteral("42S22");
        nativo = 207;
      } else if (mensaje.contains(QLatin1String("already exists"))) {
        estado = QStringLiteral("42S01");
        nativo = 2714;
      } else {
        estado = QStringLiteral("42000");
        nativo = 102;
      }
      break;
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
      estado = QStringLiteral("HYT00");
      nativo = 1222;
      break;
    case SQLITE_INTERRUPT:
      estado = QStringLiteral("HY008");
      nativo = 0;
      break;
    case SQLITE_MISMATCH: estado = QStringLiteral("22018"); break;
    case SQLITE_TOOBIG: estado = QStringLiteral("22001"); break;
    case SQLITE_CANTOPEN: estado = QStringLiteral("08001"); break;
    default: break;
  }
  return Error(numeroPorEstado(estado), mensaje, kOrigen, estado, nativo);
}

[[noreturn]] void fallarSqlite(Errors& errores, sqlite3* db) { fallar(errores, {diagnostico(db)}); }

// ---- values ----

int cifras(const char* s, int n) {
  int v = 0;
  for (int i = 0; i < n; ++i) {
    if (s[i] < '0' || s[i] > '9') return -1;
    v = v * 10 + (s[i] - '0');
  }
  return v;
}

// 'yyyy-MM-dd', 'yyyy-MM-dd hh:mm[:ss[.fff]]' (or with "T"); null when not a date.
QDateTime leerFecha(const char* s, int n) {
  if (n < 10 || s[4] != '-' || s[7] != '-') return {};
  const int a = cifras(s, 4), m = cifras(s + 5, 2), d = cifras(s + 8, 2);
  const QDate fecha(a, m, d);
  if (!fecha.isValid()) return {};
  if (n == 10) return QDateTime(fecha, QTime(0, 0));
  if (n < 16 || (s[10] != ' ' && s[10] != 'T') || s[13] != ':') return {};
  const int h = cifras(s + 11, 2), mi = cifras(s + 14, 2);
  int seg = 0, ms = 0;
  if (n >= 19) {
    if (s[16] != ':') return {};
    seg = cifras(s + 17, 2);
    if (n > 20 && s[19] == '.') {
      int k = 20, escala = 100;
      for (; k < n && escala > 0 && s[k] >= '0' && s[k] <= '9'; ++k, escala /= 10) ms += (s[k] - '0') * escala;
    }
  }
  const QTime hora(h, mi, seg, ms);
  if (!hora.isValid()) return {};
  return QDateTime(fecha, hora);
}

bool esFecha(DataTypeEnum tipo) { return tipo == adDBTimeStamp || tipo == adDate || tipo == adDBDate; }

QString textoFecha(const QDateTime& f) {
  const QTime t = f.time();
  return f.toString(t.msec() ? QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz") : QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

// The text of a value: its bytes are asked for first, then their count.
const char* bytesDe(sqlite3_value* v) { return reinterpret_cast<const char*>(sqlite3_value_text(v)); }
QString textoDe(sqlite3_value* v) {
  const char* s = bytesDe(v);
  return QString::fromUtf8(s, sqlite3_value_bytes(v));
}

vb::Variant real(double d, DataTypeEnum tipo) {
  switch (tipo) {
    case adCurrency: return vb::Variant(vb::Currency{std::llround(d * 10000.0)});
    case adSingle: return vb::Variant(static_cast<float>(d));
    case adBoolean: return vb::Variant(d != 0.0);
    default:
      if (esTexto(tipo)) return vb::Variant(QString::number(d, 'g', 15));
      return vb::Variant(d);
  }
}

class CursorSqlite final : public Cursor {
 public:
  CursorSqlite(std::shared_ptr<Base> base, sqlite3_stmt* st, Errors& errores)
      : base_(std::move(base)), st_(st), errores_(errores) {
    const int n = sqlite3_column_count(st_);
    columnas_.resize(n);
    sinTipo_.assign(n, false);
    for (int i = 0; i < n; ++i) {
      Columna& c = columnas_[i];
      c.nombre = QString::fromUtf8(sqlite3_column_name(st_, i));
      if (const char* decl = sqlite3_column_decltype(st_, i)) {
        const TipoAdo t = tipoDeclarado(QString::fromUtf8(decl));
        c.tipo = t.tipo;
        c.tamano = t.tamano;
      } else {
        sinTipo_[i] = true;  // an expression: typed by its first value
      }
      if (const char* tabla = sqlite3_column_table_name(st_, i)) c.tablaBase = QString::fromUtf8(tabla);
      if (const char* col = sqlite3_column_origin_name(st_, i)) c.columnaBase = QString::fromUtf8(col);
    }
  }
  ~CursorSqlite() override { sqlite3_finalize(st_); }

  const std::vector<Columna>& columnas() const override { return columnas_; }

  bool siguiente() override {
    if (terminado_) return false;
    const int rc = sqlite3_step(st_);
    if (rc == SQLITE_ROW) {
      if (primera_) tiparExpresiones();
      return true;
    }
    terminado_ = true;
    primera_ = false;
    if (rc == SQLITE_DONE) return false;
    fallarSqlite(errores_, base_->db);
  }

  // As the program sees it: typed by the column's declared type.
  vb::Variant valor(int i) override {
    sqlite3_value* v = sqlite3_column_value(st_, i);
    const DataTypeEnum tipo = columnas_[i].tipo;
    switch (sqlite3_value_type(v)) {
      case SQLITE_INTEGER: return valorEntero(sqlite3_value_int64(v), tipo);
      case SQLITE_FLOAT: return real(sqlite3_value_double(v), tipo);
      case SQLITE_TEXT:
        if (esFecha(tipo)) {
          const char* s = bytesDe(v);
          QDateTime f = leerFecha(s, sqlite3_value_bytes(v));
          if (f.isValid()) return vb::Variant(f);
        }
        return vb::Variant(textoDe(v));
      case SQLITE_BLOB: return vb::Variant(textoDe(v));
      default: return vb::Variant::Null();
    }
  }

  // As stored, for the optimistic check of an update.
  vb::Variant crudo(int i) override {
    sqlite3_value* v = sqlite3_column_value(st_, i);
    switch (sqlite3_value_type(v)) {
      case SQLITE_INTEGER: return vb::Variant(static_cast<std::int64_t>(sqlite3_value_int64(v)));
      case SQLITE_FLOAT: return vb::Variant(sqlite3_value_double(v));
      case SQLITE_TEXT:
      case SQLITE_BLOB: return vb::Variant(textoDe(v));
      default: return vb::Variant::Null();
    }
  }

  bool texto(int i, QString& destino) override {
    sqlite3_value* v = sqlite3_column_value(st_, i);
    const int tipo = sqlite3_value_type(v);
    if (tipo == SQLITE_NULL) {
      destino.truncate(0);
      return true;
    }
    if (tipo != SQLITE_TEXT || esFecha(columnas_[i].tipo)) return false;
    const char* datos = bytesDe(v);
    const int largo = sqlite3_value_bytes(v);
    destino.resize(largo);  // UTF-16 takes at most as many units as UTF-8 bytes
    // The plain ASCII start is widened here; from the first other byte on,
    // Qt's decoder takes over. The result is QString::fromUtf8's, which
    // valor() gives: a byte order mark is dropped at the very start only.
    char16_t* salida = reinterpret_cast<char16_t*>(destino.data());
    const auto* entrada = reinterpret_cast<const unsigned char*>(datos);
    qsizetype k = 0;
    while (k < largo && entrada[k] < 0x80) {
      salida[k] = entrada[k];
      ++k;
    }
    qsizetype hechos = k;
    if (k < largo) {
      QStringDecoder utf8(QStringDecoder::Utf8,
                          k == 0 ? QStringDecoder::Flag::Stateless
                                 : QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
      const QChar* fin = utf8.appendToBuffer(destino.data() + k, QByteArrayView(datos + k, largo - k));
      hechos = fin - destino.constData();
    }
    destino.truncate(hechos);
    return true;
  }

 private:
  void tiparExpresiones() {
    primera_ = false;
    for (size_t i = 0; i < columnas_.size(); ++i) {
      if (!sinTipo_[i]) continue;
      Columna& c = columnas_[i];
      switch (sqlite3_column_type(st_, static_cast<int>(i))) {
        case SQLITE_INTEGER: {
          const sqlite3_int64 v = sqlite3_column_int64(st_, static_cast<int>(i));
          c.tipo = v >= INT32_MIN && v <= INT32_MAX ? adInteger : adBigInt;
          break;
        }
        case SQLITE_FLOAT: c.tipo = adDouble; break;
        default: c.tipo = adVarWChar; break;
      }
      c.tamano = tamanoFijo(c.tipo, kTextoLargo);
    }
  }

  std::shared_ptr<Base> base_;
  sqlite3_stmt* st_;
  Errors& errores_;
  std::vector<Columna> columnas_;
  std::vector<bool> sinTipo_;
  bool primera_ = true;
  bool terminado_ = false;
};

// ---- functions the server has and SQLite lacks ----

// LIKE as the server's case-insensitive collation reads it: % _ [abc] [a-c]
// [^a], folding every letter's case (SQLite's own LIKE folds only ASCII).
bool clase(QStringView patron, qsizetype& pi, QChar c) {
  qsizetype k = pi + 1;
  bool negada = false;
  if (k < patron.size() && patron[k] == u'^') {
    negada = true;
    ++k;
  }
  bool dentro = false;
  const qsizetype inicio = k;
  while (k < patron.size() && (patron[k] != u']' || k == inicio)) {
    if (k + 2 < patron.size() && patron[k + 1] == u'-' && patron[k + 2] != u']') {
      if (c >= patron[k] && c <= patron[k + 2]) dentro = true;
      k += 3;
    } else {
      if (c == patron[k]) dentro = true;
      ++k;
    }
  }
  pi = k + 1;
  return dentro != negada;
}

bool coincide(QStringView texto, QStringView patron, QChar escape, bool hayEscape) {
  qsizetype ti = 0, pi = 0, comodin = -1, desde = 0;
  while (ti < texto.size()) {
    if (pi < patron.size()) {
      const QChar c = patron[pi];
      if (hayEscape && c == escape && pi + 1 < patron.size()) {
        if (texto[ti] == patron[pi + 1]) {
          ++ti;
          pi += 2;
          continue;
        }
      } else if (c == u'%') {
        comodin = pi++;
        desde = ti;
        continue;
      } else if (c == u'[' && patron.indexOf(u']', pi + 2) > pi) {
        qsizetype sig = pi;
        if (clase(patron, sig, texto[ti])) {
          ++ti;
          pi = sig;
          continue;
        }
      } else if (c == u'_' || c == texto[ti]) {
        ++ti;
        ++pi;
        continue;
      }
    }
    if (comodin < 0) return false;
    pi = comodin + 1;
    ti = ++desde;
  }
  while (pi < patron.size() && patron[pi] == u'%') ++pi;
  return pi == patron.size();
}

void funcionLike(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
  for (int i = 0; i < argc; ++i)
    if (sqlite3_value_type(argv[i]) == SQLITE_NULL) return sqlite3_result_null(ctx);
  const QString patron = textoDe(argv[0]).toCaseFolded();
  const QString texto = textoDe(argv[1]).toCaseFolded();
  QChar escape;
  if (argc == 3) {
    const QString e = textoDe(argv[2]);
    if (e.size() != 1) return sqlite3_result_error(ctx, "ESCAPE expression must be a single character", -1);
    escape = e.toCaseFolded()[0];
  }
  sqlite3_result_int(ctx, coincide(texto, patron, escape, argc == 3) ? 1 : 0);
}

void funcionGetDate(sqlite3_context* ctx, int, sqlite3_value**) {
  const QByteArray t = textoFecha(QDateTime::currentDateTime()).toUtf8();
  sqlite3_result_text(ctx, t.constData(), static_cast<int>(t.size()), SQLITE_TRANSIENT);
}

std::shared_ptr<Base> abrirBase(Errors& errores, const QString& ruta) {
  auto base = std::make_shared<Base>();
  // The program has one thread: SQLite need not lock the connection in every call.
  const int rc = sqlite3_open_v2(QFile::encodeName(ruta).constData(), &base->db,
                                 SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
  if (rc != SQLITE_OK) {
    if (!base->db) fallarCon(errores, kErrorGeneral, QStringLiteral("Memoria insuficiente."), kOrigen);
    fallarSqlite(errores, base->db);
  }
  sqlite3* db = base->db;
  sqlite3_extended_result_codes(db, 1);
  sqlite3_busy_timeout(db, 30000);
  const int banderas = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
  sqlite3_create_function_v2(db, "like", 2, banderas, nullptr, funcionLike, nullptr, nullptr, nullptr);
  sqlite3_create_function_v2(db, "like", 3, banderas, nullptr, funcionLike, nullptr, nullptr, nullptr);
  sqlite3_create_function_v2(db, "getdate", 0, SQLITE_UTF8, nullptr, funcionGetDate, nullptr, nullptr, nullptr);
  // The server checks references; SQLite does only when asked. A file that
  // is not a database shows here rather than at the first query. Pages are
  // read, never memory-mapped: a file cut short under a mapping kills the
  // process (SIGBUS), while a read reports the damage as an error.
  if (sqlite3_exec(db, "PRAGMA foreign_keys=ON; SELECT count(*) FROM sqlite_master;", nullptr, nullptr, nullptr) !=
      SQLITE_OK)
    fallarSqlite(errores, db);
  return base;
}

// ---- the session ----

// The statements of one text in the server's dialect, adapted and prepared
// one after another as they are asked for; whoever takes one finalizes it.
// One that does not prepare raises the driver's error.
class Sentencias {
 public:
  Sentencias(sqlite3* db, Errors& errores, const QString& sql)
      : db_(db), errores_(errores), texto_(dialecto::adaptarParaSqlite(sql).toUtf8()), p_(texto_.constData()) {}

  // The next statement; nullptr after the last (blanks and comments make none).
  sqlite3_stmt* siguiente() {
    const char* fin = texto_.constData() + texto_.size();
    while (p_ < fin) {
      sqlite3_stmt* st = nullptr;
      const char* resto = nullptr;
      if (sqlite3_prepare_v2(db_, p_, static_cast<int>(fin - p_), &st, &resto) != SQLITE_OK)
        fallarSqlite(errores_, db_);
      p_ = resto;
      if (st) return st;
    }
    return nullptr;
  }

 private:
  sqlite3* db_;
  Errors& errores_;
  const QByteArray texto_;
  const char* p_;
};

class EnlaceSqlite final : public Enlace {
 public:
  EnlaceSqlite(Errors& errores, std::shared_ptr<Base> base, QString proveedor, QString carpeta, QString nombre)
      : errores_(errores),
        base_(std::move(base)),
        proveedor_(std::move(proveedor)),
        carpeta_(std::move(carpeta)),
        nombre_(std::move(nombre)) {}
  ~EnlaceSqlite() override { sqlite3_progress_handler(base_->db, 0, nullptr, nullptr); }

  QString proveedor() const override { return proveedor_; }

  std::unique_ptr<Cursor> consultar(const QString& sql, const std::vector<vb::Variant>& parametros) override {
    Sentencias sentencias(base_->db, errores_, sql);
    size_t usados = 0;  // the values go to the marks in order, across the statements
    while (sqlite3_stmt* st = sentencias.siguiente()) {
      enlazarMarcas(st, parametros, usados);
      // The first statement that returns rows is the recordset.
      if (sqlite3_column_count(st) > 0) {
        sobrantes(st, parametros, usados);
        return std::make_unique<CursorSqlite>(base_, st, errores_);
      }
      correr(st);
    }
    sobrantes(nullptr, parametros, usados);
    return nullptr;
  }

  long ejecutar(const QString& sql) override {
    Sentencias sentencias(base_->db, errores_, sql);
    long total = -1;
    while (sqlite3_stmt* st = sentencias.siguiente()) {
      const bool cambia = esCambio(st);
      correr(st);
      if (cambia) total = (total < 0 ? 0 : total) + sqlite3_changes(base_->db);
    }
    return total;
  }

  long escribirFila(const QString& sql, const std::vector<vb::Variant>& parametros) override {
    sqlite3* db = base_->db;
    if (sqlite3_exec(db, "SAVEPOINT ado_fila", nullptr, nullptr, nullptr) != SQLITE_OK) fallarSqlite(errores_, db);
    auto deshacerFila = [db] {
      sqlite3_exec(db, "ROLLBACK TO ado_fila", nullptr, nullptr, nullptr);
      sqlite3_exec(db, "RELEASE ado_fila", nullptr, nullptr, nullptr);
    };
    const QByteArray texto = sql.toUtf8();
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db, texto.constData(), static_cast<int>(texto.size()), &st, nullptr) != SQLITE_OK) {
      const Error e = diagnostico(db);
      deshacerFila();
      fallar(errores_, {e});
    }
    for (size_t i = 0; i < parametros.size(); ++i) enlazar(st, static_cast<int>(i) + 1, normalizar(parametros[i]));
    const int rc = sqlite3_step(st);
    if (rc != SQLITE_DONE && rc != SQLITE_ROW) {
      const Error e = diagnostico(db);
      sqlite3_finalize(st);
      deshacerFila();
      fallar(errores_, {e});
    }
    sqlite3_finalize(st);
    const long n = sqlite3_changes(db);
    ultimaFila_ = sqlite3_last_insert_rowid(db);
    if (n != 1)
      deshacerFila();
    else
      sqlite3_exec(db, "RELEASE ado_fila", nullptr, nullptr, nullptr);
    return n;
  }

  std::unique_ptr<Cursor> releerInsertada(const QString& tabla, const std::vector<QString>& columnas) override {
    QString sql = QStringLiteral("SELECT ");
    for (size_t i = 0; i < columnas.size(); ++i) sql += (i ? QStringLiteral(", ") : QString()) + citar(columnas[i]);
    sql += QStringLiteral(" FROM ") + citar(tabla) + QStringLiteral(" WHERE rowid = ") + QString::number(ultimaFila_);
    const QByteArray texto = sql.toUtf8();
    sqlite3_stmt* st = nullptr;
    // A table without rowid cannot be read back; the caller keeps what it wrote.
    if (sqlite3_prepare_v2(base_->db, texto.constData(), static_cast<int>(texto.size()), &st, nullptr) != SQLITE_OK)
      return nullptr;
    auto c = std::make_unique<CursorSqlite>(base_, st, errores_);
    if (!c->siguiente()) return nullptr;
    return c;
  }

  vb::Variant normalizar(const vb::Variant& v) const override {
    switch (v.type()) {
      case vb::VarType::Empty: return vb::Variant::Null();
      case vb::VarType::Boolean: return vb::Variant(static_cast<std::int64_t>(*v.get<bool>() ? 1 : 0));
      case vb::VarType::Integer: return vb::Variant(static_cast<std::int64_t>(*v.get<std::int16_t>()));
      case vb::VarType::Long: return vb::Variant(static_cast<std::int64_t>(*v.get<std::int32_t>()));
      case vb::VarType::Byte: return vb::Variant(static_cast<std::int64_t>(*v.get<std::uint8_t>()));
      case vb::VarType::Single: return vb::Variant(static_cast<double>(*v.get<float>()));
      case vb::VarType::Currency: {
        const auto c = *v.get<vb::Currency>();
        if (c.diezMilesimos % 10000 == 0) return vb::Variant(static_cast<std::int64_t>(c.diezMilesimos / 10000));
        return vb::Variant(c.toDouble());
      }
      case vb::VarType::Date: return vb::Variant(textoFecha(*v.get<QDateTime>()));
      default: return v;
    }
  }

  QString comparacionExacta() const override { return QStringLiteral(" COLLATE BINARY"); }

  void iniciarTransaccion() override { exec("BEGIN"); }
  void confirmar() override { exec("COMMIT"); }
  void deshacer() override {
    // A failed statement may already have ended the transaction.
    if (!sqlite3_get_autocommit(base_->db)) exec("ROLLBACK");
  }

  // sqlite3_interrupt is safe from any thread and from the progress handler.
  void cancelar() override { sqlite3_interrupt(base_->db); }

  void setEnEspera(std::function<void()> espera) override {
    espera_.set(std::move(espera));
    instalarEspera();
  }

  void setTiempoComando(long segundos) override {
    sqlite3_busy_timeout(base_->db,
                         segundos <= 0 || segundos > INT_MAX / 1000 ? INT_MAX : static_cast<int>(segundos * 1000));
    tiempo_ = segundos;
  }
  void setAislamiento(long nivel) override {
    aislamiento_ = nivel;
    exec(nivel == adXactReadUncommitted ? "PRAGMA read_uncommitted=1" : "PRAGMA read_uncommitted=0");
  }

  QString baseDatos() const override { return nombre_; }

  void setBaseDatos(const QString& nombre) override {
    const QString n = nombre.trimmed();
    if (n.compare(nombre_, Qt::CaseInsensitive) == 0) return;
    if (carpeta_.isEmpty()) {
      if (n.isEmpty()) return;
      fallarCon(errores_, kErrorGeneral,
                QStringLiteral("Un archivo de base de datos local no admite cambiar la base de datos predeterminada."),
                kOrigen, QStringLiteral("HYC00"), 0);
    }
    auto nueva = abrirBase(errores_, archivoDe(errores_, carpeta_, n));
    sqlite3_progress_handler(base_->db, 0, nullptr, nullptr);
    base_ = std::move(nueva);
    instalarEspera();
    nombre_ = n;
    setTiempoComando(tiempo_);
    setAislamiento(aislamiento_);
  }

  std::vector<TablaEsquema> tablas() override {
    std::vector<TablaEsquema> r;
    sqlite3_stmt* st = preparar(
        "SELECT name, type FROM sqlite_master WHERE type IN ('table','view') AND substr(name,1,7) <> 'sqlite_' "
        "ORDER BY type, name");
    while (paso(st)) {
      r.push_back({catalogo(), esquema(), QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0))),
                   QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 1))).toUpper()});
    }
    sqlite3_finalize(st);
    return r;
  }

  std::vector<ColumnaEsquema> columnas(const QString& tabla) override {
    std::vector<ColumnaEsquema> r;
    for (const TablaEsquema& t : tablas()) {
      if (!tabla.isEmpty() && t.nombre.compare(tabla, Qt::CaseInsensitive) != 0) continue;
      sqlite3_stmt* st = preparar("SELECT cid, name, type, \"notnull\", dflt_value FROM pragma_table_info(?)");
      const QByteArray n = t.nombre.toUtf8();
      sqlite3_bind_text(st, 1, n.constData(), static_cast<int>(n.size()), SQLITE_TRANSIENT);
      while (paso(st)) {
        ColumnaEsquema c;
        c.catalogo = t.catalogo;
        c.esquema = t.esquema;
        c.tabla = t.nombre;
        c.ordinal = sqlite3_column_int(st, 0) + 1;
        c.nombre = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 1)));
        const TipoAdo tipo =
            tipoDeclarado(QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 2))));
        c.tipo = tipo.tipo;
        c.tamano = tipo.tamano;
        c.admiteNulos = sqlite3_column_int(st, 3) == 0;
        c.tieneDefecto = sqlite3_column_type(st, 4) != SQLITE_NULL;
        if (c.tieneDefecto)
          c.defecto = vb::Variant(QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 4))));
        r.push_back(std::move(c));
      }
      sqlite3_finalize(st);
    }
    return r;
  }

  static QString archivoDe(Errors& errores, const QString& carpeta, const QString& base) {
    // A database is a file of the alias's folder, never one reached from it.
    if (base.contains(u'/') || base.contains(u'\\') || base.contains(QStringLiteral("..")))
      fallarCon(errores, kErrorGeneral,
                QStringLiteral("No se puede abrir la base de datos \"%1\": el nombre de una base de datos no lleva "
                               "carpetas ni \"..\"")
                    .arg(base),
                kOrigen, QStringLiteral("42000"), 4060);
    QDir dir(carpeta);
    const QString nombre = base + QStringLiteral(".db");
    if (!base.isEmpty() && dir.exists(nombre)) return dir.filePath(nombre);
    // Database names ignore case on the server; file names here do not.
    if (!base.isEmpty())
      for (const QString& f : dir.entryList(QDir::Files))
        if (f.compare(nombre, Qt::CaseInsensitive) == 0) return dir.filePath(f);
    fallarCon(errores, kErrorGeneral,
              QStringLiteral("No se puede abrir la base de datos \"%1\" solicitada por el inicio de sesión. "
                             "Error de inicio de sesión. (No existe %2)")
                  .arg(base, dir.filePath(nombre)),
              kOrigen, QStringLiteral("42000"), 4060);
  }

 private:
  static QString citar(const QString& nombre) {
    return u'"' + QString(nombre).replace(u'"', QStringLiteral("\"\"")) + u'"';
  }

  // SQLite's progress handler runs every so many virtual machine steps, also
  // inside one long step (a sort of millions of rows); the wait is passed on
  // from there. Nothing may be thrown through SQLite: a failing wait stops the statement.
  static int alProgresar(void* enlace) {
    try {
      static_cast<EnlaceSqlite*>(enlace)->espera_.latir();
    } catch (...) {
      return 1;
    }
    return 0;
  }
  void instalarEspera() {
    if (espera_)
      sqlite3_progress_handler(base_->db, 2000, &EnlaceSqlite::alProgresar, this);
    else
      sqlite3_progress_handler(base_->db, 0, nullptr, nullptr);
  }

  QString catalogo() const { return carpeta_.isEmpty() ? QString() : nombre_; }
  QString esquema() const { return carpeta_.isEmpty() ? QString() : QStringLiteral("dbo"); }

  static bool esCambio(sqlite3_stmt* st) {
    if (sqlite3_stmt_readonly(st)) return false;
    const QString sql = QString::fromUtf8(sqlite3_sql(st)).trimmed();
    for (const char* k : {"INSERT", "UPDATE", "DELETE", "REPLACE", "WITH"})
      if (sql.startsWith(QLatin1String(k), Qt::CaseInsensitive)) return true;
    return false;
  }

  // Steps the statement to its end, its rows dropped, and finalizes it.
  void correr(sqlite3_stmt* st) {
    while (paso(st)) {}
    sqlite3_finalize(st);
  }

  sqlite3_stmt* preparar(const char* sql) {
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(base_->db, sql, -1, &st, nullptr) != SQLITE_OK) fallarSqlite(errores_, base_->db);
    return st;
  }

  // One row more; a failure finalizes the statement and raises.
  bool paso(sqlite3_stmt* st) {
    const int rc = sqlite3_step(st);
    if (rc == SQLITE_ROW) return true;
    if (rc == SQLITE_DONE) return false;
    const Error e = diagnostico(base_->db);
    sqlite3_finalize(st);
    fallar(errores_, {e});
  }

  void exec(const char* sql) {
    if (sqlite3_exec(base_->db, sql, nullptr, nullptr, nullptr) != SQLITE_OK) fallarSqlite(errores_, base_->db);
  }

  // Binds the statement's "?" marks from parametros[usados] on. Named marks
  // (:x, @x, ?3) are not the program's and stay Null, as they always did.
  void enlazarMarcas(sqlite3_stmt* st, const std::vector<vb::Variant>& parametros, size_t& usados) {
    const int marcas = sqlite3_bind_parameter_count(st);
    for (int j = 1; j <= marcas; ++j) {
      if (sqlite3_bind_parameter_name(st, j)) continue;
      if (usados >= parametros.size()) {
        sqlite3_finalize(st);
        fallarCon(errores_, kErrorFaltaParametro,
                  QStringLiteral("No se han especificado valores para algunos de los parámetros requeridos."), kOrigen,
                  QStringLiteral("07002"), 0);
      }
      enlazar(st, j, normalizar(parametros[usados++]));
    }
  }

  void sobrantes(sqlite3_stmt* st, const std::vector<vb::Variant>& parametros, size_t usados) {
    if (usados >= parametros.size()) return;
    if (st) sqlite3_finalize(st);
    fallarCon(errores_, kErrorArgumentos,
              QStringLiteral("La sentencia tiene %1 marcas de parámetro y se dieron %2 valores.")
                  .arg(usados)
                  .arg(parametros.size()),
              kOrigen, QStringLiteral("07002"), 0);
  }

  static void enlazar(sqlite3_stmt* st, int i, const vb::Variant& v) {
    if (const auto* e = v.get<std::int64_t>())
      sqlite3_bind_int64(st, i, *e);
    else if (const auto* d = v.get<double>())
      sqlite3_bind_double(st, i, *d);
    else if (const auto* s = v.get<QString>()) {
      const QByteArray b = s->toUtf8();
      sqlite3_bind_text(st, i, b.constData(), static_cast<int>(b.size()), SQLITE_TRANSIENT);
    } else
      sqlite3_bind_null(st, i);
  }

  Errors& errores_;
  std::shared_ptr<Base> base_;
  QString proveedor_;
  QString carpeta_;  // empty for a single local file
  QString nombre_;   // the database name, or the file's path
  long tiempo_ = 30;
  long aislamiento_ = adXactReadCommitted;
  sqlite3_int64 ultimaFila_ = 0;
  Espera espera_;
};

// A local file with a database password keeps it in ADO_CLAVE_BASE (one
// row: SAL, RESUMEN). No such table, or no row in it: the file has none.
void comprobarClave(Errors& errores, sqlite3* db, const QString& clave) {
  sqlite3_stmt* st = nullptr;
  if (sqlite3_prepare_v2(
          db, "SELECT name FROM sqlite_master WHERE type = 'table' AND name = 'ADO_CLAVE_BASE' COLLATE NOCASE", -1, &st,
          nullptr) != SQLITE_OK)
    fallarSqlite(errores, db);
  const bool hayTabla = sqlite3_step(st) == SQLITE_ROW;
  sqlite3_finalize(st);
  if (!hayTabla) return;
  if (sqlite3_prepare_v2(db, "SELECT SAL, RESUMEN FROM ADO_CLAVE_BASE LIMIT 1", -1, &st, nullptr) != SQLITE_OK)
    fallarSqlite(errores, db);
  const int rc = sqlite3_step(st);
  if (rc != SQLITE_ROW) {
    sqlite3_finalize(st);
    if (rc == SQLITE_DONE) return;
    fallarSqlite(errores, db);
  }
  const auto texto = [st](int i) {
    return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, i)), sqlite3_column_bytes(st, i));
  };
  const QString sal = texto(0);
  const QString guardado = texto(1).trimmed();
  sqlite3_finalize(st);
  if (resumenClave(sal, clave).compare(guardado, Qt::CaseInsensitive) == 0) return;
  fallarCon(errores, kErrorAutenticacion, QStringLiteral("No es una contraseña válida."), kOrigen,
            QStringLiteral("3031"), 3031);
}

}  // namespace

std::unique_ptr<Enlace> abrirSqliteCarpeta(Errors& errores, const QString& carpeta, const QString& base) {
  // No database named: a session on the server alone, with nothing in it until one is chosen.
  const QString ruta =
      base.trimmed().isEmpty() ? QStringLiteral(":memory:") : EnlaceSqlite::archivoDe(errores, carpeta, base.trimmed());
  return std::make_unique<EnlaceSqlite>(errores, abrirBase(errores, ruta), QStringLiteral("SQLOLEDB"), carpeta,
                                        base.trimmed());
}

std::unique_ptr<Enlace> abrirSqliteArchivo(Errors& errores, const QString& ruta, const QString& proveedor,
                                           const QString& clave) {
  // Paths written for Windows ("C:\Datos\base.mdb") are tried with "/".
  QString r = ruta.trimmed();
  r.replace(u'\\', u'/');
  const QFileInfo info(r);
  if (r.isEmpty() || !info.dir().exists())
    fallarCon(errores, kErrorGeneral,
              QStringLiteral("'%1' no es una ruta válida. Asegúrese de que el nombre de la ruta esté escrito "
                             "correctamente y que está conectado al servidor en el que reside el archivo.")
                  .arg(ruta),
              kOrigen, QStringLiteral("3044"), 3044);
  if (!info.exists() || info.isDir())
    fallarCon(errores, kErrorGeneral, QStringLiteral("No se pudo encontrar el archivo '%1'.").arg(ruta), kOrigen,
              QStringLiteral("3024"), 3024);
  if (!info.isReadable())
    fallarCon(errores, kErrorGeneral,
              QStringLiteral("No se puede abrir el archivo '%1': no tiene permiso para verlo.").arg(ruta), kOrigen,
              QStringLiteral("3051"), 3051);
  auto base = abrirBase(errores, info.absoluteFilePath());
  comprobarClave(errores, base->db, clave);
  return std::make_unique<EnlaceSqlite>(errores, std::move(base), proveedor, QString(), ruta.trimmed());
}

QString resumenClave(const QString& sal, const QString& clave) {
  return QString::fromLatin1(QCryptographicHash::hash((sal + clave).toUtf8(), QCryptographicHash::Sha3_256).toHex());
}

}  // namespace ado::detalle
