// Statement rewriting for the restricted synonyms, for administrators and
// for other users.
#include "data/reescritura.h"
#include "fuzz/apoyo.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* datos, size_t largo) {
  const QString sql = fuzz::texto(datos, largo);
  const QString usuario = reescritura::SS_TSinonimos(sql, false);
  const QString admin = reescritura::SS_TSinonimos(sql, true);
  // The administrator's text only loses markers; it can never grow.
  KV_FUZZ_CHECK(admin.size() <= sql.size(), "el texto del administrador creció");
  (void)usuario;
  return 0;
}
