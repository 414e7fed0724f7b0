#include "engine/tabla.h"

#include "engine/errores.h"
#include "engine/maquetador.h"
#include "platform/vb/archivos.h"

namespace engine {

namespace {

QString tituloGrupo(const DefinicionReporte& d, const GrupoReporte& g) {
  QString t = g.encabezado.left(g.encabezado.indexOf(QLatin1Char('{'))).trimmed();
  if (t.endsWith(QLatin1Char(':'))) t.chop(1);
  if (!t.trimmed().isEmpty()) return t.trimmed();
  for (const ColumnaReporte& c : d.columnas)
    if (c.indice == g.indice) return c.titulo;
  return g.campo;
}

}  // namespace

std::vector<ColumnaTabla> columnasTabla(const DefinicionReporte& d) {
  std::vector<ColumnaTabla> r;
  for (const GrupoReporte& g : d.grupos) r.push_back({tituloGrupo(d, g), g.indice, QString(), 0});
  for (const ColumnaReporte& c : d.columnas) r.push_back({c.titulo, c.indice, c.formato, c.anchoMm});
  return r;
}

QString textoCelda(const Valor& v, const ColumnaTabla& c) { return formatear(v, c.formato); }

void escribirTabla(const DefinicionReporte& d, const FilasCompactas& filas, const QString& ruta, FormatoTabla formato) {
  if (ruta.trimmed().isEmpty()) lanzar(kErrorSalida, QStringLiteral("No se indicó el archivo de la planilla"));
  const QByteArray datos = formato == FormatoTabla::Xlsx ? tablaXlsx(d, filas) : tablaCsv(d, filas);
  try {
    vb::reemplazarArchivo(ruta, datos);
  } catch (const vb::Error& e) {
    lanzar(kErrorSalida, QStringLiteral("No se puede escribir la planilla %1: %2").arg(ruta, e.Description()));
  }
}

}  // namespace engine
