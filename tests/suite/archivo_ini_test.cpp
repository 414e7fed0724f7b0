// Reading and writing section/key settings files.
#include <gtest/gtest.h>

#include "platform/ctx/programa.h"
#include "suite/archivo_ini.h"
#include "suite/util_general.h"
#include "tests/support/numero_error.h"
#include "tests/support/temp_folder.h"

using ZepaKit2::archivoIni;

namespace {

const QByteArray kEstacion =
    "; ajustes de la estacion\r\n"
    "[Iconos]\r\n"
    "IconoDelSistema = ICONPROPIO   \r\n"
    "\r\n"
    "  [ PC01|ANA ]  \r\n"
    "FlatToolbars=0\r\n"
    "  flattoolbars = 1\r\n"
    ";Servidor=COMENTADO\r\n"
    "Vacio=\r\n"
    "Comillas=\"  dos blancos  \"\r\n"
    "SinIgual\r\n"
    "Ruta = C:\\korvane\\datos = viejos\r\n"
    "[pc01|anaBaseDeDatos]\r\n"
    "Servidor=SRV01\r\n"
    "[PC01|ANA]\r\n"
    "FlatToolbars=7\r\n"
    "Otra=segunda seccion\r\n";

class ArchivoIniTest : public ::testing::Test {
 protected:
  void SetUp() override { ctx::actual().setCarpetaConfiguracion(carpeta.ruta()); }
  prueba::CarpetaTemporal carpeta;
};

}  // namespace

TEST_F(ArchivoIniTest, LeeConLasReglasDeSiempre) {
  carpeta.escribir(QStringLiteral("CN000pr.INI"), kEstacion);
  auto leer = [](const char* seccion, const char* clave) {
    return archivoIni().LeerIni(QStringLiteral("CN000pr.INI"), QString::fromUtf8(seccion), QString::fromUtf8(clave),
                                QStringLiteral("<def>"));
  };
  EXPECT_EQ(leer("iconos", "ICONODELSISTEMA"), QStringLiteral("ICONPROPIO"));
  EXPECT_EQ(leer("PC01|ANA", "FlatToolbars"), QStringLiteral("0"));  // first occurrence wins
  EXPECT_EQ(leer("pc01|ana", "Otra"), QStringLiteral("segunda seccion"));
  EXPECT_EQ(leer("PC01|ANA", "Servidor"), QStringLiteral("<def>"));  // only in a comment
  EXPECT_EQ(leer("PC01|ANABaseDeDatos", "servidor"), QStringLiteral("SRV01"));
  EXPECT_EQ(leer("PC01|ANA", "Vacio"), QString());  // present but empty: not the default
  EXPECT_EQ(leer("PC01|ANA", "Comillas"), QStringLiteral("  dos blancos  "));
  EXPECT_EQ(leer("PC01|ANA", "SinIgual"), QStringLiteral("<def>"));
  EXPECT_EQ(leer("PC01|ANA", "Ruta"), QStringLiteral("C:\\korvane\\datos = viejos"));
  EXPECT_EQ(leer("Falta", "FlatToolbars"), QStringLiteral("<def>"));
  EXPECT_EQ(leer("Iconos", "Falta"), QStringLiteral("<def>"));
  EXPECT_EQ(leer("Iconos", ""), QStringLiteral("<def>"));
  EXPECT_EQ(archivoIni().LeerIni(QStringLiteral("NoEsta.ini"), QStringLiteral("Iconos"),
                                 QStringLiteral("IconoDelSistema"), QStringLiteral("ICONKORVANE")),
            QStringLiteral("ICONKORVANE"));
}

TEST_F(ArchivoIniTest, ElNombreDelArchivoIgnoraMayusculasYUnaRutaSeUsaTalCual) {
  carpeta.escribir(QStringLiteral("cn000pr.ini"), "[Iconos]\nIconoDelSistema=MINUSCULAS\n");
  EXPECT_EQ(
      archivoIni().LeerIni(QStringLiteral("CN000pr.INI"), QStringLiteral("Iconos"), QStringLiteral("IconoDelSistema")),
      QStringLiteral("MINUSCULAS"));

  prueba::CarpetaTemporal otra;
  const QString ruta = otra.escribir(QStringLiteral("propio.ini"), "[A]\nb=c\n");
  EXPECT_EQ(archivoIni().LeerIni(ruta, QStringLiteral("a"), QStringLiteral("B")), QStringLiteral("c"));
  // The bare name is not looked up anywhere but the settings folder.
  EXPECT_EQ(archivoIni().LeerIni(QStringLiteral("propio.ini"), QStringLiteral("a"), QStringLiteral("B"),
                                 QStringLiteral("no")),
            QStringLiteral("no"));
}

