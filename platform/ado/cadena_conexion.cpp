#include "platform/ado/cadena_conexion.h"

#include "platform/ado/constantes.h"
#include "platform/vb/error.h"

namespace ado::detalle {

namespace {

[[noreturn]] void malFormada(const QString& detalle) {
  throw vb::Error(kErrorCadenaConexion,
                  QStringLiteral("El formato de la cadena de conexión no es válido: %1").arg(detalle),
                  QStringLiteral("ADODB.Connection"));
}

bool esClave(const QString& clave, std::initializer_list<const char*> claves) {
  for (const char* c : claves)
    if (clave.compare(QLatin1String(c), Qt::CaseInsensitive) == 0) return true;
  return false;
}

}  // namespace

CadenaConexion CadenaConexion::analizar(const QString& texto) {
  CadenaConexion resultado;
  const qsizetype n = texto.size();
  qsizetype i = 0;
  while (i < n) {
    // Key: up to "=" (a doubled "==" stands for an "=" inside the key).
    QString clave;
    qsizetype j = i;
    bool hayIgual = false;
    while (j < n) {
      const QChar c = texto[j];
      if (c == u'=') {
        if (j + 1 < n && texto[j + 1] == u'=') {
          clave += u'=';
          j += 2;
          continue;
        }
        hayIgual = true;
        break;
      }
      if (c == u';') break;
      clave += c;
      ++j;
    }
    clave = clave.trimmed();
    if (!hayIgual) {
      if (!clave.isEmpty()) malFormada(QStringLiteral("falta \"=\" después de \"%1\"").arg(clave));
      i = j + 1;  // empty piece: ";;" or a closing ";"
      continue;
    }
    if (clave.isEmpty()) malFormada(QStringLiteral("falta el nombre antes de \"=\""));
    j += 1;
    while (j < n && texto[j].isSpace()) ++j;
    QString valor;
    if (j < n && (texto[j] == u'"' || texto[j] == u'\'')) {
      const QChar comilla = texto[j++];
      bool cerrada = false;
      while (j < n) {
        if (texto[j] == comilla) {
          if (j + 1 < n && texto[j + 1] == comilla) {
            valor += comilla;
            j += 2;
            continue;
          }
          cerrada = true;
          ++j;
          break;
        }
        valor += texto[j++];
      }
      if (!cerrada) malFormada(QStringLiteral("falta cerrar la comilla del valor de \"%1\"").arg(clave));
      while (j < n && texto[j].isSpace()) ++j;
      if (j < n && texto[j] != u';')
        malFormada(QStringLiteral("texto después de la comilla en el valor de \"%1\"").arg(clave));
    } else if (j < n && texto[j] == u'{') {
      const qsizetype fin = texto.indexOf(u'}', j);
      if (fin < 0) malFormada(QStringLiteral("falta cerrar la llave del valor de \"%1\"").arg(clave));
      valor = texto.mid(j, fin - j + 1);
      j = fin + 1;
      while (j < n && texto[j] != u';') valor += texto[j++];
      valor = valor.trimmed();
    } else {
      while (j < n && texto[j] != u';') valor += texto[j++];
      valor = valor.trimmed();
    }
    resultado.pares_.emplace_back(clave, valor);
    i = j + 1;
  }
  return resultado;
}

QString CadenaConexion::valor(std::initializer_list<const char*> claves) const {
  for (const char* c : claves) {
    for (auto it = pares_.rbegin(); it != pares_.rend(); ++it)
      if (it->first.compare(QLatin1String(c), Qt::CaseInsensitive) == 0) return it->second;
  }
  return {};
}

bool CadenaConexion::tiene(std::initializer_list<const char*> claves) const {
  for (const auto& [clave, valor] : pares_)
    if (esClave(clave, claves)) return true;
  return false;
}

QString CadenaConexion::sin(std::initializer_list<const char*> claves) const {
  QString r;
  for (const auto& [clave, valor] : pares_) {
    if (esClave(clave, claves)) continue;
    // A ";" inside a value survives only in braces, the way ODBC reads it.
    const bool llaves = valor.contains(u';') && !valor.startsWith(u'{');
    r += clave + u'=' + (llaves ? u'{' + valor + u'}' : valor) + u';';
  }
  return r;
}

}  // namespace ado::detalle
