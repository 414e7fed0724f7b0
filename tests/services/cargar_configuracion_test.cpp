// The session settings loader against a real configuration table.
#include <gtest/gtest.h>

#include "services/cargar_configuracion.h"
#include "services/sesion.h"
#include "tests/services/base_prueba.h"

using ModGlobal::CargarConfiguracion;
using ModGlobal::Sesion;
using ModGlobal::sesion;

namespace {

const QString kCarpeta = QStringLiteral("/opt/korvane/");

class CargaConfiguracion : public ::testing::Test {
 protected:
  void SetUp() override { base.conectar(); }

  void clave(const char* clave, const char* valor) {
    base.ejecutar(QStringLiteral("INSERT INTO TA_CONFIGURACION (Grupo, Clave, Valor) VALUES ('DATOS', '%1', %2)")
                      .arg(QString::fromUtf8(clave),
                           valor ? QStringLiteral("'%1'").arg(QString::fromUtf8(valor)) : QStringLiteral("NULL")));
  }
  void usuario(const char* nombre, const char* unegocio, const char* verProforma) {
    base.ejecutar(QStringLiteral("INSERT INTO TA_USUARIOS (Nombre, UNegocio, VerProforma) VALUES ('%1', %2, %3)")
                      .arg(QString::fromUtf8(nombre),
                           unegocio ? QStringLiteral("'%1'").arg(QString::fromUtf8(unegocio)) : QStringLiteral("NULL"),
                           QString::fromUtf8(verProforma)));
  }
  prueba::BasePrueba base;
};

}  // namespace

TEST_F(CargaConfiguracion, TablaVaciaDaLosValoresDeReserva) {
  Sesion& s = sesion();
  s.gUsuarioLogeado = QStringLiteral("NADIE");
  s.gColorFondoFoco = 0xFFFFFF;
  CargarConfiguracion(kCarpeta);

  EXPECT_EQ(s.TablaConfiguracion, QStringLiteral("ta_configuracion"));
  EXPECT_EQ(s.ArchivoDocTareas, QStringLiteral("/opt/korvane/KVDOCTareas.qzx"));
  for (bool flag : {s.MostrarStockenConsultas, s.EXIGECLAVECONSULTALIKEARTICULOS, s.UsaConsultaLike,
                    s.UsaMultilesMonedas, s.UsaFacturaProforma, s.USACCOSTO, s.USA_STK_STOCK_UDKG, s.VALIDACODIGOBARRA,
                    s.V_ModificaCPrecio, s.C_ModificaCPrecio, s.MADERERA, s.PideClave_StockNeg, s.PideClave_MarkUpBase,
                    s.PideClave_LimiteCredito, s.SS_BloqueoActivo, s.UTILIZARFECHADIA})
    EXPECT_FALSE(flag);
  EXPECT_TRUE(s.ModuloOrdenDeTrabajo);
  for (const QString* t : {&s.TituloClientes, &s.TituloProveedores, &s.UNIDADDEMEDIDA_M3, &s.UNIDADDEMEDIDA_BL,
                           &s.UNIDADDEMEDIDA_KG, &s.MAD_TIRAS, &s.MAD_P2, &s.MAD_ML, &s.MAD_M2, &s.MAD_HOJAS,
                           &s.MAD_ML_P2, &s.MAD_M2_P2, &s.MAD_ML_M2, &s.CuentaCtroDist})
    EXPECT_TRUE(t->isEmpty()) << t->toStdString();
  EXPECT_EQ(s.CantidadDecimales, QStringLiteral(" "));
  EXPECT_EQ(s.UNegocio, QStringLiteral("   1"));
  EXPECT_EQ(s.PERIODO, 0);
  EXPECT_EQ(s.gColorFondoFoco, 16776960);
  EXPECT_EQ(s.gColorLetraFoco, 0);
  EXPECT_EQ(s.MaxDto, vb::Currency{});
  EXPECT_EQ(s.CONDIVAEMPRESA, 1);
  EXPECT_EQ(s.Top_Default, QStringLiteral("1000"));
}

