// The column-width file of the list lookup, read line by line as the dialog
// reads it: every width that comes out is one a column can take.
#include <QBuffer>
#include <QTextStream>

#include "fuzz/apoyo.h"
#include "lookup/anchos_columnas.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* datos, size_t largo) {
  if (largo == 0) return 0;
  // The first byte is how many columns the lookup shows.
  const int columnas = datos[0] % 40;
  QByteArray contenido = fuzz::bytes(datos + 1, largo - 1);
  QBuffer archivo(&contenido);
  archivo.open(QIODevice::ReadOnly | QIODevice::Text);
  QTextStream in(&archivo);
  while (!in.atEnd()) {
    const QStringList c = camposLinea(in.readLine());
    if (c.size() < 2) continue;
    const std::vector<int> anchos = anchosLinea(c[1], columnas);
    KV_FUZZ_CHECK(static_cast<int>(anchos.size()) <= columnas, "%d anchos para %d columnas",
                  static_cast<int>(anchos.size()), columnas);
    long long suma = 0;
    for (int w : anchos) {
      KV_FUZZ_CHECK(w >= -1 && w <= kAnchoMaximoColumna, "ancho %d", w);  // -1: none
      suma += w;
    }
    (void)suma;
  }
  return 0;
}
