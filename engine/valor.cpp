#include "engine/valor.h"

#include <cmath>

namespace engine {

QString Valor::mostrar() const {
  switch (tipo()) {
    case Tipo::Nulo: return {};
    case Tipo::Logico: return comoLogico() ? QStringLiteral("Verdadero") : QStringLiteral("Falso");
    case Tipo::Numero: return numeroComoTexto(comoNumero());
    case Tipo::Texto: return comoTexto();
    case Tipo::Fecha: {
      const QDateTime& f = comoFecha();
      if (f.time() == QTime(0, 0)) return f.date().toString(QStringLiteral("dd/MM/yyyy"));
      return f.toString(QStringLiteral("dd/MM/yyyy HH:mm:ss"));
    }
  }
  return {};
}

int compararTexto(const QString& a, const QString& b) {
  const int c = QString::compare(a, b, Qt::CaseInsensitive);
  return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

int compararValores(const Valor& a, const Valor& b) {
  if (a.tipo() != b.tipo()) return static_cast<int>(a.tipo()) < static_cast<int>(b.tipo()) ? -1 : 1;
  switch (a.tipo()) {
    case Valor::Tipo::Nulo: return 0;
    case Valor::Tipo::Logico: return int(a.comoLogico()) - int(b.comoLogico());
    case Valor::Tipo::Numero: {
      const double x = a.comoNumero(), y = b.comoNumero();
      return x < y ? -1 : (x > y ? 1 : 0);
    }
    case Valor::Tipo::Texto: return compararTexto(a.comoTexto(), b.comoTexto());
    case Valor::Tipo::Fecha: {
      const QDateTime &x = a.comoFecha(), &y = b.comoFecha();
      return x < y ? -1 : (x > y ? 1 : 0);
    }
  }
  return 0;
}

QString recortarIzquierda(const QString& s) {
  qsizetype i = 0;
  while (i < s.size() && s.at(i) == QLatin1Char(' ')) ++i;
  return i == 0 ? s : s.mid(i);
}

QString recortarDerecha(const QString& s) {
  qsizetype n = s.size();
  while (n > 0 && s.at(n - 1) == QLatin1Char(' ')) --n;
  return n == s.size() ? s : s.left(n);
}

QString numeroComoTexto(double d) {
  if (std::isnan(d)) return QStringLiteral("NaN");
  if (d == std::floor(d) && std::fabs(d) < 1e15) return QString::number(static_cast<qint64>(d));
  QString s = QString::number(d, 'f', 10);
  while (s.endsWith(QLatin1Char('0'))) s.chop(1);
  if (s.endsWith(QLatin1Char('.'))) s.chop(1);
  return s;
}

}  // namespace engine
