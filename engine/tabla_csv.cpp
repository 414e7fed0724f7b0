// The table as CSV (RFC 4180) for spreadsheets in Spanish settings: ";"
// between fields, a decimal comma, UTF-8 with a byte order mark so that the
// accents survive, CRLF at the end of each record.
#include "engine/tabla.h"

namespace engine {

namespace {

QString numeroCsv(double d, const QString& formato) {
  const QString f = formato.trimmed();
  QString t;
  if (f.isEmpty()) {
    t = numeroComoTexto(d);
  } else {
    const qsizetype punto = f.indexOf(QLatin1Char('.'));
    t = QString::number(d, 'f', punto < 0 ? 0 : int(f.size() - punto - 1));
  }
  return t.replace(QLatin1Char('.'), QLatin1Char(','));
}

void campo(QString& linea, const QString& texto) {
  const bool comillas = texto.contains(QLatin1Char(';')) || texto.contains(QLatin1Char('"')) ||
                        texto.contains(QLatin1Char('\n')) || texto.contains(QLatin1Char('\r'));
  if (!comillas) {
    linea += texto;
    return;
  }
  linea += QLatin1Char('"');
  linea += QString(texto).replace(QLatin1Char('"'), QStringLiteral("\"\""));
  linea += QLatin1Char('"');
}

}  // namespace

QByteArray tablaCsv(const DefinicionReporte& d, const FilasCompactas& filas) {
  const std::vector<ColumnaTabla> columnas = columnasTabla(d);
  QString texto;
  const auto registro = [&](auto&& celda) {
    for (size_t i = 0; i < columnas.size(); ++i) {
      if (i > 0) texto += QLatin1Char(';');
      campo(texto, celda(i));
    }
    texto += QStringLiteral("\r\n");
  };
  registro([&](size_t i) { return columnas[i].titulo; });
  Fila f;
  for (long n = 0; n < filas.cantidad(); ++n) {
    filas.leer(n, f);
    registro([&](size_t i) {
      const Valor& v = f[size_t(columnas[i].indice)];
      if (v.tipo() == Valor::Tipo::Numero) return numeroCsv(v.comoNumero(), columnas[i].formato);
      return textoCelda(v, columnas[i]);
    });
  }
  return QByteArray("\xEF\xBB\xBF") + texto.toUtf8();
}

}  // namespace engine
