// The lookup presets file: layout of the seven records and a write that
// fails half-way.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <QDir>
#include <csignal>

#include "platform/vb/archivos.h"
#include "platform/vb/error.h"
#include "services/mascaras.h"
#include "tests/support/temp_folder.h"

using ModGlobal::CrearMascarasConsultas;
using ModGlobal::kLargoMascara;

namespace {

QByteArray campo(const QByteArray& registro, int desde, int largo) { return registro.mid(desde, largo); }

QByteArray relleno(const char* texto, int largo) {
  QByteArray b(texto);
  return b + QByteArray(largo - b.size(), ' ');
}

}  // namespace

TEST(CrearMascarasConsultas, SieteRegistrosDe1202BytesRellenosConCrLf) {
  prueba::CarpetaTemporal carpeta;
  const QString ruta = carpeta.archivo(QStringLiteral("consultas.qzx"));
  CrearMascarasConsultas(ruta);
  const QByteArray todo = carpeta.leer(QStringLiteral("consultas.qzx"));
  ASSERT_EQ(kLargoMascara, 1202);
  ASSERT_EQ(todo.size(), 7 * 1202);

  const struct {
    const char *titulo, *tabla, *columnas;
  } esperados[] = {
      {"ARTICULOS", "V_MA_ARTICULOS", "|DESCRIPCION|IDARTICULO|"},
      {"CLIENTES", "VT_CLIENTES", "|RAZON_SOCIAL|CODIGO|CONTACTO|"},
      {"PROVEEDORES", "VT_PROVEEDORES", "|RAZON_SOCIAL|CODIGO|"},
      {"CONTACTOS", "MA_CONTACTOS", "|Nombre_y_Apellido|Domicilio|Localidad|Telefono|"},
      {"VENDEDORES", "V_TA_VENDEDORES", "|NOMBRE|IDVENDEDOR|"},
      {"TECNICOS", "V_TA_TECNICOS", "|NOMBRE|IDTECNICO|"},
      {"MANTENIMIENTOS", "V_MA_MANTENIMIENTOS", "|DESCRIPCION|CODIGO|"},
  };
  for (int i = 0; i < 7; ++i) {
    const QByteArray r = todo.mid(i * 1202, 1202);
    EXPECT_EQ(campo(r, 0, 100), relleno(esperados[i].titulo, 100)) << i;
    EXPECT_EQ(campo(r, 100, 100), relleno(esperados[i].tabla, 100)) << i;
    EXPECT_EQ(campo(r, 200, 500), relleno(esperados[i].columnas, 500)) << i;
    EXPECT_EQ(campo(r, 700, 500), QByteArray(500, ' ')) << i;
    EXPECT_EQ(campo(r, 1200, 2), QByteArray("\r\n")) << i;
  }
  // The example of the first record, byte for byte.
  EXPECT_TRUE(todo.startsWith(QByteArray("ARTICULOS") + QByteArray(91, ' ') + "V_MA_ARTICULOS" + QByteArray(86, ' ')));
  // Nothing else is left beside it.
  EXPECT_EQ(QDir(carpeta.ruta()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("consultas.qzx")});
}

TEST(CrearMascarasConsultas, EnUnArchivoExistenteAgregaTrasElUltimoRegistroEntero) {
  prueba::CarpetaTemporal carpeta;
  const QByteArray propio = ModGlobal::RegistroMascara(QStringLiteral("MIO"), QStringLiteral("TA_MIA"),
                                                       QStringLiteral("|A|B|"), QStringLiteral("A > 1"));
  // One whole record and the broken start of another.
  const QString ruta = carpeta.escribir(QStringLiteral("consultas.qzx"), propio + QByteArray("ROTO"));
  CrearMascarasConsultas(ruta);
  const QByteArray todo = carpeta.leer(QStringLiteral("consultas.qzx"));
  ASSERT_EQ(todo.size(), 8 * 1202);
  EXPECT_EQ(todo.left(1202), propio);
  EXPECT_TRUE(todo.mid(1202).startsWith("ARTICULOS "));
  EXPECT_EQ(campo(propio, 700, 5), QByteArray("A > 1"));
}

TEST(CrearMascarasConsultas, UnaEscrituraInterrumpidaNoDejaArchivoYLaSiguienteEscribeTodo) {
  prueba::CarpetaTemporal carpeta;
  const QString ruta = carpeta.archivo(QStringLiteral("consultas.qzx"));

  // The disk "fills up" after three records: files may not grow past that.
  rlimit antes{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &antes), 0);
  auto senal = std::signal(SIGXFSZ, SIG_IGN);
  rlimit limite = antes;
  limite.rlim_cur = 3 * 1202 + 100;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limite), 0);
  long numero = 0;
  try {
    CrearMascarasConsultas(ruta);
  } catch (const vb::Error& e) {
    numero = e.Number();
  }
  setrlimit(RLIMIT_FSIZE, &antes);
  std::signal(SIGXFSZ, senal);

  EXPECT_EQ(numero, vb::kDiskFull);
  EXPECT_FALSE(vb::FileExists(ruta));
  EXPECT_TRUE(QDir(carpeta.ruta()).entryList(QDir::Files | QDir::Hidden).isEmpty()) << "no leftovers";

  CrearMascarasConsultas(ruta);
  EXPECT_EQ(vb::FileLen(ruta), 7 * 1202);
}
