#pragma once
// The lookup presets: the suite's default lookup definitions written into the
// mask file (fixed records of 1202 bytes, see kLargoMascara).
#include <QByteArray>
#include <QString>

namespace ModGlobal {

// Record layout: caption, table or view, column list, condition, CR LF; each
// text single-byte, left-aligned and padded with blanks.
inline constexpr int kLargoTitulo = 100;
inline constexpr int kLargoTabla = 100;
inline constexpr int kLargoColumnas = 500;
inline constexpr int kLargoCondicion = 500;
inline constexpr int kLargoMascara = kLargoTitulo + kLargoTabla + kLargoColumnas + kLargoCondicion + 2;

// One record of the mask file.
QByteArray RegistroMascara(const QString& titulo, const QString& tabla, const QString& columnas,
                           const QString& condicion);

// Appends the seven default definitions after the last whole record of the
// file at `ruta` (a missing file starts empty). The new content is written
// beside the file and renamed into place, so a failure half-way leaves the
// file as it was (or no file), never a file with only some of the records.
void CrearMascarasConsultas(const QString& ruta);

}  // namespace ModGlobal
