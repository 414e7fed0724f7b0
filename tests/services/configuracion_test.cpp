// Cfg and GrabaDfg on a real TA_CONFIGURACION.
#include <gtest/gtest.h>

#include "services/configuracion.h"
#include "services/sesion.h"
#include "tests/services/base_prueba.h"

using ModGlobal::Cfg;
using ModGlobal::GrabaDfg;

namespace {

class Configuracion : public ::testing::Test {
 protected:
  void SetUp() override {
    base.ejecutar(R"(
      INSERT INTO TA_CONFIGURACION (Grupo, Clave, Valor, ValorAux, PoliticaNegocio) VALUES
        ('DATOS', 'NOMBRE', ' Empresa SA ', 'aux1', 0),
        ('DATOS', 'NULO', NULL, NULL, 0),
        ('DATOS', 'DOBLE', 'primero', 'p', 0),
        ('DATOS', 'DOBLE', 'segundo', 's', 0);)");
    base.conectar();
    // As the session settings leave it; GrabaDfg takes the name as it finds it.
    ModGlobal::sesion().TablaConfiguracion = QStringLiteral("ta_configuracion");
  }
  prueba::BasePrueba base;
};

}  // namespace

TEST_F(Configuracion, CfgLeeValorYAuxiliarSinRecortar) {
  ModGlobal::sesion().TablaConfiguracion = QStringLiteral("  ");
  QString aux = QStringLiteral("previo");
  EXPECT_EQ(Cfg(QStringLiteral(" nombre "), aux), QStringLiteral(" Empresa SA "));
  EXPECT_EQ(aux, QStringLiteral("aux1"));
  // The table name defaults when the session has none yet.
  EXPECT_EQ(ModGlobal::sesion().TablaConfiguracion, QStringLiteral("TA_CONFIGURACION"));
  EXPECT_EQ(Cfg(QStringLiteral("DOBLE"), aux), QStringLiteral("primero"));
  EXPECT_EQ(aux, QStringLiteral("p"));
}

TEST_F(Configuracion, CfgClaveAusenteDaUnBlancoYNuloDaVacio) {
  QString aux = QStringLiteral("previo");
  EXPECT_EQ(Cfg(QStringLiteral("NO_EXISTE"), aux), QStringLiteral(" "));
  EXPECT_TRUE(aux.isEmpty());
  aux = QStringLiteral("previo");
  const QString nulo = Cfg(QStringLiteral("NULO"), aux);
  EXPECT_TRUE(nulo.isEmpty());
  EXPECT_TRUE(aux.isEmpty());
}

TEST_F(Configuracion, CfgDeFechaHastaVaEnMayusculas) {
  // Only the upper-cased statement finds this row, whose key is stored in
  // upper case and compared as the server does it (here: exactly).
  base.ejecutar(R"(
    CREATE TABLE CFG_EXACTA (Grupo TEXT, Clave TEXT COLLATE BINARY, Valor TEXT, ValorAux TEXT, PoliticaNegocio INTEGER);
    INSERT INTO CFG_EXACTA VALUES ('DATOS', '[FECHA HASTA]', '31/12/2024', '', 0);
    INSERT INTO CFG_EXACTA VALUES ('DATOS', '[fecha hasta]', 'minusculas', '', 0);
    INSERT INTO CFG_EXACTA VALUES ('DATOS', 'otra', 'tal cual', '', 0);
    INSERT INTO CFG_EXACTA VALUES ('DATOS', 'OTRA', 'MAYUSCULAS', '', 0);)");
  ModGlobal::sesion().TablaConfiguracion = QStringLiteral("CFG_EXACTA");
  QString aux;
  EXPECT_EQ(Cfg(QStringLiteral("[fecha hasta]"), aux), QStringLiteral("31/12/2024"));
  EXPECT_EQ(Cfg(QStringLiteral(" [Fecha Desde] "), aux), QStringLiteral(" "));
  EXPECT_EQ(Cfg(QStringLiteral("otra"), aux), QStringLiteral("tal cual"));
}

TEST_F(Configuracion, CfgConTablaInexistentePasaPorElDialogo) {
  ModGlobal::sesion().TablaConfiguracion = QStringLiteral("NO_HAY_TABLA");
  // The open fails in AbrirRecordset (its own dialog), then reading the
  // closed recordset fails in Cfg.
  prueba::responderError(QStringLiteral("Cancelar"), QStringLiteral("AbrirRecordset"));
  prueba::responderError(QStringLiteral("Reintentar"), QStringLiteral("Cfg"));
  QString aux = QStringLiteral("previo");
  // Retry leaves like Cancel: empty text, auxiliary value untouched.
  EXPECT_EQ(Cfg(QStringLiteral("NOMBRE"), aux), QString());
  EXPECT_EQ(aux, QStringLiteral("previo"));
  EXPECT_EQ(prueba::guion().pendientes(), 0);
}

