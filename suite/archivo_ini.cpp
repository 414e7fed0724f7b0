#include "suite/archivo_ini.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QStringList>

#include "platform/ctx/programa.h"
#include "platform/vb/archivos.h"
#include "platform/vb/error.h"

namespace ZepaKit2 {

namespace {

struct Contenido {
  QStringList lineas;
  bool crlf = false;
};

bool leerArchivo(const QString& ruta, Contenido& c) {
  QFile f(ruta);
  if (!f.open(QIODevice::ReadOnly)) return false;
  QByteArray bytes = f.readAll();
  if (bytes.startsWith("\xEF\xBB\xBF")) bytes.remove(0, 3);
  QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);  // the mark is gone already
  QString texto = utf8.decode(bytes);
  if (utf8.hasError()) texto = QString::fromLatin1(bytes);
  c.crlf = texto.contains(QStringLiteral("\r\n"));
  texto.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  texto.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  c.lineas = texto.split(QLatin1Char('\n'));
  if (!c.lineas.isEmpty() && c.lineas.last().isEmpty()) c.lineas.removeLast();
  return true;
}

// A section header's name, or a null string when the line is not one.
QString seccionDe(const QString& linea) {
  const QString t = linea.trimmed();
  if (!t.startsWith(QLatin1Char('['))) return {};
  const qsizetype fin = t.indexOf(QLatin1Char(']'));
  const QString nombre = (fin < 0 ? t.mid(1) : t.mid(1, fin - 1)).trimmed();
  return nombre.isNull() ? QStringLiteral("") : nombre;
}

bool esComentario(const QString& linea) {
  const QString t = linea.trimmed();
  return t.isEmpty() || t.startsWith(QLatin1Char(';'));
}

// Splits "clave = valor"; false for a line without "=" or with no key.
bool claveValor(const QString& linea, QString& clave, QString& valor) {
  if (esComentario(linea) || !seccionDe(linea).isNull()) return false;
  const qsizetype igual = linea.indexOf(QLatin1Char('='));
  if (igual < 0) return false;
  clave = linea.left(igual).trimmed();
  if (clave.isEmpty()) return false;
  valor = linea.mid(igual + 1).trimmed();
  if (valor.size() >= 2) {
    const QChar a = valor.front();
    if ((a == QLatin1Char('"') || a == QLatin1Char('\'')) && valor.back() == a) valor = valor.mid(1, valor.size() - 2);
  }
  return true;
}

// The line index of the first occurrence of the key in any section of that
// name, or -1. primeraSeccion receives the first such header's index (or -1).
qsizetype buscarClave(const QStringList& lineas, const QString& seccion, const QString& clave,
                      qsizetype* primeraSeccion = nullptr) {
  bool dentro = false;
  if (primeraSeccion) *primeraSeccion = -1;
  for (qsizetype i = 0; i < lineas.size(); ++i) {
    const QString s = seccionDe(lineas[i]);
    if (!s.isNull()) {
      dentro = s.compare(seccion, Qt::CaseInsensitive) == 0;
      if (dentro && primeraSeccion && *primeraSeccion < 0) *primeraSeccion = i;
      continue;
    }
    if (!dentro) continue;
    QString k, v;
    if (claveValor(lineas[i], k, v) && k.compare(clave, Qt::CaseInsensitive) == 0) return i;
  }
  return -1;
}

bool tieneSalto(const QString& t) { return t.contains(QLatin1Char('\n')) || t.contains(QLatin1Char('\r')); }

}  // namespace

QString ArchivoIni::RutaIni(const QString& archivo) const {
  const QString nombre = archivo.trimmed();
  QString ruta = nombre.contains(QLatin1Char('/')) ? nombre : ctx::actual().carpetaConfiguracion() + nombre;
  const QFileInfo info(ruta);
  if (info.exists() || info.fileName().isEmpty()) return ruta;
  const QDir carpeta = info.dir();
  const QStringList entradas = carpeta.entryList(QDir::Files | QDir::Hidden | QDir::System);
  for (const QString& e : entradas)
    if (e.compare(info.fileName(), Qt::CaseInsensitive) == 0) return carpeta.filePath(e);
  return ruta;
}

QString ArchivoIni::LeerIni(const QString& archivo, const QString& seccion, const QString& clave,
                            const QString& predeterminado) const {
  const QString s = seccion.trimmed();
  const QString k = clave.trimmed();
  if (k.isEmpty()) return predeterminado;
  Contenido c;
  if (!leerArchivo(RutaIni(archivo), c)) return predeterminado;
  const qsizetype i = buscarClave(c.lineas, s, k);
  if (i < 0) return predeterminado;
  QString nombre, valor;
  claveValor(c.lineas[i], nombre, valor);
  return valor;
}

void ArchivoIni::EscribirIni(const QString& archivo, const QString& seccion, const QString& clave,
                             const QString& valor) const {
  const QString s = seccion.trimmed();
  const QString k = clave.trimmed();
  if (s.isEmpty() || s.contains(QLatin1Char(']')) || tieneSalto(s) || k.isEmpty() || k.contains(QLatin1Char('=')) ||
      k.startsWith(QLatin1Char(';')) || k.startsWith(QLatin1Char('[')) || tieneSalto(k) || tieneSalto(valor))
    throw vb::Error(vb::kInvalidProcedureCall, {}, QStringLiteral("EscribirIni"));

  const QString ruta = RutaIni(archivo);
  Contenido c;
  leerArchivo(ruta, c);  // a missing file starts empty

  // Quotes keep blanks at the ends, and quotes of the value's own, on reading.
  QString escrito = valor;
  if (escrito != escrito.trimmed() ||
      (escrito.size() >= 2 && (escrito.front() == QLatin1Char('"') || escrito.front() == QLatin1Char('\'')) &&
       escrito.back() == escrito.front()))
    escrito = QLatin1Char('"') + escrito + QLatin1Char('"');
  const QString linea = k + QLatin1Char('=') + escrito;

  qsizetype cabecera = -1;
  const qsizetype existente = buscarClave(c.lineas, s, k, &cabecera);
  if (existente >= 0) {
    c.lineas[existente] = linea;
  } else if (cabecera >= 0) {
    // After the section's last entry, before the blanks that end it.
    qsizetype fin = cabecera + 1;
    while (fin < c.lineas.size() && seccionDe(c.lineas[fin]).isNull()) ++fin;
    while (fin > cabecera + 1 && c.lineas[fin - 1].trimmed().isEmpty()) --fin;
    c.lineas.insert(fin, linea);
  } else {
    if (!c.lineas.isEmpty() && !c.lineas.last().trimmed().isEmpty()) c.lineas.append(QString());
    c.lineas.append(QLatin1Char('[') + s + QLatin1Char(']'));
    c.lineas.append(linea);
  }

  const QString fin = c.crlf ? QStringLiteral("\r\n") : QStringLiteral("\n");
  QDir().mkpath(QFileInfo(ruta).absolutePath());
  // Replaced as a whole, and only where a regular file (or nothing) stands.
  try {
    vb::reemplazarArchivo(ruta, (c.lineas.join(fin) + fin).toUtf8());
  } catch (vb::Error& e) {
    e.setSource(QStringLiteral("EscribirIni"));
    throw;
  }
}

ArchivoIni& archivoIni() { return ctx::actual().instancia<ArchivoIni>(); }

}  // namespace ZepaKit2
