#pragma once
// Dates as the platform handles them: read and written by the regional
// settings, counted as serial numbers (days since 30/12/1899, the time as the
// fraction), and formatted with the platform's Format codes.
//
// A QDateTime that is not valid (default-constructed) counts as the zero date,
// 30/12/1899 00:00:00, like a date variable never assigned.
#include <QDateTime>
#include <QString>
#include <optional>

#include "platform/vb/variant.h"

namespace vb {

// While TZ is unset, glibc looks at /etc/localtime again on every local-time
// conversion (a stat each time, most of what reading a date costs); naming
// that same file in TZ makes it keep the zone it read. Called first thing by
// the program, so a zone changed while it runs counts from its next start.
// A TZ already set, even empty, is left alone.
void fijarZonaHoraria();

// The text read as a date by the regional settings: d/m/y (or the regional
// order) with "/" or "-" between, a two-digit year meaning 1930..2029; ISO
// yyyy-mm-dd; either followed by a time h:mm[:ss] (ISO also with "T" and
// milliseconds); or a time alone, on the zero date. nullopt when not a date.
std::optional<QDateTime> leerFecha(const QString& texto);

bool IsDate(const QString& texto);
// A date, or a text that reads as one.
bool IsDate(const Variant& v);

// The date written as CStr writes it: the short date, the time, or both
// (the time alone for the zero date, the date alone at midnight).
QString textoFecha(const QDateTime& f);

// Serial numbers: 0 is 30/12/1899 00:00, 1.25 is 31/12/1899 06:00, and -1.25
// is 29/12/1899 06:00 (the fraction counts forward in either sign).
double serialFecha(const QDateTime& f);
// Error 6 beyond the years 100 to 9999.
QDateTime fechaDeSerial(double serial);

int Year(const QDateTime& f);
int Month(const QDateTime& f);
int Day(const QDateTime& f);
int Hour(const QDateTime& f);
int Minute(const QDateTime& f);
int Second(const QDateTime& f);
// 1 = Sunday .. 7 = Saturday.
int Weekday(const QDateTime& f);

// Out-of-range months and days carry over (month 13 is January of the next
// year, day 0 the last day of the month before); years 0..29 are 2000..2029
// and 30..99 are 1930..1999. Error 5 when the result is outside 100..9999.
QDateTime DateSerial(int anio, int mes, int dia);
// The time on the zero date; seconds and minutes carry over likewise.
QDateTime TimeSerial(int hora, int minuto, int segundo);

// Format codes: d dd ddd dddd, m mm mmm mmmm (minutes after h or hh), y yy
// yyyy, h hh, n nn, s ss, AM/PM am/pm A/P a/p, "/" and ":" as the regional
// separators, "quoted" and \escaped literals; codes in either case. Also the
// named formats "General Date", "Short Date", "Long Date", "Long Time",
// "Short Time".
QString formatoFecha(const QDateTime& f, const QString& formato);

}  // namespace vb
