#include "platform/ado/recordset.h"

#include <algorithm>

#include "platform/ado/recordset_impl.h"
#include "platform/ado/tipos.h"
#include "platform/vb/error.h"

namespace ado {

namespace detalle {

namespace {

const QString kOrigen = QStringLiteral("ADODB.Recordset");

[[noreturn]] void errorPropio(long numero, const QString& descripcion) {
  throw vb::Error(numero, descripcion, kOrigen);
}

[[noreturn]] void cerrado() {
  errorPropio(kErrorCerrado, QStringLiteral("No se permite realizar esta operación si el objeto está cerrado."));
}

[[noreturn]] void soloLectura() {
  errorPropio(kErrorNoActualizable,
              QStringLiteral("El Recordset actual no admite actualizaciones. Puede deberse a una limitación del "
                             "proveedor o del tipo de bloqueo seleccionado."));
}

QString sinComillas(QString nombre) {
  if (nombre.size() >= 2 &&
      ((nombre.startsWith(u'[') && nombre.endsWith(u']')) || (nombre.startsWith(u'"') && nombre.endsWith(u'"')) ||
       (nombre.startsWith(u'`') && nombre.endsWith(u'`'))))
    nombre = nombre.mid(1, nombre.size() - 2);
  return nombre;
}

// The one table a SELECT reads, when the driver does not say: the name
// after FROM (without owner), unless more tables follow.
QString tablaDeFrom(const QString& sql) {
  const qsizetype n = sql.size();
  int nivel = 0;
  for (qsizetype i = 0; i < n; ++i) {
    const QChar c = sql[i];
    if (c == u'\'' || c == u'"') {
      const qsizetype fin = sql.indexOf(c, i + 1);
      if (fin < 0) return {};
      i = fin;
      continue;
    }
    if (c == u'(') {
      ++nivel;
      continue;
    }
    if (c == u')') {
      --nivel;
      continue;
    }
    if (nivel != 0 || (i > 0 && (sql[i - 1].isLetterOrNumber() || sql[i - 1] == u'_'))) continue;
    if (sql.mid(i, 4).compare(QLatin1String("FROM"), Qt::CaseInsensitive) != 0) continue;
    if (i + 4 < n && (sql[i + 4].isLetterOrNumber() || sql[i + 4] == u'_')) continue;
    qsizetype j = i + 4;
    while (j < n && sql[j].isSpace()) ++j;
    qsizetype k = j;
    while (k < n && (sql[k].isLetterOrNumber() || QStringView(u"_.[]\"$#@").contains(sql[k]) ||
                     (sql[k] == u' ' && k > j && sql.lastIndexOf(u'[', k) > sql.lastIndexOf(u']', k))))
      ++k;
    QString nombre = sql.mid(j, k - j);
    // The rest must not name a second table.
    const QString resto = sql.mid(k).trimmed();
    static const char* const juntas[] = {"JOIN", "INNER", "LEFT", "RIGHT", "CROSS", "FULL", "UNION", ","};
    for (const char* x : juntas)
      if (resto.startsWith(QLatin1String(x), Qt::CaseInsensitive) ||
          resto.contains(QStringLiteral(" %1 ").arg(QLatin1String(x)), Qt::CaseInsensitive))
        return {};
    const qsizetype punto = nombre.lastIndexOf(u'.');
    if (punto >= 0) nombre = nombre.mid(punto + 1);
    return sinComillas(nombre);
  }
  return {};
}

QString citar(const QString& nombre) { return u'"' + QString(nombre).replace(u'"', QStringLiteral("\"\"")) + u'"'; }

bool comparable(DataTypeEnum t) { return t != adLongVarBinary && t != adVarBinary && t != adBinary; }

}  // namespace

RecordsetImpl::~RecordsetImpl() {
  if (cn) std::erase(cn->recordsets, this);
}

Errors& RecordsetImpl::errores() const { return cn->errores; }

void RecordsetImpl::sinFila() const {
  errorPropio(kErrorBofEof,
              QStringLiteral("BOF o EOF es True, o el registro actual se eliminó. La operación solicitada requiere "
                             "un registro actual."));
}

void RecordsetImpl::comprobarAbierto() const {
  if (!abierto) cerrado();
}

void RecordsetImpl::abrir(const QString& texto, std::shared_ptr<ConexionImpl> conexion, long cursor, long bloqueo,
                          long opciones, long ubic, std::vector<vb::Variant> parametros) {
  if (abierto)
    errorPropio(kErrorAbierto, QStringLiteral("No se permite realizar esta operación si el objeto está abierto."));
  Enlace& enlace = conexion->abierta(true);
  if (cursor < adOpenForwardOnly || cursor > adOpenStatic) cursor = adOpenForwardOnly;
  if (bloqueo < adLockReadOnly || bloqueo > adLockBatchOptimistic) bloqueo = adLockReadOnly;
  if (ubic == adUseClient) cursor = adOpenStatic;  // ADO gives a client cursor only as static
  QString sql = texto;
  const QString t = texto.trimmed();
  const bool unNombre = !t.isEmpty() && std::none_of(t.begin(), t.end(), [](QChar c) { return c.isSpace(); }) &&
                        !t.contains(u'(') && !t.contains(u';');
  if (opciones == adCmdTable || opciones == adCmdTableDirect ||
      ((opciones == -1 || opciones == adCmdUnknown) && unNombre))
    sql = QStringLiteral("SELECT * FROM ") + t;

  auto nuevo = enlace.consultar(sql, parametros);
  if (!nuevo) return;  // the statement returned no rows: it ran, the recordset stays closed

  cn = std::move(conexion);
  origen = texto;
  sql_ = sql;
  parametros_ = std::move(parametros);
  tipoCursor = cursor;
  tipoBloqueo = bloqueo;
  ubicacion = ubic;
  cursor_ = std::move(nuevo);
  modo_ = 0;
  flujo_ = cursor == adOpenForwardOnly && bloqueo == adLockReadOnly && ubic != adUseClient;
  guardaOriginales_ = bloqueo != adLockReadOnly;
  filas_.clear();
  pos_ = 0;
  try {
    if (flujo_) {
      hayFila_ = cursor_->siguiente();
      leida_ = false;
      columnas_ = cursor_->columnas();
    } else {
      leerTodo();
    }
  } catch (...) {
    // A failure while reading leaves the recordset closed, holding nothing of the driver's.
    cursor_.reset();
    filas_.clear();
    cn.reset();
    throw;
  }
  prepararCampos();
  if (guardaOriginales_) baseParaEscribir();
  abierto = true;
  cn->recordsets.push_back(this);
}

void RecordsetImpl::leerTodo() {
  // The first row types expression columns, so the columns are taken after it.
  bool hay = cursor_->siguiente();
  columnas_ = cursor_->columnas();
  const size_t n = columnas_.size();
  while (hay) {
    Fila f;
    f.valores.reserve(n);
    for (size_t i = 0; i < n; ++i) f.valores.push_back(cursor_->valor(static_cast<int>(i)));
    if (guardaOriginales_) {
      f.originales.reserve(n);
      for (size_t i = 0; i < n; ++i) f.originales.push_back(cursor_->crudo(static_cast<int>(i)));
      f.conocidos.assign(n, 1);
    }
    filas_.push_back(std::move(f));
    hay = cursor_->siguiente();
  }
  cursor_.reset();
}

void RecordsetImpl::abrirFilas(std::shared_ptr<ConexionImpl> conexion, std::vector<Columna> columnas,
                               std::vector<Fila> filas) {
  cn = std::move(conexion);
  columnas_ = std::move(columnas);
  filas_ = std::move(filas);
  tipoCursor = adOpenStatic;
  tipoBloqueo = adLockReadOnly;
  ubicacion = adUseClient;
  flujo_ = false;
  pos_ = 0;
  prepararCampos();
  abierto = true;
  cn->recordsets.push_back(this);
}

void RecordsetImpl::prepararCampos() {
  campos.vaciar();
  for (size_t i = 0; i < columnas_.size(); ++i)
    campos.agregar(std::make_unique<Field>(this, static_cast<long>(i), columnas_[i].nombre, columnas_[i].tipo,
                                           columnas_[i].tamano));
}

void RecordsetImpl::baseParaEscribir() {
  tabla_.clear();
  escribibles_.assign(columnas_.size(), 0);
  bool conMetadatos = false;
  for (const Columna& c : columnas_) {
    if (c.tablaBase.isEmpty()) continue;
    conMetadatos = true;
    if (tabla_.isEmpty()) tabla_ = c.tablaBase;
  }
  if (conMetadatos) {
    for (size_t i = 0; i < columnas_.size(); ++i)
      escribibles_[i] =
          columnas_[i].tablaBase.compare(tabla_, Qt::CaseInsensitive) == 0 && !columnas_[i].columnaBase.isEmpty();
    return;
  }
  // Drivers that do not tell where a column comes from: the table after FROM, the columns by their names.
  tabla_ = tablaDeFrom(origen);
  if (tabla_.isEmpty()) return;
  for (size_t i = 0; i < columnas_.size(); ++i) {
    escribibles_[i] = 1;
    if (columnas_[i].columnaBase.isEmpty()) columnas_[i].columnaBase = columnas_[i].nombre;
  }
}

void RecordsetImpl::cerrar() {
  comprobarAbierto();
  // A pending edit is dropped, as CancelUpdate would.
  modo_ = 0;
  cursor_.reset();
  filas_.clear();
  filas_.shrink_to_fit();
  parametros_.clear();
  campos.vaciar();
  columnas_.clear();
  hayFila_ = false;
  abierto = false;
  if (cn) std::erase(cn->recordsets, this);
  cn.reset();
}

void RecordsetImpl::alCerrarConexion() {
  if (flujo_) {
    cursor_.reset();
    hayFila_ = false;
    modo_ = 0;
    campos.vaciar();
    columnas_.clear();
    abierto = false;
  }
  // Rows already read stay readable; writing needs the connection again.
  cn.reset();
}

bool RecordsetImpl::bof() const {
  comprobarAbierto();
  if (flujo_) return !hayFila_ && !leida_;
  if (modo_ == 2) return false;
  return filas_.empty() || pos_ < 0;
}

bool RecordsetImpl::eof() const {
  comprobarAbierto();
  if (flujo_) return !hayFila_;
  if (modo_ == 2) return false;
  return filas_.empty() || pos_ >= cantidad();
}

void RecordsetImpl::pendientes() {
  if (modo_ != 0) actualizar();
}

void RecordsetImpl::reconsultar() {
  if (!cn) cerrado();
  auto nuevo = cn->abierta(true).consultar(sql_, parametros_);
  if (!nuevo) cerrado();
  cursor_ = std::move(nuevo);
  filas_.clear();
  flujo_ = true;
  hayFila_ = cursor_->siguiente();
  leida_ = false;
}

void RecordsetImpl::moverPrimero() {
  comprobarAbierto();
  pendientes();
  if (tipoCursor == adOpenForwardOnly && ubicacion != adUseClient && (flujo_ ? leida_ : true) &&
      tipoBloqueo == adLockReadOnly) {
    // A forward-only cursor cannot go back: ADO runs the query again.
    reconsultar();
    return;
  }
  if (flujo_) return;
  if (filas_.empty()) sinFila();
  pos_ = 0;
}

void RecordsetImpl::moverSiguiente() {
  comprobarAbierto();
  pendientes();
  if (flujo_) {
    if (!hayFila_) sinFila();
    leida_ = true;
    hayFila_ = cursor_->siguiente();
    return;
  }
  if (eof()) sinFila();
  ++pos_;
}

void RecordsetImpl::moverAnterior() {
  comprobarAbierto();
  pendientes();
  if (tipoCursor == adOpenForwardOnly)
    throw vb::Error(-2147217884, QStringLiteral("El conjunto de filas no admite recuperar hacia atrás."), kOrigen);
  if (bof()) sinFila();
  --pos_;
}

void RecordsetImpl::moverUltimo() {
  comprobarAbierto();
  pendientes();
  if (flujo_) {
    // Forward only: read on to the last row and keep it.
    if (!hayFila_) sinFila();
    Fila ultima;
    const size_t n = columnas_.size();
    do {
      ultima.valores.clear();
      for (size_t i = 0; i < n; ++i) ultima.valores.push_back(cursor_->valor(static_cast<int>(i)));
    } while (cursor_->siguiente());
    cursor_.reset();
    flujo_ = false;
    filas_.clear();
    filas_.push_back(std::move(ultima));
    pos_ = 0;
    return;
  }
  if (filas_.empty()) sinFila();
  pos_ = cantidad() - 1;
}

long RecordsetImpl::cantidadRegistros() const {
  comprobarAbierto();
  if (tipoCursor == adOpenForwardOnly && ubicacion != adUseClient) return -1;
  return cantidad();
}

std::vector<std::vector<vb::Variant>> RecordsetImpl::obtenerFilas(long n) {
  comprobarAbierto();
  pendientes();
  if (eof()) sinFila();
  std::vector<std::vector<vb::Variant>> r(columnas_.size());
  long leidas = 0;
  while (!eof() && (n < 0 || leidas < n)) {
    for (size_t i = 0; i < columnas_.size(); ++i) r[i].push_back(valor(static_cast<long>(i)));
    ++leidas;
    if (flujo_) {
      leida_ = true;
      hayFila_ = cursor_->siguiente();
    } else {
      ++pos_;
    }
  }
  return r;
}

vb::Variant RecordsetImpl::valorOriginal(long i) const {
  comprobarAbierto();
  if (modo_ == 2) return vb::Variant::Null();
  if (flujo_) return valor(i);
  if (pos_ < 0 || pos_ >= cantidad()) sinFila();
  return filas_[static_cast<size_t>(pos_)].valores[static_cast<size_t>(i)];
}

void RecordsetImpl::asignar(long i, const vb::Variant& v) {
  comprobarAbierto();
  if (tipoBloqueo == adLockReadOnly) soloLectura();
  if (modo_ == 0) {
    if (pos_ < 0 || pos_ >= cantidad()) sinFila();
    modo_ = 1;
    nuevos_.assign(columnas_.size(), vb::Variant());
    cambiados_.assign(columnas_.size(), 0);
  }
  if (!escribibles_[static_cast<size_t>(i)])
    errorPropio(kErrorGeneral,
                QStringLiteral("No se puede actualizar el campo \"%1\": no es una columna de la tabla \"%2\".")
                    .arg(columnas_[static_cast<size_t>(i)].nombre, tabla_));
  nuevos_[static_cast<size_t>(i)] = v;
  cambiados_[static_cast<size_t>(i)] = 1;
}

void RecordsetImpl::agregarNuevo() {
  comprobarAbierto();
  if (tipoBloqueo == adLockReadOnly) soloLectura();
  pendientes();
  modo_ = 2;
  nuevos_.assign(columnas_.size(), vb::Variant());
  cambiados_.assign(columnas_.size(), 0);
}

void RecordsetImpl::actualizar() {
  comprobarAbierto();
  if (tipoBloqueo == adLockReadOnly) soloLectura();
  if (modo_ == 0) return;
  if (!cn)
    errorPropio(kErrorConexionCerrada,
                QStringLiteral("La conexión no se puede usar para realizar esta operación. Está cerrada o no es "
                               "válida en este contexto."));
  Enlace& enlace = cn->abierta(true);
  if (tabla_.isEmpty())
    fallarCon(errores(), kErrorGeneral,
              QStringLiteral("Información de tabla base insuficiente para actualizar o renovar."), kOrigen);
  const size_t n = columnas_.size();
  std::vector<vb::Variant> parametros;

  if (modo_ == 1) {
    Fila& fila = filas_[static_cast<size_t>(pos_)];
    QString set, donde;
    for (size_t i = 0; i < n; ++i) {
      if (!cambiados_[i]) continue;
      set +=
          (set.isEmpty() ? QString() : QStringLiteral(", ")) + citar(columnas_[i].columnaBase) + QStringLiteral(" = ?");
      parametros.push_back(enlace.normalizar(nuevos_[i]));
    }
    if (set.isEmpty()) {
      modo_ = 0;
      return;
    }
    // Every column read must still hold what was read: someone else's change since then is a conflict.
    for (size_t i = 0; i < n; ++i) {
      if (!escribibles_[i] || !fila.conocidos[i] || !comparable(columnas_[i].tipo)) continue;
      donde += donde.isEmpty() ? QStringLiteral(" WHERE ") : QStringLiteral(" AND ");
      if (fila.originales[i].isNull() || fila.originales[i].isEmpty()) {
        donde += citar(columnas_[i].columnaBase) + QStringLiteral(" IS NULL");
      } else {
        donde += citar(columnas_[i].columnaBase) + QStringLiteral(" = ?") + enlace.comparacionExacta();
        parametros.push_back(fila.originales[i]);
      }
    }
    const long hechas = enlace.escribirFila(
        QStringLiteral("UPDATE ") + citar(tabla_) + QStringLiteral(" SET ") + set + donde, parametros);
    if (hechas == 0)
      fallarCon(errores(), kErrorFilaCambiada,
                QStringLiteral("No se encuentra la fila para actualizarla. Algunos valores pueden haber cambiado "
                               "desde la última vez que se leyó."),
                kOrigen);
    if (hechas > 1)
      fallarCon(errores(), kErrorGeneral,
                QStringLiteral("Información de columna clave insuficiente para actualizar o renovar: %1 filas "
                               "iguales; no se cambió ninguna.")
                    .arg(hechas),
                kOrigen);
    for (size_t i = 0; i < n; ++i) {
      if (!cambiados_[i]) continue;
      fila.valores[i] = nuevos_[i].isEmpty() ? vb::Variant::Null() : nuevos_[i];
      fila.originales[i] = enlace.normalizar(nuevos_[i]);
    }
    modo_ = 0;
    return;
  }

  // AddNew: the columns given; the others take their defaults.
  QString nombres, marcas;
  for (size_t i = 0; i < n; ++i) {
    if (!cambiados_[i]) continue;
    nombres += (nombres.isEmpty() ? QString() : QStringLiteral(", ")) + citar(columnas_[i].columnaBase);
    marcas += marcas.isEmpty() ? QStringLiteral("?") : QStringLiteral(", ?");
    parametros.push_back(enlace.normalizar(nuevos_[i]));
  }
  const QString sql = nombres.isEmpty()
                          ? QStringLiteral("INSERT INTO ") + citar(tabla_) + QStringLiteral(" DEFAULT VALUES")
                          : QStringLiteral("INSERT INTO ") + citar(tabla_) + QStringLiteral(" (") + nombres +
                                QStringLiteral(") VALUES (") + marcas + u')';
  const long hechas = enlace.escribirFila(sql, parametros);
  if (hechas != 1) fallarCon(errores(), kErrorGeneral, QStringLiteral("No se pudo agregar el registro."), kOrigen);
  Fila fila;
  fila.valores.assign(n, vb::Variant::Null());
  fila.originales.assign(n, vb::Variant::Null());
  fila.conocidos.assign(n, 0);
  std::vector<QString> bases;
  std::vector<size_t> indices;
  for (size_t i = 0; i < n; ++i)
    if (escribibles_[i]) {
      bases.push_back(columnas_[i].columnaBase);
      indices.push_back(i);
    }
  if (auto releida = enlace.releerInsertada(tabla_, bases)) {
    for (size_t k = 0; k < indices.size(); ++k) {
      fila.valores[indices[k]] = releida->valor(static_cast<int>(k));
      fila.originales[indices[k]] = releida->crudo(static_cast<int>(k));
      fila.conocidos[indices[k]] = 1;
    }
  } else {
    for (size_t i = 0; i < n; ++i) {
      if (!cambiados_[i]) continue;
      fila.valores[i] = nuevos_[i].isEmpty() ? vb::Variant::Null() : nuevos_[i];
      fila.originales[i] = enlace.normalizar(nuevos_[i]);
      fila.conocidos[i] = 1;
    }
  }
  filas_.push_back(std::move(fila));
  pos_ = cantidad() - 1;
  modo_ = 0;
}

}  // namespace detalle

// ---- Recordset ----

Recordset::Recordset() : impl_(std::make_unique<detalle::RecordsetImpl>()) {}
Recordset::~Recordset() = default;
Recordset::Recordset(Recordset&&) noexcept = default;
Recordset& Recordset::operator=(Recordset&&) noexcept = default;

void Recordset::Open(const QString& origen, const Connection& conexion, long tipoCursor, long tipoBloqueo,
                     long opciones) {
  auto cn = conexion.impl();
  impl_->abrir(origen, cn, tipoCursor, tipoBloqueo, opciones, ubicacion_ ? ubicacion_ : cn->ubicacion);
}

void Recordset::Open(const QString& origen, const Connection& conexion, const std::vector<vb::Variant>& parametros,
                     long tipoCursor, long tipoBloqueo, long opciones) {
  auto cn = conexion.impl();
  impl_->abrir(origen, cn, tipoCursor, tipoBloqueo, opciones, ubicacion_ ? ubicacion_ : cn->ubicacion, parametros);
}

void Recordset::Close() { impl_->cerrar(); }
ObjectStateEnum Recordset::State() const { return impl_->abierto ? adStateOpen : adStateClosed; }
void Recordset::Cancel() {
  if (impl_->cn && impl_->cn->enlace) impl_->cn->enlace->cancelar();
}
bool Recordset::BOF() const { return impl_->bof(); }
bool Recordset::EOF() const { return impl_->eof(); }
void Recordset::MoveFirst() { impl_->moverPrimero(); }
void Recordset::MoveNext() { impl_->moverSiguiente(); }
void Recordset::MovePrevious() { impl_->moverAnterior(); }
void Recordset::MoveLast() { impl_->moverUltimo(); }
long Recordset::RecordCount() const { return impl_->cantidadRegistros(); }
std::vector<std::vector<vb::Variant>> Recordset::GetRows(long filas) { return impl_->obtenerFilas(filas); }
void Recordset::AddNew() { impl_->agregarNuevo(); }
void Recordset::Update() { impl_->actualizar(); }
void Recordset::CancelUpdate() {
  if (!impl_->abierto)
    detalle::errorPropio(kErrorCerrado,
                         QStringLiteral("No se permite realizar esta operación si el objeto está cerrado."));
  impl_->cancelarActualizacion();
}
long Recordset::EditMode() const { return impl_->modo(); }
Fields& Recordset::fields() const { return impl_->campos; }
long Recordset::CursorType() const { return impl_->tipoCursor; }
long Recordset::LockType() const { return impl_->tipoBloqueo; }
long Recordset::CursorLocation() const {
  return impl_->abierto ? impl_->ubicacion : (ubicacion_ ? ubicacion_ : adUseServer);
}
void Recordset::setCursorLocation(long ubicacion) {
  if (ubicacion != adUseServer && ubicacion != adUseClient)
    throw vb::Error(kErrorArgumentos,
                    QStringLiteral("Los argumentos son del tipo incorrecto, están fuera del intervalo aceptable o "
                                   "están en conflicto con otros."),
                    QStringLiteral("ADODB.Recordset"));
  ubicacion_ = ubicacion;
}
QString Recordset::Source() const { return impl_->origen; }
Connection Recordset::ActiveConnection() const { return impl_->cn ? Connection(impl_->cn) : Connection(); }

Recordset Recordset::desdeFilas(const Connection& conexion, std::vector<QString> nombres,
                                std::vector<DataTypeEnum> tipos, std::vector<long> tamanos,
                                std::vector<std::vector<vb::Variant>> filas) {
  std::vector<detalle::Columna> columnas(nombres.size());
  for (size_t i = 0; i < nombres.size(); ++i) {
    columnas[i].nombre = nombres[i];
    columnas[i].tipo = tipos[i];
    columnas[i].tamano = tamanos[i];
  }
  std::vector<detalle::RecordsetImpl::Fila> f(filas.size());
  for (size_t i = 0; i < filas.size(); ++i) f[i].valores = std::move(filas[i]);
  Recordset rs;
  rs.impl_->abrirFilas(conexion.impl(), std::move(columnas), std::move(f));
  return rs;
}

}  // namespace ado
