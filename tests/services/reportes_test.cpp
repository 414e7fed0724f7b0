// Report file resolution on real files in a temporary program folder.
#include <gtest/gtest.h>

#include "services/reportes.h"
#include "suite/estacion.h"
#include "tests/services/base_prueba.h"

using ModGlobal::NombreReporte;
using ModGlobal::RutaReporte;

namespace {

class Reportes : public ::testing::Test {
 protected:
  void SetUp() override {
    ctx::actual().setCarpetaPrograma(programa.ruta());
    base.ejecutar("INSERT INTO TA_CPTE VALUES ('FC', 'Compras'), ('FV', 'Ventas')");
    base.conectar();
  }
  QString en(const QString& nombre) const { return programa.ruta() + nombre; }
  void archivo(const QString& nombre) const { programa.escribir(nombre, "rpt"); }
  void fila(const QString& nombre, const QString& archivo, const QString& a2 = {}) const {
    base.ejecutar(QStringLiteral("INSERT INTO TA_REPORTES (NOMBRE, Archivo, Archivo2) VALUES ('%1', '%2', '%3')")
                      .arg(nombre, archivo, a2));
  }
  // The missing-file message for this path and report.
  void esperarFalta(const QString& ruta, const QString& reporte) const {
    prueba::guion().esperarMensaje(ui::vbOK,
                                   QStringLiteral("No se encuentra el Archivo ") + ruta + QStringLiteral(" (") +
                                       reporte + QStringLiteral(") por favor verifique la configuración de Reportes"),
                                   QStringLiteral("Aviso al Operador"));
  }
  prueba::CarpetaTemporal programa;
  prueba::BasePrueba base;
};

}  // namespace

TEST_F(Reportes, LaEntradaDeLaEstacionGanaALaSimple) {
  const auto& e = ZepaKit2::estacion();
  archivo(QStringLiteral("propio.rpt"));
  archivo(QStringLiteral("comun.rpt"));
  fila(QStringLiteral("RP_Usuarios_Grupos"), QStringLiteral("comun"));
  EXPECT_EQ(NombreReporte(QStringLiteral("RP_Usuarios_Grupos")), en(QStringLiteral("comun.rpt")));
  fila(e.Identidad1() + QStringLiteral("|") + e.Identidad2() + QStringLiteral("|RP_Usuarios_Grupos"),
       QStringLiteral("propio"));
  EXPECT_EQ(NombreReporte(QStringLiteral("RP_Usuarios_Grupos")), en(QStringLiteral("propio.rpt")));
  // A second argument turns the workstation entry off.
  EXPECT_EQ(NombreReporte(QStringLiteral("RP_Usuarios_Grupos"), QStringLiteral("X")), en(QStringLiteral("comun.rpt")));
  EXPECT_EQ(NombreReporte(QStringLiteral("RP_Usuarios_Grupos"), QStringLiteral("  ")),
            en(QStringLiteral("propio.rpt")));
}

TEST_F(Reportes, ValoresDeArchivo) {
  archivo(QStringLiteral("RP_A.rpt"));
  archivo(QStringLiteral("otro.rpt"));
  fila(QStringLiteral("RP_A"), QString());
  EXPECT_EQ(NombreReporte(QStringLiteral("RP_A")), en(QStringLiteral("RP_A.rpt")));
  fila(QStringLiteral("RP_B"), QStringLiteral("otro"));
  EXPECT_EQ(NombreReporte(QStringLiteral("RP_B")), en(QStringLiteral("otro.rpt")));
  // A value ending in .rpt is used unchanged, in any case.
  const QString absoluto = en(QStringLiteral("otro.rpt"));
  EXPECT_EQ(RutaReporte(absoluto, QStringLiteral("RP_C")), absoluto);
  programa.escribir(QStringLiteral("MAYUS.RPT"), "rpt");
  EXPECT_EQ(RutaReporte(en(QStringLiteral("MAYUS.RPT")), QStringLiteral("RP_C")), en(QStringLiteral("MAYUS.RPT")));
}

