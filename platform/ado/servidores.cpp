#include "platform/ado/servidores.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include "platform/ado/constantes.h"
#include "platform/ctx/programa.h"
#include "platform/vb/error.h"

namespace ado::detalle {

std::optional<QString> leerIni(const QString& archivo, const QString& seccion, const QString& clave) {
  QFile f(archivo);
  if (!f.open(QIODevice::ReadOnly)) return std::nullopt;
  const QByteArray bytes = f.readAll();
  // Files written on the suite's own workstations may be in Windows-1252.
  QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  QString texto = utf8(bytes);
  if (utf8.hasError()) texto = QString::fromLatin1(bytes);
  if (texto.startsWith(QChar(0xFEFF))) texto.remove(0, 1);

  bool enSeccion = false;
  const auto lineas = QStringView(texto).split(u'\n');
  for (QStringView linea : lineas) {
    linea = linea.trimmed();
    if (linea.isEmpty() || linea.startsWith(u';')) continue;
    if (linea.startsWith(u'[')) {
      const qsizetype cierre = linea.indexOf(u']');
      const QStringView nombre = linea.mid(1, cierre < 0 ? -1 : cierre - 1).trimmed();
      enSeccion = nombre.compare(seccion, Qt::CaseInsensitive) == 0;
      continue;
    }
    if (!enSeccion) continue;
    const qsizetype igual = linea.indexOf(u'=');
    if (igual < 0) continue;
    if (linea.left(igual).trimmed().compare(clave.trimmed(), Qt::CaseInsensitive) == 0)
      return linea.mid(igual + 1).trimmed().toString();
  }
  return std::nullopt;
}

QString archivoConfiguracion() {
  const QString carpeta = ctx::actual().carpetaConfiguracion();
  const QString nombre = QStringLiteral("CN000pr.INI");
  if (QFileInfo::exists(carpeta + nombre)) return carpeta + nombre;
  for (const QString& h : QDir(carpeta).entryList(QDir::Files))
    if (h.compare(nombre, Qt::CaseInsensitive) == 0) return carpeta + h;
  return carpeta + nombre;
}

std::optional<AliasServidor> aliasServidor(const QString& servidor) {
  if (servidor.trimmed().isEmpty()) return std::nullopt;
  const auto valor = leerIni(archivoConfiguracion(), QStringLiteral("Servidores"), servidor.trimmed());
  if (!valor) return std::nullopt;
  if (valor->startsWith(QLatin1String("sqlite:"), Qt::CaseInsensitive)) {
    QString carpeta = valor->mid(7).trimmed();
    // A relative folder is taken from the settings folder, not from wherever the program runs.
    if (!carpeta.isEmpty() && QDir::isRelativePath(carpeta)) carpeta = ctx::actual().carpetaConfiguracion() + carpeta;
    return AliasServidor{AliasServidor::Sqlite, carpeta};
  }
  if (valor->startsWith(QLatin1String("odbc:"), Qt::CaseInsensitive))
    return AliasServidor{AliasServidor::Odbc, valor->mid(5).trimmed()};
  // A mistyped alias must not quietly send the connection somewhere else.
  throw vb::Error(kErrorGeneral,
                  QStringLiteral("El alias del servidor \"%1\" en %2 debe empezar por \"sqlite:\" u \"odbc:\".")
                      .arg(servidor.trimmed(), archivoConfiguracion()),
                  QStringLiteral("ADODB.Connection"));
}

QString controlador(const QString& clave, const QString& porDefecto) {
  const auto valor = leerIni(archivoConfiguracion(), QStringLiteral("Controladores"), clave);
  return valor && !valor->isEmpty() ? *valor : porDefecto;
}

}  // namespace ado::detalle
