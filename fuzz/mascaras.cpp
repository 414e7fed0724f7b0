// The lookup definitions file: records of 1202 bytes, read record by record
// whatever the file's length; and the presets appended to it, which keep
// every whole record that was there byte for byte.
#include "services/mascaras.h"
#include "fuzz/apoyo.h"
#include "lookup/mascara_consulta.h"
#include "platform/vb/error.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* datos, size_t largo) {
  const QByteArray contenido = fuzz::bytes(datos, largo);
  const QString ruta = fuzz::escribir(QStringLiteral("consultas.qzx"), contenido);

  // The table of the first record, as the service would be asked for it.
  const QString primera = QString::fromLatin1(contenido.mid(ModGlobal::kLargoTitulo, ModGlobal::kLargoTabla)).trimmed();
  for (const QString& tabla : {primera, QStringLiteral("VT_CLIENTES"), QStringLiteral("NO_EXISTE")}) {
    const auto m = buscarMascara(ruta, tabla);
    if (m) KV_FUZZ_CHECK(m->tabla.compare(tabla, Qt::CaseInsensitive) == 0, "registro de otra tabla");
  }

  ModGlobal::CrearMascarasConsultas(ruta);
  QFile f(ruta);
  KV_FUZZ_CHECK(f.open(QIODevice::ReadOnly), "el archivo desapareció");
  const QByteArray despues = f.readAll();
  const qsizetype enteros = contenido.size() / ModGlobal::kLargoMascara * ModGlobal::kLargoMascara;
  KV_FUZZ_CHECK(despues.size() == enteros + 7 * ModGlobal::kLargoMascara, "largo %lld tras agregar a %lld",
                static_cast<long long>(despues.size()), static_cast<long long>(contenido.size()));
  KV_FUZZ_CHECK(despues.left(enteros) == contenido.left(enteros), "se alteró un registro que ya estaba");
  KV_FUZZ_CHECK(despues.size() % ModGlobal::kLargoMascara == 0, "registro partido");
  KV_FUZZ_CHECK(buscarMascara(ruta, QStringLiteral("V_TA_TECNICOS")).has_value(), "falta un registro agregado");
  return 0;
}
