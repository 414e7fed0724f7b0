#include "engine/busqueda.h"

namespace engine {

std::vector<QRectF> coincidencias(const Letras& letras, const Pagina& pagina, const QString& buscado) {
  std::vector<QRectF> r;
  if (buscado.isEmpty()) return r;
  for (const Primitiva& e : pagina.elementos) {
    if (e.clase != Primitiva::Clase::Texto) continue;
    for (qsizetype i = e.texto.indexOf(buscado, 0, Qt::CaseInsensitive); i >= 0;
         i = e.texto.indexOf(buscado, i + buscado.size(), Qt::CaseInsensitive)) {
      const double x = e.origen.x() + letras.ancho(e.letra, e.texto.left(i));
      const double ancho = letras.ancho(e.letra, e.texto.mid(i, buscado.size()));
      r.emplace_back(x, e.origen.y() - letras.ascenso(e.letra), ancho, letras.alto(e.letra));
    }
  }
  return r;
}

}  // namespace engine