TEST_F(Reportes, CuatroArchivosYElMensajeDeCadaUno) {
  archivo(QStringLiteral("uno.rpt"));
  archivo(QStringLiteral("RP_D.rpt"));
  fila(QStringLiteral("RP_D"), QStringLiteral("uno"), QStringLiteral("falta"));
  std::array<QString, 4> archivos;
  esperarFalta(en(QStringLiteral("falta.rpt")), QStringLiteral("RP_D"));
  EXPECT_EQ(NombreReporte(QStringLiteral("RP_D"), {}, &archivos), en(QStringLiteral("uno.rpt")));
  EXPECT_EQ(archivos[0], en(QStringLiteral("uno.rpt")));
  EXPECT_EQ(archivos[1], en(QStringLiteral("falta.rpt")));
  // Empty Archivo3/Archivo4 take the report's own file.
  EXPECT_EQ(archivos[2], en(QStringLiteral("RP_D.rpt")));
  EXPECT_EQ(archivos[3], en(QStringLiteral("RP_D.rpt")));
}

TEST_F(Reportes, ReglasDeArchivoCompartido) {
  archivo(QStringLiteral("PG.RPT"));
  archivo(QStringLiteral("OPG.RPT"));
  archivo(QStringLiteral("LIQU.RPT"));
  EXPECT_EQ(NombreReporte(QStringLiteral("PG-X")), en(QStringLiteral("PG.RPT")));
  EXPECT_EQ(NombreReporte(QStringLiteral("OPG-X")), en(QStringLiteral("OPG.RPT")));
  EXPECT_EQ(NombreReporte(QStringLiteral("LIQU-X")), en(QStringLiteral("LIQU.RPT")));
  // The report's own file wins over the shared one.
  archivo(QStringLiteral("PG-X.rpt"));
  EXPECT_EQ(NombreReporte(QStringLiteral("PG-X")), en(QStringLiteral("PG-X.rpt")));
  // Purchasing vouchers share CpteCompras.RPT, by the whole name or by the
  // part before "-"; the file itself is only tested at the end.
  archivo(QStringLiteral("CpteCompras.RPT"));
  EXPECT_EQ(NombreReporte(QStringLiteral("FC")), en(QStringLiteral("CpteCompras.RPT")));
  EXPECT_EQ(NombreReporte(QStringLiteral("FC-ABCDEF")), en(QStringLiteral("CpteCompras.RPT")));
  EXPECT_EQ(NombreReporte(QStringLiteral("FC-A")), en(QStringLiteral("CpteCompras.RPT")));
}

TEST_F(Reportes, SinFilaNiArchivoNiReglaDaLaCarpetaYAvisa) {
  esperarFalta(en(QStringLiteral(".rpt")), QStringLiteral("RP_NADA"));
  EXPECT_EQ(NombreReporte(QStringLiteral("RP_NADA")), en(QStringLiteral(".rpt")));
  // A voucher of another system gets no shared file.
  esperarFalta(en(QStringLiteral(".rpt")), QStringLiteral("FV-1"));
  EXPECT_EQ(NombreReporte(QStringLiteral("FV-1")), en(QStringLiteral(".rpt")));
  // A missing shared file of the 2-character rule is missing too.
  esperarFalta(en(QStringLiteral(".rpt")), QStringLiteral("ZZ-X"));
  EXPECT_EQ(NombreReporte(QStringLiteral("ZZ-X")), en(QStringLiteral(".rpt")));
  EXPECT_EQ(prueba::guion().pendientes(), 0);
}

TEST_F(Reportes, LiqOpgUsaLasFilasSustitutas) {
  archivo(QStringLiteral("opg_comun.rpt"));
  fila(QStringLiteral("OPG-X"), QStringLiteral("opg_comun"));
  EXPECT_EQ(NombreReporte(QStringLiteral("liqopg")), en(QStringLiteral("opg_comun.rpt")));
  base.ejecutar("UPDATE TA_REPORTES SET Archivo = 'no_esta' WHERE NOMBRE = 'OPG-X'");
  esperarFalta(en(QStringLiteral("no_esta.rpt")), QStringLiteral("LiqOpg"));
  EXPECT_EQ(NombreReporte(QStringLiteral("LiqOpg")), en(QStringLiteral("no_esta.rpt")));
  // Other names do not use them.
  esperarFalta(en(QStringLiteral(".rpt")), QStringLiteral("LiqOpg2"));
  EXPECT_EQ(NombreReporte(QStringLiteral("LiqOpg2")), en(QStringLiteral(".rpt")));
}

