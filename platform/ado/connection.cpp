#include "platform/ado/connection.h"

#include "platform/ado/cadena_conexion.h"
#include "platform/ado/conexion_impl.h"
#include "platform/ado/recordset.h"
#include "platform/ado/recordset_impl.h"
#include "platform/ado/tipos.h"
#include "platform/vb/error.h"
#include "platform/vb/traza.h"

namespace ado {

namespace detalle {

Enlace& ConexionImpl::abierta(bool paraRecordset) {
  if (enlace) return *enlace;
  if (paraRecordset)
    throw vb::Error(kErrorConexionCerrada,
                    QStringLiteral("La conexión no se puede usar para realizar esta operación. Está cerrada o no es "
                                   "válida en este contexto."),
                    QStringLiteral("ADODB.Recordset"));
  throw vb::Error(kErrorCerrado, QStringLiteral("No se permite realizar esta operación si el objeto está cerrado."),
                  QStringLiteral("ADODB.Connection"));
}

ConexionImpl::~ConexionImpl() {
  for (RecordsetImpl* rs : std::vector<RecordsetImpl*>(recordsets)) rs->alCerrarConexion();
  if (enlace && nivelTransaccion > 0) {
    // Nobody committed it: the work is undone, as the server does when a session ends.
    try {
      enlace->deshacer();
    } catch (const vb::Error& e) {
      vb::registrar({traza::platform(), "Connection.Close"}, e, u"la transacción no se pudo deshacer");
    } catch (...) {}
  }
}

}  // namespace detalle

namespace {

const QString kOrigen = QStringLiteral("ADODB.Connection");

[[noreturn]] void argumentoMalo() {
  throw vb::Error(kErrorArgumentos,
                  QStringLiteral("Los argumentos son del tipo incorrecto, están fuera del intervalo aceptable o están "
                                 "en conflicto con otros."),
                  kOrigen);
}

QString texto(const vb::Variant& v) {
  if (v.isNull() || v.isEmpty()) return {};
  if (const auto* s = v.get<QString>()) return s->trimmed();
  return v.toText().trimmed();
}

// Empty, Null and "" restrict nothing; a value the driver leaves blank passes too.
bool pasa(const std::vector<vb::Variant>& restricciones, size_t i, const QString& valor) {
  if (i >= restricciones.size()) return true;
  const QString r = texto(restricciones[i]);
  return r.isEmpty() || valor.isEmpty() || r.compare(valor.trimmed(), Qt::CaseInsensitive) == 0;
}

bool pasaNombre(const std::vector<vb::Variant>& restricciones, size_t i, const QString& valor) {
  if (i >= restricciones.size()) return true;
  const QString r = texto(restricciones[i]);
  return r.isEmpty() || r.compare(valor.trimmed(), Qt::CaseInsensitive) == 0;
}

vb::Variant textoONulo(const QString& s) { return s.isEmpty() ? vb::Variant::Null() : vb::Variant(s); }

// Every password a connection is opened with is kept out of the error trace.
void ocultarClaves(const QString& cadena, const QString& clave) {
  vb::ocultarEnTraza(clave);
  try {
    const auto leida = detalle::CadenaConexion::analizar(cadena);
    for (const auto& [nombre, valor] : leida.pares())
      if (nombre.contains(QLatin1String("password"), Qt::CaseInsensitive) ||
          nombre.compare(QLatin1String("pwd"), Qt::CaseInsensitive) == 0)
        vb::ocultarEnTraza(valor);
  } catch (const vb::Error&) {
    // A string that cannot be read is refused by the open itself.
  }
}

void aislamientoDelControlador(const char* rutina, const vb::Error& e) {
  vb::registrar({traza::platform(), rutina}, e, u"queda el nivel de aislamiento del controlador");
}

}  // namespace

Connection::Connection() : impl_(std::make_shared<detalle::ConexionImpl>()) {}
Connection::~Connection() = default;

void Connection::Open(const QString& cadena, const QString& usuario, const QString& clave, long) {
  if (impl_->enlace)
    throw vb::Error(kErrorAbierto, QStringLiteral("No se permite realizar esta operación si el objeto está abierto."),
                    kOrigen);
  const QString usada = cadena.trimmed().isEmpty() ? impl_->cadena : cadena;
  ocultarClaves(usada, clave);
  try {
    auto enlace = detalle::abrirEnlace(*impl_, usada, usuario, clave);
    enlace->setTiempoComando(impl_->tiempoComando);
    if (impl_->espera) enlace->setEnEspera(impl_->espera);
    // The level takes effect where the driver has it; where it has not, the driver's own stays.
    try {
      enlace->setAislamiento(impl_->aislamiento);
    } catch (const vb::Error& e) {
      aislamientoDelControlador("Connection.Open", e);
    }
    impl_->enlace = std::move(enlace);
  } catch (const vb::Error& e) {
    // Failures of our own (a bad string, an unknown provider) are listed as well.
    if (impl_->errores.Count() == 0) impl_->errores.agregar(Error(e.Number(), e.Description(), e.Source(), {}, 0));
    throw;
  }
  impl_->cadena = usada;
  impl_->nivelTransaccion = 0;
}

void Connection::Close() {
  detalle::Enlace& enlace = impl_->abierta();
  (void)enlace;
  if (impl_->nivelTransaccion > 0)
    throw vb::Error(3246,
                    QStringLiteral("No se puede cerrar explícitamente el objeto Connection mientras está en una "
                                   "transacción."),
                    kOrigen);
  for (detalle::RecordsetImpl* rs : std::vector<detalle::RecordsetImpl*>(impl_->recordsets)) rs->alCerrarConexion();
  impl_->recordsets.clear();
  impl_->enlace.reset();
}

ObjectStateEnum Connection::State() const { return impl_->enlace ? adStateOpen : adStateClosed; }

void Connection::Execute(const QString& sql, long& registrosAfectados, long) {
  registrosAfectados = impl_->abierta().ejecutar(sql);
}

void Connection::Execute(const QString& sql) {
  long n = 0;
  Execute(sql, n);
}

void Connection::Cancel() {
  if (impl_->enlace) impl_->enlace->cancelar();
}

void Connection::setEnEspera(std::function<void()> espera) {
  impl_->espera = std::move(espera);
  if (impl_->enlace) impl_->enlace->setEnEspera(impl_->espera);
}

long Connection::BeginTrans() {
  detalle::Enlace& enlace = impl_->abierta();
  if (impl_->nivelTransaccion > 0)
    detalle::fallarCon(impl_->errores, kErrorTransaccionActiva,
                       QStringLiteral("Sólo puede haber una transacción activa en esta sesión."), kOrigen);
  enlace.iniciarTransaccion();
  impl_->nivelTransaccion = 1;
  return 1;
}

void Connection::CommitTrans() {
  detalle::Enlace& enlace = impl_->abierta();
  if (impl_->nivelTransaccion == 0)
    detalle::fallarCon(impl_->errores, kErrorSinTransaccion, QStringLiteral("No hay ninguna transacción activa."),
                       kOrigen);
  enlace.confirmar();
  impl_->nivelTransaccion = 0;
}

void Connection::RollbackTrans() {
  detalle::Enlace& enlace = impl_->abierta();
  if (impl_->nivelTransaccion == 0)
    detalle::fallarCon(impl_->errores, kErrorSinTransaccion, QStringLiteral("No hay ninguna transacción activa."),
                       kOrigen);
  impl_->nivelTransaccion = 0;
  enlace.deshacer();
}

Recordset Connection::OpenSchema(long esquema, const std::vector<vb::Variant>& r) {
  detalle::Enlace& enlace = impl_->abierta();
  std::vector<std::vector<vb::Variant>> filas;
  if (esquema == adSchemaTables) {
    for (const auto& t : enlace.tablas()) {
      if (!pasa(r, 0, t.catalogo) || !pasa(r, 1, t.esquema) || !pasaNombre(r, 2, t.nombre) || !pasaNombre(r, 3, t.tipo))
        continue;
      filas.push_back({textoONulo(t.catalogo), textoONulo(t.esquema), vb::Variant(t.nombre), vb::Variant(t.tipo),
                       vb::Variant::Null(), vb::Variant::Null()});
    }
    return Recordset::desdeFilas(
        *this,
        {QStringLiteral("TABLE_CATALOG"), QStringLiteral("TABLE_SCHEMA"), QStringLiteral("TABLE_NAME"),
         QStringLiteral("TABLE_TYPE"), QStringLiteral("TABLE_GUID"), QStringLiteral("DESCRIPTION")},
        {adVarWChar, adVarWChar, adVarWChar, adVarWChar, adGUID, adVarWChar}, {128, 128, 128, 128, 16, 255},
        std::move(filas));
  }
  if (esquema == adSchemaColumns) {
    const QString tabla = r.size() > 2 ? texto(r[2]) : QString();
    for (const auto& c : enlace.columnas(tabla)) {
      if (!pasa(r, 0, c.catalogo) || !pasa(r, 1, c.esquema) || !pasaNombre(r, 2, c.tabla) ||
          !pasaNombre(r, 3, c.nombre))
        continue;
      filas.push_back(
          {textoONulo(c.catalogo), textoONulo(c.esquema), vb::Variant(c.tabla), vb::Variant(c.nombre),
           vb::Variant(static_cast<std::int32_t>(c.ordinal)), vb::Variant(c.tieneDefecto), c.defecto,
           vb::Variant(c.admiteNulos), vb::Variant(static_cast<std::int32_t>(c.tipo)),
           detalle::esTexto(c.tipo) ? vb::Variant(static_cast<std::int32_t>(c.tamano)) : vb::Variant::Null()});
    }
    return Recordset::desdeFilas(
        *this,
        {QStringLiteral("TABLE_CATALOG"), QStringLiteral("TABLE_SCHEMA"), QStringLiteral("TABLE_NAME"),
         QStringLiteral("COLUMN_NAME"), QStringLiteral("ORDINAL_POSITION"), QStringLiteral("COLUMN_HASDEFAULT"),
         QStringLiteral("COLUMN_DEFAULT"), QStringLiteral("IS_NULLABLE"), QStringLiteral("DATA_TYPE"),
         QStringLiteral("CHARACTER_MAXIMUM_LENGTH")},
        {adVarWChar, adVarWChar, adVarWChar, adVarWChar, adInteger, adBoolean, adVarWChar, adBoolean, adSmallInt,
         adInteger},
        {128, 128, 128, 128, 4, 2, 255, 2, 2, 4}, std::move(filas));
  }
  detalle::fallarCon(impl_->errores, kErrorNoActualizable,
                     QStringLiteral("El proveedor no admite el conjunto de filas de esquema %1.").arg(esquema),
                     kOrigen);
}

QString Connection::ConnectionString() const { return impl_->cadena; }

void Connection::setConnectionString(const QString& cadena) {
  if (impl_->enlace)
    throw vb::Error(kErrorAbierto, QStringLiteral("No se permite realizar esta operación si el objeto está abierto."),
                    kOrigen);
  impl_->cadena = cadena;
}

long Connection::CommandTimeout() const { return impl_->tiempoComando; }

void Connection::setCommandTimeout(long segundos) {
  if (segundos < 0) argumentoMalo();
  if (impl_->enlace) impl_->enlace->setTiempoComando(segundos);
  impl_->tiempoComando = segundos;
}

long Connection::ConnectionTimeout() const { return impl_->tiempoConexion; }

void Connection::setConnectionTimeout(long segundos) {
  if (segundos < 0) argumentoMalo();
  impl_->tiempoConexion = segundos;
}

long Connection::IsolationLevel() const { return impl_->aislamiento; }

void Connection::setIsolationLevel(long nivel) {
  switch (nivel) {
    case adXactUnspecified:
    case adXactReadUncommitted:
    case adXactReadCommitted:
    case adXactRepeatableRead:
    case adXactSerializable: break;
    default: argumentoMalo();
  }
  if (impl_->enlace) {
    try {
      impl_->enlace->setAislamiento(nivel);
    } catch (const vb::Error& e) {
      aislamientoDelControlador("Connection.IsolationLevel", e);
    }
  }
  impl_->aislamiento = nivel;
}

QString Connection::DefaultDatabase() const { return impl_->enlace ? impl_->enlace->baseDatos() : impl_->baseDatos; }

void Connection::setDefaultDatabase(const QString& nombre) {
  if (impl_->enlace) {
    if (impl_->nivelTransaccion > 0 && nombre.trimmed().compare(impl_->enlace->baseDatos(), Qt::CaseInsensitive) != 0)
      detalle::fallarCon(impl_->errores, kErrorGeneral,
                         QStringLiteral("No se puede cambiar de base de datos durante una transacción."), kOrigen);
    impl_->enlace->setBaseDatos(nombre);
  }
  impl_->baseDatos = nombre.trimmed();
}

long Connection::CursorLocation() const { return impl_->ubicacion; }

void Connection::setCursorLocation(long ubicacion) {
  if (ubicacion != adUseServer && ubicacion != adUseClient) argumentoMalo();
  impl_->ubicacion = ubicacion;
}

QString Connection::Provider() const {
  if (impl_->enlace) return impl_->enlace->proveedor();
  try {
    const QString p = detalle::CadenaConexion::analizar(impl_->cadena).valor({"Provider"});
    return p.isEmpty() ? QStringLiteral("MSDASQL") : p;
  } catch (const vb::Error&) {
    return QStringLiteral("MSDASQL");
  }
}

Errors& Connection::errors() { return impl_->errores; }
const Errors& Connection::errors() const { return impl_->errores; }

}  // namespace ado
