#include "lookup/mascara_consulta.h"

#include <QFile>

#include "platform/vb/error.h"
#include "services/mascaras.h"
#include "suite/util_general.h"

std::optional<MascaraConsulta> buscarMascara(const QString& ruta, const QString& tabla) {
  QFile f(ruta);
  if (!f.open(QIODevice::ReadOnly)) throw vb::Error(vb::kFileNotFound);
  auto& u = ZepaKit2::util();
  const QString cero(QChar(0)), ff(QChar(0xFF));
  for (;;) {
    const QByteArray r = f.read(ModGlobal::kLargoMascara);
    // A short record at the end is what an interrupted append leaves; it is
    // no definition (the presets writer writes over it), and its blank
    // column list would make a statement the database cannot read.
    if (r.size() < ModGlobal::kLargoMascara) return std::nullopt;
    auto campo = [&](int desde, int largo) { return QString::fromLatin1(r.mid(desde, largo)); };
    MascaraConsulta m;
    m.tabla = u.QuitarTexto(campo(ModGlobal::kLargoTitulo, ModGlobal::kLargoTabla), cero, ff).trimmed();
    if (m.tabla.compare(tabla, Qt::CaseInsensitive) != 0) continue;
    const int c = ModGlobal::kLargoTitulo + ModGlobal::kLargoTabla;
    m.columnas = campo(c, ModGlobal::kLargoColumnas);
    m.condicion = u.QuitarTexto(campo(c + ModGlobal::kLargoColumnas, ModGlobal::kLargoCondicion), cero, ff).trimmed();
    return m;
  }
}
