#include "services/mascaras.h"

#include "platform/vb/archivos.h"
#include "platform/vb/strings.h"

namespace ModGlobal {

namespace {

// A fixed-length single-byte field: cut, or padded with blanks.
QByteArray campoFijo(const QString& texto, int largo) {
  QByteArray b = texto.toLatin1().left(largo);
  if (b.size() < largo) b.append(largo - b.size(), ' ');
  return b;
}

struct Predeterminada {
  const char* titulo;
  const char* tabla;
  const char* columnas;
};

constexpr Predeterminada kPredeterminadas[] = {
    {"ARTICULOS", "V_MA_ARTICULOS", "|DESCRIPCION|IDARTICULO|"},
    {"CLIENTES", "VT_CLIENTES", "|RAZON_SOCIAL|CODIGO|CONTACTO|"},
    {"PROVEEDORES", "VT_PROVEEDORES", "|RAZON_SOCIAL|CODIGO|"},
    {"CONTACTOS", "MA_CONTACTOS", "|Nombre_y_Apellido|Domicilio|Localidad|Telefono|"},
    {"VENDEDORES", "V_TA_VENDEDORES", "|NOMBRE|IDVENDEDOR|"},
    {"TECNICOS", "V_TA_TECNICOS", "|NOMBRE|IDTECNICO|"},
    {"MANTENIMIENTOS", "V_MA_MANTENIMIENTOS", "|DESCRIPCION|CODIGO|"},
};

}  // namespace

QByteArray RegistroMascara(const QString& titulo, const QString& tabla, const QString& columnas,
                           const QString& condicion) {
  QByteArray r;
  r.reserve(kLargoMascara);
  r += campoFijo(titulo, kLargoTitulo);
  r += campoFijo(tabla, kLargoTabla);
  r += campoFijo(columnas, kLargoColumnas);
  r += campoFijo(condicion, kLargoCondicion);
  r += "\r\n";
  return r;
}

void CrearMascarasConsultas(const QString& ruta) {
  // Each record goes after the last whole record, as a random-access writer
  // places it; a broken tail record is overwritten.
  QByteArray contenido;
  if (vb::FileExists(ruta)) {
    contenido = vb::leerArchivo(ruta);
    contenido.truncate(contenido.size() / kLargoMascara * kLargoMascara);
  }
  vb::EscritorArchivo escritor(ruta);
  escritor.escribir(contenido);
  for (const Predeterminada& p : kPredeterminadas) {
    escritor.escribir(RegistroMascara(vb::Trim(QString::fromLatin1(p.titulo)), QString::fromLatin1(p.tabla),
                                      vb::Trim(QString::fromLatin1(p.columnas)), QString()));
  }
  escritor.confirmar();
}

}  // namespace ModGlobal
