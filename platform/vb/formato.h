#pragma once
// Format: a value as text by a format of the platform's codes. Dates take the
// date codes (see formatoFecha in dates.h); numbers take 0 # . , % and
// sections "positive;negative;zero", the point and comma standing for the
// regional decimal and thousands separators. Format rounds half away from
// zero, as the platform's Format does (unlike CInt, which rounds to even).
#include <QString>

#include "platform/vb/variant.h"

namespace vb {

// Named formats: "General Number", "Fixed", "Standard", "Percent".
QString formatoNumero(double valor, const QString& formato);

// A date or a number by its kind; a text that reads as a number or a date is
// formatted as one, any other text is returned as it is; Null and Empty give
// an empty text. An empty format gives CStr of the value.
QString Format(const Variant& valor, const QString& formato = {});

}  // namespace vb
