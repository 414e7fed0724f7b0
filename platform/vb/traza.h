#pragma once
// The trace of errors that the routines handle themselves: skipped, swallowed
// or answered in a dialog. Each layer records into its own category
// ("korvane.data", "korvane.engine", ...), at warning level, off unless
// switched on (the program's --registro=ARCHIVO, or QT_LOGGING_RULES such as
// "korvane.*.warning=true"). Passwords never reach it: the values of
// password keys and every password a connection was opened with are masked.
//
//   vb::Seguir seguir({traza::services(), "CargarConfiguracion"});
//   vb::registrar({traza::data(), "OpenServerADODB"}, error, u"se sigue");
#include <QLoggingCategory>
#include <QString>
#include <QStringView>

#include "platform/vb/error.h"

namespace vb {

// A routine, for the trace: its layer's category and its name.
struct Rutina {
  const QLoggingCategory& categoria;
  const char* nombre;
};

// Records the error handled by the routine, and how ("se sigue", "respuesta 4: se reintenta").
void registrar(const Rutina& rutina, const Error& error, QStringView como);

// Switches every layer's trace on and appends it to the file, created when
// missing (only for the user). A link, or anything but a regular file, is
// refused: error 75. Other failures as the file operations give them.
void trazaEnArchivo(const QString& ruta);

// A text that must never appear in the trace (a password in use); empty texts are ignored.
void ocultarEnTraza(const QString& secreto);
// The text as the trace writes it: password values and registered secrets masked.
QString sinSecretos(QString texto);

}  // namespace vb

// A layer's category, one in each layer's traza.h: warnings off until a
// rule or --registro switches them on.
//   KV_CATEGORIA_DE_CAPA(data, "korvane.data")   // traza::data()
#define KV_CATEGORIA_DE_CAPA(funcion, nombre)                       \
  namespace traza {                                                 \
  inline const QLoggingCategory& funcion() {                        \
    static const QLoggingCategory categoria(nombre, QtCriticalMsg); \
    return categoria;                                               \
  }                                                                 \
  }

KV_CATEGORIA_DE_CAPA(platform, "korvane.platform")
