// OpenLocalADODB on a local file with a database password: the password is
// asked for after each refusal, and three refused passwords end the operation.
#include <gtest/gtest.h>

#include <QFile>

#include "data/db_dll.h"
#include "tests/data/base_prueba.h"
#include "tests/support/guion_ui.h"

namespace {

// The password "Señal" with salt "s4l", as the administrator's sqlite3 command writes it.
const char* kConClave =
    "CREATE TABLE ADO_CLAVE_BASE (SAL TEXT NOT NULL, RESUMEN TEXT NOT NULL);"
    "INSERT INTO ADO_CLAVE_BASE VALUES ('s4l', '783da1d81d1c90b448dabaf33afbbe9ec5874d0fabb5e652e211ad08a0fd0d46');";

const QString kPide = QStringLiteral("ingrese el password:");
const QString kTitulo = QStringLiteral("Password Access");

class ClaveLocal : public ::testing::Test {
 protected:
  ClaveLocal() {
    base_.ejecutar(QStringLiteral("EMPRESA"), kConClave);
    DB_Dll& d = db();
    d.gProveedor = d.pJETOLEDB40();
    d.gDBName = base_.archivo(QStringLiteral("EMPRESA"));
    d.gUsuario = QStringLiteral("admin");
  }
  void abrir() { db().OpenLocalADODB(QString(), QStringLiteral("User ID"), QStringLiteral("Password")); }

  prueba::BaseSuite base_;
};

}  // namespace

TEST_F(ClaveLocal, TresContrasenasRechazadasLoDicenYTerminan) {
  auto& ui = prueba::guion();
  ui.esperarEntrada(QStringLiteral("mala"), kPide, kTitulo);
  ui.esperarEntrada(QStringLiteral("señal"), kPide, kTitulo);  // the password is compared exactly
  ui.esperarEntrada(QString(), kPide, kTitulo);                // a cancelled box: an empty password
  ui.esperarMensaje(ui::vbOK, QStringLiteral("rechazada 3 veces"), kTitulo);
  abrir();
  ui.verificar();
  EXPECT_EQ(ui.mostradas().size(), 4u);  // nothing more is asked once it has ended
  EXPECT_EQ(db().gCnn.State(), ado::adStateClosed);
  EXPECT_TRUE(db().gConnString.isEmpty());
}

TEST_F(ClaveLocal, LaContrasenaCorrectaAlSegundoIntentoAbre) {
  auto& ui = prueba::guion();
  ui.esperarEntrada(QStringLiteral("mala"), kPide, kTitulo);
  ui.esperarEntrada(QStringLiteral("Señal"), kPide, kTitulo);
  abrir();
  ui.verificar();
  DB_Dll& d = db();
  ASSERT_EQ(d.gCnn.State(), ado::adStateOpen);
  // The attribute of the last restart replaces the one refused.
  EXPECT_EQ(d.gConnString, "PROVIDER=Microsoft.Jet.OLEDB.4.0;Data Source =" + d.gDBName +
                               ";User ID=admin;Password=; Jet OLEDB:Database Password=Señal;");
  EXPECT_EQ(d.DatosTabla(QStringLiteral("TA_USUARIOS"), QStringLiteral("U1"), QStringLiteral("Administrador"),
                         QStringLiteral("nombre"), 8, QString(), true)
                .toText(),
            "1");
}

TEST_F(ClaveLocal, ConIgnoraPasswordSeOfreceLaDelUsuarioSinPreguntar) {
  DB_Dll& d = db();
  d.gIgnoraPassWord = vb::Variant(true);
  d.gUserPassWord = QStringLiteral("Señal");
  abrir();
  EXPECT_TRUE(prueba::guion().mostradas().empty());
  ASSERT_EQ(d.gCnn.State(), ado::adStateOpen);
  EXPECT_TRUE(d.gConnString.endsWith(";Jet OLEDB:Database Password=Señal;"));
  d.gCnn.Close();

  // A wrong one would be offered again and again: the same bound ends it.
  d.gUserPassWord = QStringLiteral("otra");
  d.gConnString.clear();
  prueba::guion().esperarMensaje(ui::vbOK, QStringLiteral("rechazada 3 veces"), kTitulo);
  abrir();
  EXPECT_EQ(prueba::guion().mostradas().size(), 1u);
  EXPECT_EQ(d.gCnn.State(), ado::adStateClosed);
  EXPECT_TRUE(d.gConnString.isEmpty());
}

TEST_F(ClaveLocal, SinTablaDeClaveNoSePideNada) {
  const QString otra = base_.archivo(QStringLiteral("SINCLAVE"));
  base_.ejecutar(QStringLiteral("SINCLAVE"), "CREATE TABLE T (A INT);");
  DB_Dll& d = db();
  d.gDBName = otra;
  abrir();
  EXPECT_TRUE(prueba::guion().mostradas().empty());
  EXPECT_EQ(d.gCnn.State(), ado::adStateOpen);
}
