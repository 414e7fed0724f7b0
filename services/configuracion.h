#pragma once
// The configuration table: key/value rows shared by every program of the
// suite, read with Cfg and written with GrabaDfg on the program's connection.
#include <QString>

#include "platform/vb/variant.h"

namespace ModGlobal {

// The value stored for the key, untrimmed; `valorAux` gets the auxiliary
// value. A key without a row gives a single blank (callers trim it away) and
// an empty auxiliary value. A failure goes to the error dialog: Ignore goes
// on; any other answer gives an empty text and leaves `valorAux` as it was.
QString Cfg(const QString& clave, QString& valorAux);
QString Cfg(const QString& clave);

// Writes the key, adding its row when missing. An empty auxiliary value
// leaves the stored one. A failure goes to the error dialog: Retry runs the
// failing step again (after another user changed the row, it reads the row
// again first), Ignore goes on, anything else leaves without saving.
void GrabaDfg(const QString& clave, const vb::Variant& valor, const QString& valorAux = {},
              bool politicaNegocio = false, const QString& grupo = {});

}  // namespace ModGlobal
