#pragma once
// Session start-up: the connection data from the parameter text (or the
// command line, or the workstation settings file), the connection itself,
// and everything the session needs once it is open.
#include <QString>

namespace ModGlobal {

// desdeIni: build the parameter text from the settings file when there is
// none. parametros: the parameter text; empty takes the command line (and it
// comes back with the text used). connString: handed to OpenServerADODB; an
// Oracle server ("#" before its name) fills it when empty. lCursor: the
// connection's cursor location. When no connection opens, the program ends
// at once. An invalid-argument error (5) abandons only its own step; any
// other error ends the start-up silently, keeping what was set.
void IniciaSesion(bool desdeIni, QString& parametros, QString& connString, long lCursor = 3);

// The default lookup definitions written to the lookup service's mask file.
void CrearMascarasConsultas();

}  // namespace ModGlobal
