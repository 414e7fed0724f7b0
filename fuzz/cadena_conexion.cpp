// Connection strings as the data objects read them: a malformed one is the
// connection-string error, never anything else.
#include "platform/ado/cadena_conexion.h"
#include "fuzz/apoyo.h"
#include "platform/ado/constantes.h"
#include "platform/vb/error.h"
#include "services/parametros.h"

using ado::detalle::CadenaConexion;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* datos, size_t largo) {
  const QString texto = fuzz::texto(datos, largo);
  CadenaConexion c;
  try {
    c = CadenaConexion::analizar(texto);
  } catch (const vb::Error& e) {
    KV_FUZZ_CHECK(e.Number() == ado::kErrorCadenaConexion, "error %ld: %s", e.Number(), qPrintable(e.Description()));
    return 0;
  }
  (void)c.valor({"Provider"});
  (void)c.valor({"Server", "Data Source", "Address", "Addr", "Network Address"});
  (void)c.valor({"User Id", "UId", "User", "UserId", "User Name"});
  (void)c.tiene({"Database", "DBQ"});
  (void)ModGlobal::NombreServidor(c.valor({"Server"}));
  for (const auto& [clave, valor] : c.pares()) KV_FUZZ_CHECK(!clave.isEmpty(), "clave vacía");
  (void)c.sin({"Provider"});
  return 0;
}