TEST_F(ArchivoIniTest, LeeUtf8YToleraLatin1) {
  carpeta.escribir(QStringLiteral("utf8.ini"), "\xEF\xBB\xBF[Año]\nDueño=Peña\n");
  carpeta.escribir(QStringLiteral("latin1.ini"),
                   "[A\xF1o]\nDue\xF1o=Pe\xF1"
                   "a\n");
  for (const char* nombre : {"utf8.ini", "latin1.ini"})
    EXPECT_EQ(archivoIni().LeerIni(QString::fromLatin1(nombre), QStringLiteral("AÑO"), QStringLiteral("DUEÑO")),
              QStringLiteral("Peña"))
        << nombre;
}

TEST_F(ArchivoIniTest, EscribeDondeSeLeeYConservaElResto) {
  carpeta.escribir(QStringLiteral("CN000pr.INI"), kEstacion);
  const QString ini = QStringLiteral("CN000pr.INI");
  archivoIni().EscribirIni(ini, QStringLiteral("pc01|ana"), QStringLiteral("FLATTOOLBARS"), QStringLiteral("1"));
  archivoIni().EscribirIni(ini, QStringLiteral("Iconos"), QStringLiteral("Nueva"), QStringLiteral(" con blancos "));
  archivoIni().EscribirIni(ini, QStringLiteral("Seccion Nueva"), QStringLiteral("Clave"), QStringLiteral("Ñ"));

  EXPECT_EQ(archivoIni().LeerIni(ini, QStringLiteral("PC01|ANA"), QStringLiteral("FlatToolbars")), QStringLiteral("1"));
  EXPECT_EQ(archivoIni().LeerIni(ini, QStringLiteral("Iconos"), QStringLiteral("Nueva")),
            QStringLiteral(" con blancos "));
  EXPECT_EQ(archivoIni().LeerIni(ini, QStringLiteral("Iconos"), QStringLiteral("IconoDelSistema")),
            QStringLiteral("ICONPROPIO"));
  EXPECT_EQ(archivoIni().LeerIni(ini, QStringLiteral("seccion nueva"), QStringLiteral("clave")), QStringLiteral("Ñ"));
  EXPECT_EQ(archivoIni().LeerIni(ini, QStringLiteral("PC01|ANA"), QStringLiteral("Otra")),
            QStringLiteral("segunda seccion"));

  const QByteArray escrito = carpeta.leer(ini);
  EXPECT_TRUE(escrito.startsWith("; ajustes de la estacion\r\n"));
  EXPECT_TRUE(escrito.contains(";Servidor=COMENTADO\r\n"));
  // The new key sits inside its section, before the blank line that ends it.
  EXPECT_TRUE(escrito.contains("IconoDelSistema = ICONPROPIO   \r\nNueva=\" con blancos \"\r\n\r\n"));
}

TEST_F(ArchivoIniTest, EscribeUnArchivoNuevoYRechazaLoQueNoCabe) {
  const QString ini = QStringLiteral("sub/nuevo.ini");
  const QString ruta = carpeta.archivo(ini);
  archivoIni().EscribirIni(ruta, QStringLiteral("S"), QStringLiteral("Usuario"),
                           ZepaKit2::util().Codificar(QStringLiteral("Korvane")));
  EXPECT_EQ(ZepaKit2::util().Decodificar(archivoIni().LeerIni(ruta, QStringLiteral("s"), QStringLiteral("usuario"))),
            QStringLiteral("Korvane"));
  EXPECT_FALSE(carpeta.leer(ini).contains("Korvane"));

  auto numero = [&](const QString& s, const QString& k, const QString& v) {
    return prueba::numeroDeError([&] { archivoIni().EscribirIni(ruta, s, k, v); });
  };
  EXPECT_EQ(numero(QStringLiteral("S"), QStringLiteral("K"), QStringLiteral("dos\nlineas")), vb::kInvalidProcedureCall);
  EXPECT_EQ(numero(QStringLiteral("S]"), QStringLiteral("K"), QStringLiteral("v")), vb::kInvalidProcedureCall);
  EXPECT_EQ(numero(QStringLiteral("S"), QStringLiteral("a=b"), QStringLiteral("v")), vb::kInvalidProcedureCall);
  // A folder where the file should be cannot be written.
  prueba::CarpetaTemporal otra;
  otra.escribir(QStringLiteral("dir.ini/x"), "");
  try {
    archivoIni().EscribirIni(otra.archivo(QStringLiteral("dir.ini")), QStringLiteral("S"), QStringLiteral("K"),
                             QStringLiteral("v"));
    ADD_FAILURE() << "no error";
  } catch (const vb::Error& e) {
    EXPECT_EQ(e.Number(), vb::kPathFileAccessError);
  }
}
