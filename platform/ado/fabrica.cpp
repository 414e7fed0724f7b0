// The provider a connection string names, and the driver behind it.
#include <QDir>

#include "platform/ado/cadena_conexion.h"
#include "platform/ado/conexion_impl.h"
#include "platform/ado/odbc/enlace_odbc.h"
#include "platform/ado/servidores.h"
#include "platform/ado/sqlite/enlace_sqlite.h"

namespace ado::detalle {

namespace {

bool empieza(const QString& proveedor, const char* nombre) {
  return proveedor.startsWith(QLatin1String(nombre), Qt::CaseInsensitive);
}

QString llaves(const QString& v) { return v.startsWith(u'{') ? v : u'{' + v + u'}'; }

// "Driver" etc. appended only when the attributes do not already carry them.
void agregar(QString& atributos, const char* clave, const QString& valor) {
  if (valor.isEmpty()) return;
  const auto dados = CadenaConexion::analizar(atributos);
  if (dados.tiene({clave})) return;
  if (!atributos.isEmpty() && !atributos.endsWith(u';')) atributos += u';';
  const bool conLlaves = valor.contains(u';') || valor.contains(u'}') || valor.contains(u'{');
  atributos += QLatin1String(clave) + u'=' +
               (conLlaves ? u'{' + QString(valor).replace(u'}', QStringLiteral("}}")) + u'}' : valor) + u';';
}

QString controladorSqlServer() {
  const QString configurado = controlador(QStringLiteral("SQLServer"));
  if (!configurado.isEmpty()) return configurado;
  const QStringList instalados = controladoresOdbc();
  for (const QString& c : instalados)
    if (c.compare(QLatin1String("ODBC Driver 18 for SQL Server"), Qt::CaseInsensitive) == 0) return c;
  return QStringLiteral("FreeTDS");
}

}  // namespace

std::unique_ptr<Enlace> abrirEnlace(ConexionImpl& cn, const QString& texto, const QString& usuarioDado,
                                    const QString& claveDada) {
  const CadenaConexion cadena = CadenaConexion::analizar(texto);
  const QString proveedor = cadena.valor({"Provider"});
  QString usuario =
      usuarioDado.isEmpty() ? cadena.valor({"User Id", "UId", "User", "UserId", "User Name"}) : usuarioDado;
  QString clave = claveDada.isEmpty() ? cadena.valor({"Password", "Pwd"}) : claveDada;
  Errors& errores = cn.errores;

  if (empieza(proveedor, "SQLOLEDB") || empieza(proveedor, "SQLNCLI") || empieza(proveedor, "MSOLEDBSQL")) {
    const QString servidor = cadena.valor({"Server", "Data Source", "Address", "Addr", "Network Address"});
    QString base = cadena.valor({"Database", "Initial Catalog"});
    if (base.isEmpty()) base = cn.baseDatos;
    if (const auto alias = aliasServidor(servidor)) {
      if (alias->tipo == AliasServidor::Sqlite) return abrirSqliteCarpeta(errores, alias->valor, base);
      QString atributos = alias->valor;
      agregar(atributos, "Database", base);
      agregar(atributos, "UID", usuario);
      agregar(atributos, "PWD", clave);
      return abrirOdbc(errores, atributos, QStringLiteral("SQLOLEDB"), cn.tiempoConexion);
    }
    const QString driver = controladorSqlServer();
    QString host = servidor.trimmed();
    QString atributos = QStringLiteral("Driver=") + llaves(driver) + u';';
    if (driver.contains(QLatin1String("FreeTDS"), Qt::CaseInsensitive)) {
      // FreeTDS takes the port apart; the server's own drivers take "host,port".
      const qsizetype coma = host.indexOf(u',');
      if (coma >= 0) {
        agregar(atributos, "Server", host.left(coma).trimmed());
        agregar(atributos, "Port", host.mid(coma + 1).trimmed());
      } else {
        agregar(atributos, "Server", host);
        if (!host.contains(u'\\')) agregar(atributos, "Port", QStringLiteral("1433"));
      }
      agregar(atributos, "TDS_Version", QStringLiteral("7.4"));
      agregar(atributos, "ClientCharset", QStringLiteral("UTF-8"));
    } else {
      agregar(atributos, "Server", host);
      agregar(atributos, "TrustServerCertificate", QStringLiteral("yes"));
    }
    agregar(atributos, "Database", base);
    agregar(atributos, "UID", usuario);
    agregar(atributos, "PWD", clave);
    return abrirOdbc(errores, atributos, QStringLiteral("SQLOLEDB"), cn.tiempoConexion);
  }

  if (empieza(proveedor, "OraOLEDB") || empieza(proveedor, "MSDAORA")) {
    const QString origen = cadena.valor({"Data Source"});
    QString atributos;
    const auto alias = aliasServidor(origen);
    if (alias && alias->tipo == AliasServidor::Odbc) {
      atributos = alias->valor;
    } else {
      atributos =
          QStringLiteral("Driver=") + llaves(controlador(QStringLiteral("Oracle"), QStringLiteral("Oracle"))) + u';';
      agregar(atributos, "DBQ", origen);
    }
    agregar(atributos, "UID", usuario);
    agregar(atributos, "PWD", clave);
    return abrirOdbc(errores, atributos, proveedor, cn.tiempoConexion);
  }

  if (empieza(proveedor, "Microsoft.Jet.OLEDB") || empieza(proveedor, "Microsoft.ACE.OLEDB"))
    return abrirSqliteArchivo(errores, cadena.valor({"Data Source"}), proveedor,
                              cadena.valor({"Jet OLEDB:Database Password"}));

  if (proveedor.isEmpty() || empieza(proveedor, "MSDASQL")) {
    // ODBC as it is: the attributes without the provider.
    QString atributos = cadena.sin({"Provider"});
    if (!usuarioDado.isEmpty()) agregar(atributos, "UID", usuarioDado);
    if (!claveDada.isEmpty()) agregar(atributos, "PWD", claveDada);
    if (atributos.trimmed().isEmpty())
      fallarCon(errores, kErrorGeneral,
                QStringLiteral("No se encontró el nombre del origen de datos y no se especificó ningún controlador "
                               "predeterminado."),
                QStringLiteral("ADODB.Connection"), QStringLiteral("IM002"), 0);
    return abrirOdbc(errores, atributos, QStringLiteral("MSDASQL"), cn.tiempoConexion);
  }

  fallarCon(errores, kErrorProveedor,
            QStringLiteral("No se encuentra el proveedor \"%1\". Es posible que no esté instalado correctamente.")
                .arg(proveedor),
            QStringLiteral("ADODB.Connection"));
}

}  // namespace ado::detalle
