#pragma once
// Finding a text on composed pages: where each occurrence lies, in
// decipoints, so the preview can highlight it and scroll to it.
#include <QRectF>
#include <QString>
#include <vector>

#include "engine/documento.h"

namespace engine {

// The occurrences of `buscado` on a composed page, ignoring case (Ñ/ñ, Ó/ó
// alike), in the order the page's texts come; empty for an empty text.
std::vector<QRectF> coincidencias(const Letras& letras, const Pagina& pagina, const QString& buscado);

}  // namespace engine
