// The start-up parameter text, read key by key as session start-up reads it,
// and the server name normalised.
#include "services/parametros.h"
#include "fuzz/apoyo.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* datos, size_t largo) {
  const QString texto = fuzz::texto(datos, largo);
  static const char* const kClaves[] = {"@ParametroAdicional", "@Menu",           "@Server", "@DbName", "@Usuario",
                                        "@Password",           "@UsuarioLogeado", "@Caja"};
  for (const char* c : kClaves) {
    bool hallada = false;
    const QString v = ModGlobal::ValorParametro(texto, QString::fromLatin1(c), &hallada);
    KV_FUZZ_CHECK(hallada || v.isEmpty(), "valor de una clave ausente: %s", c);
    KV_FUZZ_CHECK(!v.contains(QLatin1Char('=')), "\"=\" en el valor de %s", c);
    if (QLatin1StringView(c) == QLatin1StringView("@Server")) (void)ModGlobal::NombreServidor(v);
  }
  (void)ModGlobal::NombreServidor(texto);
  return 0;
}
