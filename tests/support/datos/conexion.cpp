#include "tests/support/datos/conexion.h"

#include <gtest/gtest.h>

#include "data/db_dll.h"

namespace prueba {

void conectarSinDialogo(DB_Dll& d, const QString& servidor, const QString& base, const QString& usuario,
                        const QString& clave, bool validaAdmin) {
  d.gServidor = servidor;
  d.gDBName = base;
  d.gUsuario = usuario;
  d.gUserPassWord = clave;
  d.OpenServerADODB(false, 3, QString(), validaAdmin);
  ASSERT_TRUE(d.gOpenFlag);
  ASSERT_EQ(d.gCnn.State(), ado::adStateOpen);
}

}  // namespace prueba
