#include "platform/vb/dates.h"

#include <QRegularExpression>
#include <cmath>

#include "platform/vb/error.h"
#include "platform/vb/regional.h"

namespace vb {

namespace {

const QDate kFechaCero(1899, 12, 30);
constexpr qint64 kMsDia = 86400000;

QDateTime normal(const QDateTime& f) { return f.isValid() ? f : QDateTime(kFechaCero, QTime(0, 0)); }

int anioDeDosCifras(int a) { return a < 30 ? 2000 + a : 1900 + a; }

std::optional<QTime> leerHora(const QString& h, const QString& m, const QString& s, const QString& ms,
                              const QString& meridiano) {
  int hora = h.toInt();
  const int minuto = m.toInt();
  const int segundo = s.isEmpty() ? 0 : s.toInt();
  const int mili = ms.isEmpty() ? 0 : ms.leftJustified(3, QLatin1Char('0')).toInt();
  if (!meridiano.isEmpty()) {
    if (hora < 1 || hora > 12) return std::nullopt;
    const bool pm = meridiano.startsWith(QLatin1Char('p'), Qt::CaseInsensitive);
    hora = hora % 12 + (pm ? 12 : 0);
  }
  if (hora > 23 || minuto > 59 || segundo > 59) return std::nullopt;
  return QTime(hora, minuto, segundo, mili);
}

const QString kHora = QStringLiteral(R"((\d{1,2}):(\d{1,2})(?::(\d{1,2})(?:\.(\d{1,3}))?)?\s*(AM|PM|A\.M\.|P\.M\.)?)");

}  // namespace

void fijarZonaHoraria() {
  if (!qEnvironmentVariableIsSet("TZ")) qputenv("TZ", ":/etc/localtime");
}

std::optional<QDateTime> leerFecha(const QString& texto) {
  const QString t = texto.trimmed();
  if (t.isEmpty()) return std::nullopt;
  const Regional& r = regional();

  static const QRegularExpression iso(QStringLiteral(R"(^(\d{4})-(\d{1,2})-(\d{1,2})(?:[ T])"
                                                     R"((\d{1,2}):(\d{1,2})(?::(\d{1,2})(?:\.(\d{1,3}))?)?)?$)"));
  static const QRegularExpression soloHora(QLatin1Char('^') + kHora + QLatin1Char('$'),
                                           QRegularExpression::CaseInsensitiveOption);

  if (auto m = iso.match(t); m.hasMatch()) {
    const QDate d(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
    if (!d.isValid()) return std::nullopt;
    QTime h(0, 0);
    if (m.capturedLength(4) > 0) {
      auto hora = leerHora(m.captured(4), m.captured(5), m.captured(6), m.captured(7), {});
      if (!hora) return std::nullopt;
      h = *hora;
    }
    return QDateTime(d, h);
  }
  if (auto m = soloHora.match(t); m.hasMatch()) {
    auto hora = leerHora(m.captured(1), m.captured(2), m.captured(3), m.captured(4), m.captured(5));
    if (!hora) return std::nullopt;
    return QDateTime(kFechaCero, *hora);
  }

  // Three numbers with the regional separator (or "-") twice, the same both times.
  // Built again only when the regional separator changes.
  static QChar separadorHecho;
  static QRegularExpression regional;
  if (separadorHecho != r.separadorFecha || !regional.isValid() || regional.pattern().isEmpty()) {
    const QString sep = QRegularExpression::escape(QString(r.separadorFecha));
    regional = QRegularExpression(QStringLiteral(R"(^(\d{1,4})(%1|-)(\d{1,2})\2(\d{1,4})(?:\s+%2)?$)").arg(sep, kHora),
                                  QRegularExpression::CaseInsensitiveOption);
    separadorHecho = r.separadorFecha;
  }
  auto m = regional.match(t);
  if (!m.hasMatch()) return std::nullopt;
  const QString a = m.captured(1), b = m.captured(3), c = m.captured(4);
  QString anioTexto;
  int mes = 0, dia = 0;
  switch (r.ordenFecha) {
    case OrdenFecha::DiaMesAnio:
      dia = a.toInt();
      mes = b.toInt();
      anioTexto = c;
      break;
    case OrdenFecha::MesDiaAnio:
      mes = a.toInt();
      dia = b.toInt();
      anioTexto = c;
      break;
    case OrdenFecha::AnioMesDia:
      anioTexto = a;
      mes = b.toInt();
      dia = c.toInt();
      break;
  }
  if (anioTexto.size() == 3 || (r.ordenFecha != OrdenFecha::AnioMesDia && a.size() > 2) ||
      (r.ordenFecha == OrdenFecha::AnioMesDia && c.size() > 2))
    return std::nullopt;
  const int anio = anioTexto.size() <= 2 ? anioDeDosCifras(anioTexto.toInt()) : anioTexto.toInt();
  const QDate d(anio, mes, dia);
  if (!d.isValid() || anio < 100) return std::nullopt;
  QTime h(0, 0);
  if (m.capturedLength(5) > 0) {
    auto hora = leerHora(m.captured(5), m.captured(6), m.captured(7), m.captured(8), m.captured(9));
    if (!hora) return std::nullopt;
    h = *hora;
  }
  return QDateTime(d, h);
}

bool IsDate(const QString& texto) { return leerFecha(texto).has_value(); }

bool IsDate(const Variant& v) {
  if (v.type() == VarType::Date) return true;
  if (const auto* t = v.get<QString>()) return IsDate(*t);
  return false;
}

QString textoFecha(const QDateTime& f) {
  const QDateTime n = normal(f);
  const Regional& r = regional();
  if (n.date() == kFechaCero) return formatoFecha(n, r.formatoHora);
  if (n.time() == QTime(0, 0)) return formatoFecha(n, r.formatoFechaCorta);
  return formatoFecha(n, r.formatoFechaCorta) + QLatin1Char(' ') + formatoFecha(n, r.formatoHora);
}

double serialFecha(const QDateTime& f) {
  const QDateTime n = normal(f);
  const double dias = static_cast<double>(kFechaCero.daysTo(n.date()));
  const double fraccion = static_cast<double>(n.time().msecsSinceStartOfDay()) / kMsDia;
  return dias >= 0 ? dias + fraccion : dias - fraccion;
}

QDateTime fechaDeSerial(double serial) {
  // Years 100 to 9999, as the platform's dates go.
  if (!std::isfinite(serial) || serial < -657434.0 || serial >= 2958466.0) throw Error(kOverflow);
  double dias = std::trunc(serial);
  qint64 ms = std::llround(std::fabs(serial - dias) * kMsDia);
  if (ms >= kMsDia) {
    ms -= kMsDia;
    dias += serial < 0 ? -1 : 1;
  }
  return QDateTime(kFechaCero.addDays(static_cast<qint64>(dias)),
                   QTime::fromMSecsSinceStartOfDay(static_cast<int>(ms)));
}

int Year(const QDateTime& f) { return normal(f).date().year(); }
int Month(const QDateTime& f) { return normal(f).date().month(); }
int Day(const QDateTime& f) { return normal(f).date().day(); }
int Hour(const QDateTime& f) { return normal(f).time().hour(); }
int Minute(const QDateTime& f) { return normal(f).time().minute(); }
int Second(const QDateTime& f) { return normal(f).time().second(); }
int Weekday(const QDateTime& f) { return normal(f).date().dayOfWeek() % 7 + 1; }

QDateTime DateSerial(int anio, int mes, int dia) {
  if (anio >= 0 && anio < 100) anio = anioDeDosCifras(anio);
  // Carry whole years first so QDate never sees an out-of-range month.
  long meses = static_cast<long>(anio) * 12 + (mes - 1);
  const long a = meses >= 0 ? meses / 12 : -((-meses + 11) / 12);
  const int m = static_cast<int>(meses - a * 12) + 1;
  if (a < 100 || a > 9999) throw Error(kInvalidProcedureCall);
  const QDate d = QDate(static_cast<int>(a), m, 1).addDays(static_cast<qint64>(dia) - 1);
  if (!d.isValid() || d.year() < 100 || d.year() > 9999) throw Error(kInvalidProcedureCall);
  return QDateTime(d, QTime(0, 0));
}

QDateTime TimeSerial(int hora, int minuto, int segundo) {
  const double segundos = static_cast<double>(hora) * 3600 + static_cast<double>(minuto) * 60 + segundo;
  return fechaDeSerial(segundos / 86400.0);
}

QString formatoFecha(const QDateTime& fecha, const QString& formato) {
  const QDateTime f = normal(fecha);
  const Regional& r = regional();
  const QString nombre = formato.trimmed();
  if (nombre.compare(QLatin1String("General Date"), Qt::CaseInsensitive) == 0) return textoFecha(f);
  if (nombre.compare(QLatin1String("Short Date"), Qt::CaseInsensitive) == 0)
    return formatoFecha(f, r.formatoFechaCorta);
  if (nombre.compare(QLatin1String("Long Date"), Qt::CaseInsensitive) == 0)
    return formatoFecha(f, QStringLiteral("dddd, d \"de\" mmmm \"de\" yyyy"));
  if (nombre.compare(QLatin1String("Long Time"), Qt::CaseInsensitive) == 0) return formatoFecha(f, r.formatoHora);
  if (nombre.compare(QLatin1String("Short Time"), Qt::CaseInsensitive) == 0)
    return formatoFecha(f, QStringLiteral("hh:mm"));

  const QDate d = f.date();
  const QTime t = f.time();
  QString salida;
  bool trasHora = false;  // an "m" right after hours means minutes
  const bool doceHoras = formato.contains(QLatin1String("AM/PM"), Qt::CaseInsensitive) ||
                         formato.contains(QLatin1String("A/P"), Qt::CaseInsensitive);
  auto dos = [](int n) { return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0')); };
  qsizetype i = 0;
  const qsizetype n = formato.size();
  auto corrida = [&](QChar c) {
    qsizetype j = i;
    while (j < n && formato[j].toLower() == c) ++j;
    return j - i;
  };
  while (i < n) {
    const QChar c = formato[i];
    const QChar l = c.toLower();
    if (c == QLatin1Char('"')) {
      const qsizetype fin = formato.indexOf(QLatin1Char('"'), i + 1);
      const qsizetype hasta = fin < 0 ? n : fin;
      salida += formato.mid(i + 1, hasta - i - 1);
      i = hasta + 1;
      continue;
    }
    if (c == QLatin1Char('\\')) {
      if (i + 1 < n) salida += formato[i + 1];
      i += 2;
      continue;
    }
    if (formato.mid(i, 5).compare(QLatin1String("AM/PM"), Qt::CaseInsensitive) == 0) {
      const bool mayus = c.isUpper();
      QString m = t.hour() < 12 ? QStringLiteral("am") : QStringLiteral("pm");
      salida += mayus ? m.toUpper() : m;
      i += 5;
      continue;
    }
    if (formato.mid(i, 3).compare(QLatin1String("A/P"), Qt::CaseInsensitive) == 0) {
      QString m = t.hour() < 12 ? QStringLiteral("a") : QStringLiteral("p");
      salida += c.isUpper() ? m.toUpper() : m;
      i += 3;
      continue;
    }
    const qsizetype k = (l == QLatin1Char('d') || l == QLatin1Char('m') || l == QLatin1Char('y') ||
                         l == QLatin1Char('h') || l == QLatin1Char('n') || l == QLatin1Char('s'))
                            ? corrida(l)
                            : 0;
    if (l == QLatin1Char('d') && k > 0) {
      if (k >= 6)
        salida += formatoFecha(f, QStringLiteral("Long Date"));
      else if (k == 5)
        salida += formatoFecha(f, r.formatoFechaCorta);
      else if (k == 4)
        salida += r.nombresDia[d.dayOfWeek() % 7];
      else if (k == 3)
        salida += r.nombresDia[d.dayOfWeek() % 7].left(3);
      else
        salida += k == 2 ? dos(d.day()) : QString::number(d.day());
      i += k;
      trasHora = false;
    } else if (l == QLatin1Char('m') && k > 0) {
      if (trasHora && k <= 2)
        salida += k == 2 ? dos(t.minute()) : QString::number(t.minute());
      else if (k >= 4)
        salida += r.nombresMes[d.month() - 1];
      else if (k == 3)
        salida += r.nombresMes[d.month() - 1].left(3);
      else
        salida += k == 2 ? dos(d.month()) : QString::number(d.month());
      i += k;
      trasHora = false;
    } else if (l == QLatin1Char('y') && k > 0) {
      if (k >= 3)
        salida += QStringLiteral("%1").arg(d.year(), 4, 10, QLatin1Char('0'));
      else if (k == 2)
        salida += dos(d.year() % 100);
      else
        salida += QString::number(d.dayOfYear());
      i += k;
      trasHora = false;
    } else if (l == QLatin1Char('h') && k > 0) {
      const int hora = doceHoras ? (t.hour() % 12 == 0 ? 12 : t.hour() % 12) : t.hour();
      salida += k >= 2 ? dos(hora) : QString::number(hora);
      i += k;
      trasHora = true;
    } else if (l == QLatin1Char('n') && k > 0) {
      salida += k >= 2 ? dos(t.minute()) : QString::number(t.minute());
      i += k;
      trasHora = false;
    } else if (l == QLatin1Char('s') && k > 0) {
      salida += k >= 2 ? dos(t.second()) : QString::number(t.second());
      i += k;
      trasHora = false;
    } else if (c == QLatin1Char('/')) {
      salida += r.separadorFecha;
      ++i;
    } else if (c == QLatin1Char(':')) {
      salida += r.separadorHora;
      ++i;
    } else {
      salida += c;
      ++i;
    }
  }
  return salida;
}

}  // namespace vb