TEST_F(Configuracion, GrabaDfgAgregaFilaNuevaConElDefectoDelAuxiliar) {
  GrabaDfg(QStringLiteral(" nueva_clave "), vb::Variant(QStringLiteral("  valor  ")), QString(), true,
           QStringLiteral(" GRUPO "));
  EXPECT_EQ(base.filas("SELECT Grupo, Clave, Valor, ValorAux, PoliticaNegocio FROM TA_CONFIGURACION "
                       "WHERE Clave = 'NUEVA_CLAVE'"),
            QStringList{QStringLiteral(" GRUPO |NUEVA_CLAVE|valor|AUXDEF|1")});
  // Writing the same key again, blanks and all, changes that row: no second one.
  GrabaDfg(QStringLiteral(" nueva_clave "), vb::Variant(12), QStringLiteral(" a2 "), false, QStringLiteral("G2"));
  EXPECT_EQ(base.filas("SELECT Grupo, Clave, Valor, ValorAux, PoliticaNegocio FROM TA_CONFIGURACION "
                       "WHERE Clave = 'NUEVA_CLAVE'"),
            QStringList{QStringLiteral("G2|NUEVA_CLAVE|12|a2|0")});
  QString aux;
  EXPECT_EQ(Cfg(QStringLiteral("nueva_clave"), aux), QStringLiteral("12"));
}

TEST_F(Configuracion, GrabaDfgSobreEscribeYConservaValorAux) {
  GrabaDfg(QStringLiteral("nombre"), vb::Variant(QStringLiteral(" Otra SRL ")), QString(), true,
           QStringLiteral("EMPRESA"));
  EXPECT_EQ(base.filas("SELECT Grupo, Clave, Valor, ValorAux, PoliticaNegocio FROM TA_CONFIGURACION "
                       "WHERE Clave = 'NOMBRE'"),
            QStringList{QStringLiteral("EMPRESA|NOMBRE|Otra SRL|aux1|1")});
  // With two rows for the key, the first one is written.
  GrabaDfg(QStringLiteral("DOBLE"), vb::Variant(QStringLiteral("uno")), QString(), false, QStringLiteral("DATOS"));
  EXPECT_EQ(base.filas("SELECT Valor FROM TA_CONFIGURACION WHERE Clave = 'DOBLE' ORDER BY rowid"),
            (QStringList{QStringLiteral("uno"), QStringLiteral("segundo")}));
}

TEST_F(Configuracion, GrabaDfgConflictoOptimistaYReintento) {
  // While the dialog for the Null value is up, another user changes the row;
  // the save then meets the conflict, and Retry writes over the new row.
  auto otroUsuario = [this] { base.ejecutar("UPDATE TA_CONFIGURACION SET Valor = 'ajeno' WHERE Clave = 'NOMBRE'"); };
  QString conflicto;
  prueba::responderError(QStringLiteral("Ignorar"), QStringLiteral("GrabaDfg"), otroUsuario);
  prueba::responderError(QStringLiteral("Reintentar"), QStringLiteral("GrabaDfg"), {}, &conflicto);
  GrabaDfg(QStringLiteral("NOMBRE"), vb::Variant::Null(), QStringLiteral("nuevo aux"), true, QStringLiteral("MIO"));
  EXPECT_TRUE(conflicto.contains(QStringLiteral("No se encuentra la fila"))) << conflicto.toStdString();
  // The ignored value stays as the other user left it; the rest is ours.
  EXPECT_EQ(base.filas("SELECT Grupo, Valor, ValorAux, PoliticaNegocio FROM TA_CONFIGURACION WHERE Clave = 'NOMBRE'"),
            QStringList{QStringLiteral("MIO|ajeno|nuevo aux|1")});
}

TEST_F(Configuracion, GrabaDfgConflictoYCancelarNoGuarda) {
  auto otroUsuario = [this] { base.ejecutar("UPDATE TA_CONFIGURACION SET Valor = 'ajeno' WHERE Clave = 'NOMBRE'"); };
  prueba::responderError(QStringLiteral("Ignorar"), QStringLiteral("GrabaDfg"), otroUsuario);
  prueba::responderError(QStringLiteral("Cancelar"), QStringLiteral("GrabaDfg"));
  GrabaDfg(QStringLiteral("NOMBRE"), vb::Variant::Null(), QStringLiteral("nuevo aux"), true, QStringLiteral("MIO"));
  EXPECT_EQ(base.filas("SELECT Grupo, Valor, ValorAux, PoliticaNegocio FROM TA_CONFIGURACION WHERE Clave = 'NOMBRE'"),
            QStringList{QStringLiteral("DATOS|ajeno|aux1|0")});
}
