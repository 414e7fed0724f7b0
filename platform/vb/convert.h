#pragma once
// Conversions between values with the platform's rules: whole numbers round
// half to even and overflow with error 6; a text that is not a number is a
// type mismatch (13); Null where a value is needed is error 94. Numbers are
// written and read in the regional format (regional.h).
#include "platform/vb/variant.h"

namespace vb {

QString CStr(const Variant& v);
double CDbl(const Variant& v);
std::int16_t CInt(const Variant& v);
std::int32_t CLng(const Variant& v);
Currency CCur(const Variant& v);
bool CBool(const Variant& v);
QDateTime CDate(const Variant& v);

// True when the text reads whole as a number in the regional format.
bool IsNumeric(const QString& texto);
bool IsNumeric(const Variant& v);

// Val: the number at the start of a text, point as decimal separator, blanks
// skipped anywhere, reading stopped at the first character that cannot belong
// to the number; no number gives 0.
double Val(const QString& texto);

// Rounding half to even to the integer kinds (error 6 when out of range).
std::int16_t redondearEntero(double d);
std::int32_t redondearLargo(double d);
Currency redondearMoneda(double d);

// Str: a number as text with a point and a leading blank for positives.
QString Str(double d);

}  // namespace vb
