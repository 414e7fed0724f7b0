// The request texts the users report builds from the form's choices.
#include <gtest/gtest.h>

#include "report/solicitud_usuarios.h"

namespace {

using rp_usuarios::ArmarSolicitud;
using rp_usuarios::Eleccion;

const QString kSinGrupos = QStringLiteral("{Ta_usuarios.esgrupo}=FALSE");

TEST(ArmarSolicitud, RangoVacioSinUnidadesYAgrupamientoCero) {
  const auto s = ArmarSolicitud(Eleccion{});
  EXPECT_EQ(s.formula, kSinGrupos);
  EXPECT_EQ(s.formulas[0], QStringLiteral("Parametros = ''"));
  for (int i = 1; i < 5; ++i) EXPECT_TRUE(s.formulas[size_t(i)].isEmpty());
  EXPECT_EQ(s.reporte, QStringLiteral("RP_Usuarios_Grupos"));
}

TEST(ArmarSolicitud, DosUnidadesConSusDosBlancos) {
  Eleccion e;
  e.usuarioDesde = QStringLiteral(" ana ");
  e.usuarioHasta = QStringLiteral("zeta");
  e.unidades = QStringList{QStringLiteral("0001 - Casa Central"), QStringLiteral("0003 - Depósito")};
  e.agrupamiento = 1;
  const auto s = ArmarSolicitud(e);
  EXPECT_EQ(s.formula,
            QStringLiteral("TrimLeft(TrimRight({Ta_usuarios.nombre})) >= 'ana'  AND "
                           "TrimLeft(TrimRight({Ta_usuarios.nombre})) <= 'zeta'  AND ") +
                kSinGrupos +
                QStringLiteral(" AND ({TA_USUARIOS.UNEGOCIO} = '0001'  OR {TA_USUARIOS.UNEGOCIO} = '0003' ) "));
  EXPECT_EQ(s.unidades, QStringLiteral(" U.Neg.:0001-0003"));
  EXPECT_EQ(s.formulas[0], QStringLiteral("Parametros = ' U.Neg.:0001-0003'"));
  EXPECT_EQ(s.reporte, QStringLiteral("RP_Usuarios_UNEG"));
}

TEST(ArmarSolicitud, UnaUnidadSinOrYCodigoCorto) {
  Eleccion e;
  e.unidades = QStringList{QStringLiteral("0002 - ")};
  auto s = ArmarSolicitud(e);
  EXPECT_EQ(s.formula, kSinGrupos + QStringLiteral(" AND ({TA_USUARIOS.UNEGOCIO} = '0002' ) "));
  EXPECT_EQ(s.unidades, QStringLiteral(" U.Neg.:0002"));
  // An entry shorter than four characters gives its whole text as the code,
  // untrimmed in the caption.
  e.unidades = QStringList{QStringLiteral("7 -")};
  s = ArmarSolicitud(e);
  EXPECT_EQ(s.unidades, QStringLiteral(" U.Neg.:7 -"));
  EXPECT_EQ(s.formula, kSinGrupos + QStringLiteral(" AND ({TA_USUARIOS.UNEGOCIO} = '7 -' ) "));
}

TEST(ArmarSolicitud, TareasSoloConElAgrupamientoPorTareas) {
  Eleccion e;
  e.tareas = QStringList{QStringLiteral("D10"), QStringLiteral("D1020")};
  for (int agrupamiento : {0, 1}) {
    e.agrupamiento = agrupamiento;
    EXPECT_EQ(ArmarSolicitud(e).formula, kSinGrupos) << agrupamiento;
  }
  e.agrupamiento = 2;
  e.unidades = QStringList{QStringLiteral("0001 - Casa Central")};
  const auto s = ArmarSolicitud(e);
  EXPECT_EQ(s.formula, kSinGrupos + QStringLiteral(" AND ({TA_USUARIOS.UNEGOCIO} = '0001' ) ") +
                           QStringLiteral(" AND ({TA_MENU.CLAVE} = 'D10'  OR {TA_MENU.CLAVE} = 'D1020' ) "));
  EXPECT_EQ(s.reporte, QStringLiteral("RP_Usuarios_TAREAS"));
}

TEST(ArmarSolicitud, DesdeMayorQueHastaNoArmaNada) {
  Eleccion e;
  e.usuarioDesde = QStringLiteral("zeta");
  e.usuarioHasta = QStringLiteral("ANA");
  try {
    ArmarSolicitud(e);
    FAIL() << "a refused range must not give a request";
  } catch (const rp_usuarios::RangoInvalido& r) {
    EXPECT_EQ(r.Description(), QStringLiteral("Desde Mayor que Hasta, Campo : {Ta_usuarios.nombre}"));
  }
  // The comparison ignores case: the same name in two cases passes.
  e.usuarioHasta = QStringLiteral("ZETA");
  EXPECT_NO_THROW(ArmarSolicitud(e));
}

TEST(ArmarSolicitud, LasComillasDeLosValoresSeDuplican) {
  Eleccion e;
  e.usuarioDesde = QStringLiteral("O'Brien");
  e.usuarioHasta = QStringLiteral("O'Brien*");
  e.unidades = QStringList{QStringLiteral("0'1 - Rara")};
  e.tareas = QStringList{QStringLiteral("D'1")};
  e.agrupamiento = 2;
  const auto s = ArmarSolicitud(e);
  EXPECT_EQ(s.formula,
            QStringLiteral("TrimLeft(TrimRight({Ta_usuarios.nombre})) >= 'O''Brien'  AND "
                           "TrimLeft(TrimRight({Ta_usuarios.nombre})) LIKE 'O''Brien*'  AND ") +
                kSinGrupos +
                QStringLiteral(" AND ({TA_USUARIOS.UNEGOCIO} = '0''1 ' )  AND ({TA_MENU.CLAVE} = 'D''1' ) "));
  // The condition and the caption keep the code's four characters, blank included.
  EXPECT_EQ(s.formulas[0], QStringLiteral("Parametros = ' U.Neg.:0''1 '"));
}

TEST(ArmarSolicitud, ReportePorAgrupamiento) {
  EXPECT_EQ(rp_usuarios::reporteDeAgrupamiento(0), QStringLiteral("RP_Usuarios_Grupos"));
  EXPECT_EQ(rp_usuarios::reporteDeAgrupamiento(1), QStringLiteral("RP_Usuarios_UNEG"));
  EXPECT_EQ(rp_usuarios::reporteDeAgrupamiento(2), QStringLiteral("RP_Usuarios_TAREAS"));
  Eleccion e;
  e.agrupamiento = -1;
  EXPECT_TRUE(ArmarSolicitud(e).reporte.isEmpty());
}

}  // namespace
