// The workstation settings file: whatever the file holds, reading answers a
// value or the default, and setting one key keeps every other key readable
// as it was, while a refused value leaves the file byte for byte.
#include <QStringList>
#include <utility>
#include <vector>

#include "fuzz/apoyo.h"
#include "platform/ado/servidores.h"
#include "platform/vb/error.h"
#include "suite/archivo_ini.h"
#include "suite/util_general.h"

namespace {

QByteArray leer(const QString& ruta) {
  QFile f(ruta);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Sections and keys the file seems to name, read the simple way; the reader
// may see them differently, which the comparison below does not mind.
std::vector<std::pair<QString, QString>> sondas(const QString& texto) {
  std::vector<std::pair<QString, QString>> r;
  QString seccion;
  for (const QString& l : texto.split(QLatin1Char('\n'))) {
    const QString t = l.trimmed();
    if (t.startsWith(QLatin1Char('['))) {
      seccion = t.mid(1).section(QLatin1Char(']'), 0, 0);
    } else if (t.contains(QLatin1Char('='))) {
      r.emplace_back(seccion, t.section(QLatin1Char('='), 0, 0));
    }
    if (r.size() >= 12) break;
  }
  r.emplace_back(QStringLiteral("Iconos"), QStringLiteral("Otro"));
  return r;
}

// A cut text must not start or end inside a surrogate pair, which no file
// could hold.
QString entero(QString t) {
  if (!t.isEmpty() && t.front().isLowSurrogate()) t.remove(0, 1);
  if (!t.isEmpty() && t.back().isHighSurrogate()) t.chop(1);
  return t;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* datos, size_t largo) {
  const auto& ini = ZepaKit2::archivoIni();
  const auto& u = ZepaKit2::util();
  const QByteArray contenido = fuzz::bytes(datos, largo);
  const QString ruta = fuzz::escribir(QStringLiteral("CN000pr.INI"), contenido);
  const QString texto = QString::fromUtf8(contenido);
  const QString seccion = QStringLiteral("Iconos"), clave = QStringLiteral("IconoDelSistema");
  const QString def = QStringLiteral("<predeterminado>");

  const auto probadas = sondas(texto);
  std::vector<QString> antes;
  for (const auto& [s, k] : probadas) {
    antes.push_back(ini.LeerIni(ruta, s, k, def));
    (void)ado::detalle::leerIni(ruta, s, k);
  }
  (void)u.Decodificar(ini.LeerIni(ruta, QStringLiteral("X|YBaseDeDatos"), QStringLiteral("Usuario"), QString()));

  // The tail of the input is the value to store: with a line break it is
  // refused and nothing may change; otherwise it must read back exactly.
  const QString valor = entero(texto.right(24));
  const bool conSalto = valor.contains(QLatin1Char('\n')) || valor.contains(QLatin1Char('\r'));
  try {
    ini.EscribirIni(ruta, seccion, clave, valor);
    KV_FUZZ_CHECK(!conSalto, "se guardó un valor con salto de línea");
  } catch (const vb::Error& e) {
    KV_FUZZ_CHECK(conSalto && e.Number() == vb::kInvalidProcedureCall, "error %ld al guardar: %s", e.Number(),
                  qPrintable(e.Description()));
    KV_FUZZ_CHECK(leer(ruta) == contenido, "un valor rechazado cambió el archivo");
    return 0;
  }
  const QString leido = ini.LeerIni(ruta, seccion, clave, def);
  KV_FUZZ_CHECK(leido == valor, "guardado [%s] leído [%s]", qPrintable(valor), qPrintable(leido));
  for (size_t i = 0; i < probadas.size(); ++i) {
    const auto& [s, k] = probadas[i];
    if (s.trimmed().compare(seccion, Qt::CaseInsensitive) == 0 && k.trimmed().compare(clave, Qt::CaseInsensitive) == 0)
      continue;
    const QString despues = ini.LeerIni(ruta, s, k, def);
    KV_FUZZ_CHECK(despues == antes[i], "[%s] %s era [%s] y quedó [%s]", qPrintable(s), qPrintable(k),
                  qPrintable(antes[i]), qPrintable(despues));
  }

  // Stored user names and passwords are encoded; the pair must be inverse.
  const QString plano = entero(texto.left(40));
  KV_FUZZ_CHECK(u.Decodificar(u.Codificar(plano)) == plano, "Codificar/Decodificar no son inversas");
  return 0;
}
