#pragma once
// The error log shared by the suite's programs.
#include <QByteArray>
#include <QString>

namespace registro_errores {

// Appends the line whole, even while other programs append to the same file:
// one write under an exclusive lock. Failures are ignored (the log is best effort).
void anexarLinea(const QString& ruta, const QByteArray& linea);

}  // namespace registro_errores
