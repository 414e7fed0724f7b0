// The database password of a local file: set as the administrator sets it
// (the sqlite3 command of docs/servidores.md), checked at open.
#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include "platform/ado/connection.h"
#include "platform/ado/recordset.h"
#include "platform/vb/error.h"
#include "tests/platform/ado/base_prueba.h"

using namespace ado;

namespace {

class ClaveArchivo : public ::testing::Test {
 protected:
  ClaveArchivo() { prueba::crearBase(archivo_, prueba::kEsquemaUsuarios); }
  QString cadena(const QString& extra = {}) const {
    return QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source =%1;User ID=admin;Password=;%2")
        .arg(archivo_, extra);
  }
  // The failure of opening, or an empty error when it opened.
  ado::Error abrir(const QString& extra) {
    Connection cn;
    try {
      cn.Open(cadena(extra));
    } catch (const vb::Error& e) {
      EXPECT_EQ(cn.State(), adStateClosed);
      EXPECT_EQ(cn.Errors().Count(), 1);
      return cn.Errors().Count() ? cn.Errors()[0] : ado::Error(e.Number(), e.Description(), {}, {}, 0);
    }
    EXPECT_EQ(cn.State(), adStateOpen);
    return {};
  }

  prueba::CarpetaTemporal datos_;
  QString archivo_ = datos_.archivo(QStringLiteral("base.mdb"));
};

}  // namespace

TEST_F(ClaveArchivo, TheAdministratorsCommandSetsAPasswordThatIsCheckedAtOpen) {
  const QString sqlite3 = QStandardPaths::findExecutable(QStringLiteral("sqlite3"));
  if (sqlite3.isEmpty()) GTEST_SKIP() << "the sqlite3 command is not installed";
  EXPECT_TRUE(abrir({}).SQLState().isEmpty());  // no password yet

  QProcess p;
  p.start(
      sqlite3,
      {archivo_, QStringLiteral("CREATE TABLE IF NOT EXISTS ADO_CLAVE_BASE (SAL TEXT NOT NULL, RESUMEN TEXT NOT NULL);"
                                " DELETE FROM ADO_CLAVE_BASE;"
                                " INSERT INTO ADO_CLAVE_BASE VALUES ('k7Qp2', lower(hex(sha3('k7Qp2' || 'la "
                                "contraseña', 256))));")});
  ASSERT_TRUE(p.waitForFinished(10000));
  ASSERT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();

  for (const QString& mala : {QString(), QStringLiteral("Jet OLEDB:Database Password=;"),
                              QStringLiteral("Jet OLEDB:Database Password=La contraseña;"),
                              QStringLiteral("Jet OLEDB:Database Password=la contrasena;")}) {
    const ado::Error e = abrir(mala);
    EXPECT_EQ(e.SQLState(), "3031") << mala.toStdString();
    EXPECT_EQ(e.Number(), kErrorAutenticacion);
    EXPECT_EQ(e.NativeError(), 3031);
    EXPECT_EQ(e.Description(), "No es una contraseña válida.");
  }
  // Blanks around the attribute's name, as the program writes it after asking.
  EXPECT_TRUE(abrir(QStringLiteral(" Jet OLEDB:Database Password=la contraseña;")).SQLState().isEmpty());
  // The last occurrence wins, as in any connection string.
  EXPECT_TRUE(abrir(QStringLiteral("Jet OLEDB:Database Password=x; Jet OLEDB:Database Password=la contraseña;"))
                  .SQLState()
                  .isEmpty());
}

TEST_F(ClaveArchivo, AnEmptyPasswordTableMeansNoPasswordAndServerAliasesIgnoreIt) {
  prueba::crearBase(archivo_, "CREATE TABLE ADO_CLAVE_BASE (SAL TEXT NOT NULL, RESUMEN TEXT NOT NULL);");
  EXPECT_TRUE(abrir({}).SQLState().isEmpty());
  prueba::crearBase(archivo_, "INSERT INTO ADO_CLAVE_BASE VALUES ('s', 'ff');");
  EXPECT_EQ(abrir({}).SQLState(), "3031");
  // A server alias takes no database password: the same file opens as a server database.
  const QString carpeta = QFileInfo(archivo_).absolutePath();
  QFile::copy(archivo_, carpeta + QStringLiteral("/EMPRESA.db"));
  prueba::Servidores servidores("[Servidores]\nLOCAL=sqlite:" + carpeta.toUtf8() + "\n");
  Connection cn;
  cn.Open(QStringLiteral("PROVIDER=SQLOLEDB;Server=local;Database =EMPRESA;UId=u;Pwd=p;"));
  EXPECT_EQ(cn.State(), adStateOpen);
}
