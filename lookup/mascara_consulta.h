#pragma once
// Reading the lookup definitions file (fixed records of 1202 bytes, laid out
// in services/mascaras.h) for the lookup service.
#include <QString>
#include <optional>

struct MascaraConsulta {
  QString tabla, columnas, condicion;
};

// The first record of the mask file whose table is `tabla` (letter case
// ignored); nullopt at the end of the file without one. A short record at
// the end of the file (a length that is not a multiple of 1202) is not
// read. Error 53 when the file cannot be opened.
std::optional<MascaraConsulta> buscarMascara(const QString& ruta, const QString& tabla);
