#pragma once
// The regional settings the program reads and writes numbers and dates by.
// The suite runs on Spanish workstations: decimal comma, "." to group
// thousands (accepted when reading, never written), day/month/year dates.
// Each program context holds its own copy, so a test may change it freely.
#include <QChar>
#include <QString>

namespace vb {

enum class OrdenFecha { DiaMesAnio, MesDiaAnio, AnioMesDia };

struct Regional {
  QChar separadorDecimal = QLatin1Char(',');
  // Accepted when reading a number, only in whole groups of three digits
  // before the decimal separator ("1.234.567,5"); CStr never writes it.
  QChar separadorMiles = QLatin1Char('.');
  QChar separadorFecha = QLatin1Char('/');
  QChar separadorHora = QLatin1Char(':');
  OrdenFecha ordenFecha = OrdenFecha::DiaMesAnio;
  // How CStr writes a date and a time (Format codes, "/" and ":" standing for
  // the separators above).
  QString formatoFechaCorta = QStringLiteral("dd/mm/yyyy");
  QString formatoHora = QStringLiteral("hh:mm:ss");
  // Names used by Format's "mmm", "mmmm", "ddd" and "dddd".
  QString nombresMes[12] = {QStringLiteral("enero"),   QStringLiteral("febrero"),   QStringLiteral("marzo"),
                            QStringLiteral("abril"),   QStringLiteral("mayo"),      QStringLiteral("junio"),
                            QStringLiteral("julio"),   QStringLiteral("agosto"),    QStringLiteral("septiembre"),
                            QStringLiteral("octubre"), QStringLiteral("noviembre"), QStringLiteral("diciembre")};
  // Sunday first, as the platform's Weekday numbers them (1 = Sunday).
  QString nombresDia[7] = {QStringLiteral("domingo"),   QStringLiteral("lunes"),  QStringLiteral("martes"),
                           QStringLiteral("miércoles"), QStringLiteral("jueves"), QStringLiteral("viernes"),
                           QStringLiteral("sábado")};
};

// The settings of the context in force.
const Regional& regional();
// Replaces the settings of the context in force (tests, or a program that
// wants another region).
void setRegional(const Regional& r);

}  // namespace vb
