#pragma once
// For the tests of data/ and the folders above it: these link kv_testdata,
// which stands on kv_data (kv_testmain stands on kv_platform alone).
#include <QString>

class DB_Dll;

namespace prueba {

// Opens the program's connection on database `base` of server alias
// `servidor` as the access dialog would, without showing it; fails the test
// when it does not open.
void conectarSinDialogo(DB_Dll& d, const QString& servidor, const QString& base, const QString& usuario,
                        const QString& clave, bool validaAdmin);

}  // namespace prueba
