#include "services/parametros.h"

#include "platform/vb/strings.h"
#include "suite/util_general.h"

namespace ModGlobal {

QString ValorParametro(const QString& texto, const QString& clave, bool* hallada) {
  const long pos = vb::InStr(texto, clave, vb::vbTextCompare);
  if (hallada) *hallada = pos > 0;
  if (pos == 0) return {};
  const long inicio = pos + vb::Len(clave);
  const long fin = vb::InStr(pos, texto, QStringLiteral(";"));
  const QString bruto = fin > 0 ? vb::Mid(texto, inicio, fin - inicio) : vb::Mid(texto, inicio);
  return vb::Trim(ZepaKit2::util().QuitarTexto(bruto, QStringLiteral("=")));
}

QString NombreServidor(const QString& servidor) {
  QString nombre = servidor;
  const long barra = vb::InStr(nombre, QStringLiteral("/"));
  if (barra > 0) nombre = vb::Mid(nombre, barra + 1);
  const long puertos = vb::InStr(nombre, QStringLiteral(":"));
  if (puertos > 0) nombre = vb::Left(nombre, puertos - 1);
  return nombre;
}

}  // namespace ModGlobal