TEST_F(Reportes, ColumnaFaltantePasaPorElDialogo) {
  base.ejecutar(R"(
    DROP TABLE TA_REPORTES;
    CREATE TABLE TA_REPORTES (NOMBRE TEXT COLLATE NOCASE, Archivo TEXT COLLATE NOCASE);
    INSERT INTO TA_REPORTES VALUES ('RP_E', 'e');)");
  archivo(QStringLiteral("e.rpt"));
  std::array<QString, 4> archivos;
  // Archivo2 is missing: Ignore goes on to Archivo3, Cancel leaves with the
  // main path already found.
  prueba::responderError(QStringLiteral("Ignorar"), QStringLiteral("NombreReporte$"));
  prueba::responderError(QStringLiteral("Cancelar"), QStringLiteral("NombreReporte$"));
  EXPECT_EQ(NombreReporte(QStringLiteral("RP_E"), {}, &archivos), en(QStringLiteral("e.rpt")));
  EXPECT_EQ(archivos[0], en(QStringLiteral("e.rpt")));
  EXPECT_TRUE(archivos[1].isEmpty());
  EXPECT_TRUE(archivos[2].isEmpty());
}

// Names written for a file system that ignores letter case: the file is
// found as it is spelt on disk, in the report folder and below it, before
// anything is reported missing.
TEST_F(Reportes, SinElArchivoExactoSeBuscaSinDistinguirMayusculas) {
  programa.escribir(QStringLiteral("rp_usuarios_grupos.RPT"), "rpt");
  EXPECT_EQ(NombreReporte(QStringLiteral("RP_Usuarios_Grupos")), en(QStringLiteral("rp_usuarios_grupos.RPT")));
  programa.escribir(QStringLiteral("reportes/Usuarios/rp_usuarios_uneg.rpt"), "rpt");
  fila(QStringLiteral("RP_Usuarios_UNEG"), QStringLiteral("Reportes/USUARIOS/RP_Usuarios_UNEG"));
  EXPECT_EQ(NombreReporte(QStringLiteral("RP_Usuarios_UNEG")),
            en(QStringLiteral("reportes/Usuarios/rp_usuarios_uneg.rpt")));
  // The shared files of the naming rules too.
  programa.escribir(QStringLiteral("pg.rpt"), "rpt");
  EXPECT_EQ(NombreReporte(QStringLiteral("PG-X")), en(QStringLiteral("pg.rpt")));
  // A name that is not there in any case is still reported, as written.
  fila(QStringLiteral("RP_F"), QStringLiteral("reportes/otro"));
  esperarFalta(en(QStringLiteral("reportes/otro.rpt")), QStringLiteral("RP_F"));
  EXPECT_EQ(NombreReporte(QStringLiteral("RP_F")), en(QStringLiteral("reportes/otro.rpt")));
}

// Installed, the program folder is the user's and the shipped files lie in
// share/korvane/reportes/: the user's own file wins, the shipped one comes
// next, by every way a name reaches a file; a missing one still names the
// program folder.
TEST_F(Reportes, InstaladoBuscaDespuesLosReportesDelPaquete) {
  prueba::CarpetaTemporal paquete;
  ctx::actual().setCarpetaReportesInstalados(paquete.ruta());
  const auto enPaquete = [&](const QString& n) { return paquete.ruta() + n; };
  for (const char* n : {"RP_Usuarios_UNEG.rpt", "RP_Usuarios_Grupos.rpt", "otro.rpt", "PG.RPT"})
    paquete.escribir(QString::fromLatin1(n), "rpt");
  EXPECT_EQ(NombreReporte(QStringLiteral("RP_Usuarios_UNEG")), enPaquete(QStringLiteral("RP_Usuarios_UNEG.rpt")));
  fila(QStringLiteral("RP_B"), QStringLiteral("otro"));
  EXPECT_EQ(NombreReporte(QStringLiteral("RP_B")), enPaquete(QStringLiteral("otro.rpt")));
  EXPECT_EQ(NombreReporte(QStringLiteral("PG-X")), enPaquete(QStringLiteral("PG.RPT")));
  archivo(QStringLiteral("RP_Usuarios_Grupos.rpt"));
  EXPECT_EQ(NombreReporte(QStringLiteral("RP_Usuarios_Grupos")), en(QStringLiteral("RP_Usuarios_Grupos.rpt")));
  esperarFalta(en(QStringLiteral("RP_FALTA.rpt")), QStringLiteral("RP_FALTA"));
  fila(QStringLiteral("RP_FALTA"), QStringLiteral("RP_FALTA"));
  EXPECT_EQ(NombreReporte(QStringLiteral("RP_FALTA")), en(QStringLiteral("RP_FALTA.rpt")));
}