TEST_F(CargaConfiguracion, TablaLlenaConSusReglas) {
  clave("MostrarStockenConsultas", "SI");
  clave("TituloClientes", "  Clientes  ");
  clave("UsaConsultaLike", "si");
  clave("EXIGECLAVECONSULTALIKEARTICULOS", " SI");
  clave("CantidadDecimales", " 2 ");
  clave("VALIDACODIGOBARRA", " SI ");
  clave("PERIODO", "12meses");
  clave("CFondo", "255");
  clave("CLetra", "65280,5");
  clave("ModuloOrdenDeTrabajo", "no");
  clave("V_ModificaCPrecio", "x");
  clave("C_ModificaCPrecio", "No");
  clave("PideClave_StockNeg", "no");
  clave("PideClave_MarkUpBase", " NO");
  clave("MAD_TIRAS", " T ");
  clave("MaxDto", " 12,34567 ");
  clave("MaxDtoProforma", "5");
  clave("CONDIVA", "3");
  clave("Top_Default", " 250 ");
  usuario("ANA", " 0002", "1");
  Sesion& s = sesion();
  s.gUsuarioLogeado = QStringLiteral("ana");
  CargarConfiguracion(kCarpeta);

  EXPECT_TRUE(s.MostrarStockenConsultas);
  EXPECT_EQ(s.TituloClientes, QStringLiteral("Clientes"));
  EXPECT_TRUE(s.UsaConsultaLike);                   // case ignored
  EXPECT_FALSE(s.EXIGECLAVECONSULTALIKEARTICULOS);  // not trimmed
  EXPECT_EQ(s.CantidadDecimales, QStringLiteral(" 2 "));
  EXPECT_TRUE(s.VALIDACODIGOBARRA);  // trimmed
  EXPECT_EQ(s.PERIODO, 12);
  EXPECT_EQ(s.gColorFondoFoco, 255);
  EXPECT_EQ(s.gColorLetraFoco, 65280);  // half to even
  EXPECT_FALSE(s.ModuloOrdenDeTrabajo);
  EXPECT_TRUE(s.V_ModificaCPrecio);
  EXPECT_FALSE(s.C_ModificaCPrecio);
  EXPECT_FALSE(s.PideClave_StockNeg);
  EXPECT_TRUE(s.PideClave_MarkUpBase);  // NO after a blank
  EXPECT_EQ(s.MAD_TIRAS, QStringLiteral("T"));
  EXPECT_EQ(s.MaxDto, vb::Currency::desdeDiezMilesimos(123457));
  EXPECT_EQ(s.MaxDtoProforma, vb::Currency::desdeDiezMilesimos(50000));
  EXPECT_EQ(s.CONDIVAEMPRESA, 3);
  EXPECT_EQ(s.Top_Default, QStringLiteral(" 250 "));
  EXPECT_EQ(s.UNegocio, QStringLiteral(" 0002"));
  EXPECT_FALSE(s.UsaFacturaProforma);
}

TEST_F(CargaConfiguracion, PeriodoRedondeaAlPar) {
  clave("PERIODO", "2.5");
  Sesion& s = sesion();
  CargarConfiguracion(kCarpeta);
  EXPECT_EQ(s.PERIODO, 2);
  base.ejecutar("UPDATE TA_CONFIGURACION SET Valor = '3.5' WHERE Clave = 'PERIODO'");
  CargarConfiguracion(kCarpeta);
  EXPECT_EQ(s.PERIODO, 4);
  // Out of range: the step is skipped and the setting keeps its value.
  base.ejecutar("UPDATE TA_CONFIGURACION SET Valor = '99999' WHERE Clave = 'PERIODO'");
  CargarConfiguracion(kCarpeta);
  EXPECT_EQ(s.PERIODO, 4);
}

TEST_F(CargaConfiguracion, CondivaEmpresaPropioGanaYFueraDeRangoCaeAlRespaldo) {
  clave("CONDIVAEMPRESA", "5");
  clave("CONDIVA", "3");
  CargarConfiguracion(kCarpeta);
  EXPECT_EQ(sesion().CONDIVAEMPRESA, 5);
  base.ejecutar("UPDATE TA_CONFIGURACION SET Valor = '70000' WHERE Clave = 'CONDIVAEMPRESA'");
  sesion().CONDIVAEMPRESA = 0;
  CargarConfiguracion(kCarpeta);
  EXPECT_EQ(sesion().CONDIVAEMPRESA, 3);
}

TEST_F(CargaConfiguracion, FacturaProformaYRegistroDelUsuario) {
  Sesion& s = sesion();
  clave("UsaFacturaProforma", "SI");
  usuario("PEPE", "0007", "0");
  usuario("LUIS", NULL, "1");
  usuario("NULO", "0003", "NULL");

  s.gUsuarioLogeado = QStringLiteral("PEPE");
  CargarConfiguracion(kCarpeta);
  EXPECT_FALSE(s.UsaFacturaProforma);
  EXPECT_EQ(s.UNegocio, QStringLiteral("0007"));

  s.gUsuarioLogeado = QStringLiteral("LUIS");
  CargarConfiguracion(kCarpeta);
  EXPECT_TRUE(s.UsaFacturaProforma);
  EXPECT_EQ(s.UNegocio, QStringLiteral("   1"));  // a null unit reads empty

  // A null VerProforma fails silently: the flag keeps the value just read.
  s.gUsuarioLogeado = QStringLiteral("NULO");
  CargarConfiguracion(kCarpeta);
  EXPECT_TRUE(s.UsaFacturaProforma);
  EXPECT_EQ(s.UNegocio, QStringLiteral("0003"));

  // With the feature off, the user's column is not consulted.
  base.ejecutar("UPDATE TA_CONFIGURACION SET Valor = 'NO' WHERE Clave = 'UsaFacturaProforma'");
  base.ejecutar("UPDATE TA_USUARIOS SET VerProforma = 1 WHERE Nombre = 'PEPE'");
  s.gUsuarioLogeado = QStringLiteral("PEPE");
  CargarConfiguracion(kCarpeta);
  EXPECT_FALSE(s.UsaFacturaProforma);
}

TEST_F(CargaConfiguracion, UsuarioSinFilaTomaLaUnidadPorDefecto) {
  Sesion& s = sesion();
  s.UNegocio = QStringLiteral("0009");
  s.gUsuarioLogeado = QStringLiteral("NADIE");
  CargarConfiguracion(kCarpeta);
  // Without a row the unit keeps its value; it only falls back when empty.
  EXPECT_EQ(s.UNegocio, QStringLiteral("0009"));
  s.UNegocio.clear();
  CargarConfiguracion(kCarpeta);
  EXPECT_EQ(s.UNegocio, QStringLiteral("   1"));
}
