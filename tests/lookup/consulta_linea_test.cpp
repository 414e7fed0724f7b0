// The command-line lookup: options in, the user's choice printed out.
#include "tests/lookup/apoyo.h"

using prueba::Consultas;

namespace {

// Runs the option and gives what it printed.
int correr(const QStringList& args, std::string& salida) {
  testing::internal::CaptureStdout();
  const int r = ejecutarConsultaLinea(args);
  salida = testing::internal::GetCapturedStdout();
  return r;
}

TEST_F(Consultas, ConsultaDeLineaImprimeLoElegido) {
  std::string salida;
  QString sql;
  prueba::guion().esperarModal([&](QDialog& d) {
    auto& f = dynamic_cast<Lib_FrmCons3&>(d);
    sql = f.SQL;
    // The key searches the first column, which here is Dada_De_Baja.
    EXPECT_EQ(f.cajaBusqueda(0)->text(), QStringLiteral("1"));
    EXPECT_EQ(f.modelo().celda(f.filaSeleccionada(), 2), QStringLiteral("Castro"));
    prueba::pulsar(d, QStringLiteral("Aceptar"));
  });
  EXPECT_EQ(
      correr({"--consulta", "VT_CLIENTES", "--campo", "CODIGO", "--devolver", "NOMBRE,ZONA", "--clave", "1"}, salida),
      0);
  // A table without a mask: the generic statement, searched by NOMBRE.
  EXPECT_EQ(sql, QStringLiteral("SELECT TOP 1000 Dada_De_Baja,ZONA,NOMBRE,CODIGO FROM VT_CLIENTES ORDER BY NOMBRE "));
  EXPECT_EQ(salida, "ValorDevuelto=C5\nValores=Castro\nValores=1\n");

  // Check boxes: every checked row, by the returned column.
  prueba::guion().esperarModal([&](QDialog& d) {
    auto& f = dynamic_cast<Lib_FrmCons3&>(d);
    EXPECT_TRUE(f.modelo().checkable());
    f.modelo().setMarcada(0, true);
    f.modelo().setMarcada(2, true);
    prueba::pulsar(d, QStringLiteral("Aceptar"));
  });
  EXPECT_EQ(
      correr({"--consulta", "SELECT CODIGO, NOMBRE FROM VT_CLIENTES ORDER BY CODIGO", "--checks", "--campo", "NOMBRE"},
             salida),
      0);
  EXPECT_EQ(salida, "ValorDevuelto=\nValores=Arce\nValores=Benitez\n");
}

TEST_F(Consultas, ConsultaDeLineaEnArbol) {
  base.ejecutar(
      "INSERT INTO PLAN VALUES ('1', 'Activo'), ('11', 'Caja'); INSERT INTO MA_CUENTAS VALUES ('11', 'Caja')");
  prueba::guion().esperarModal(
      [&](QDialog& d) {
        prueba::teclear(d, QStringLiteral("CmbSearch(0)"), QStringLiteral("caj"));
        prueba::pulsar(d, QStringLiteral("Aceptar"));
      },
      QStringLiteral("Lib_FrmCons3Tree"));
  std::string salida;
  EXPECT_EQ(
      correr({"--consulta", "SELECT CODIGO, DESCRIPCION FROM PLAN ORDER BY CODIGO", "--arbol", "--campo", "CODIGO"},
             salida),
      0);
  EXPECT_EQ(salida, "ValorDevuelto=11\n");

  // Cancelar says so by the status.
  prueba::guion().esperarModal([&](QDialog& d) { prueba::pulsar(d, QStringLiteral("Cancelar")); });
  EXPECT_EQ(correr({"--consulta", "VT_CLIENTES"}, salida), 1);
  EXPECT_EQ(salida, "ValorDevuelto=\n");
}

TEST_F(Consultas, ConsultaDeLineaConOpcionesMalas) {
  std::string salida;
  testing::internal::CaptureStderr();
  EXPECT_EQ(correr({"--consulta"}, salida), 2);                           // no value
  EXPECT_EQ(correr({"--campo", "CODIGO"}, salida), 2);                    // nothing to look up
  EXPECT_EQ(correr({"--consulta", "VT_CLIENTES", "--otra"}, salida), 2);  // not an option of ours
  const std::string errores = testing::internal::GetCapturedStderr();
  EXPECT_NE(errores.find("--otra"), std::string::npos);
  EXPECT_TRUE(salida.empty());
  EXPECT_EQ(prueba::guion().mostradas().size(), 0u);  // no dialog was shown
}

}  // namespace
