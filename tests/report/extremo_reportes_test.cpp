// The program's main job end to end, in process: the demo database reached
// through a server alias, the form loaded offscreen and driven by the batch
// options, the real report engine writing a PDF, read back with pdftotext.
#include <gtest/gtest.h>

#include <sstream>

#include "report/lote_programa.h"
#include "tests/report/lote_apoyo.h"
#include "tests/support/guion_ui.h"

namespace {

using prueba::kUsuariosDemo;

class ExtremoReportes : public ::testing::Test {
 protected:
  void SetUp() override { empresa.usarEnProceso(); }

  // Runs the batch mode with these options and returns the PDF's text.
  QString reporte(QStringList opciones) {
    const QString pdf = empresa.programa.archivo(QStringLiteral("salida.pdf"));
    opciones.prepend(prueba::kParametrosDemo);
    opciones << QStringLiteral("--destino=pdf:") + pdf;
    salida.str({});
    avisos.str({});
    estado = lote::ejecutar(lote::leerOpciones(opciones), salida, avisos);
    prueba::instalarGuion();  // the console service goes with this run's streams
    mensajes = QString::fromStdString(avisos.str());
    EXPECT_EQ(estado, lote::kHecho) << mensajes.toStdString();
    EXPECT_EQ(QString::fromStdString(salida.str()), QStringLiteral("Reporte escrito en %1\n").arg(pdf));
    return prueba::textoPdf(pdf);
  }

  prueba::EmpresaDemo empresa;
  std::ostringstream salida, avisos;
  int estado = -1;
  QString mensajes;
};

TEST_F(ExtremoReportes, PorGrupoConRangoYUnidades) {
  const QString texto = reporte({QStringLiteral("--desde=B"), QStringLiteral("--hasta=J"),
                                 QStringLiteral("--unidades=0001,0002"), QStringLiteral("--agrupar=grupo")});
  // B..J (so JULIAN, after "J", is out) in Casa Central or Rosario.
  EXPECT_EQ(prueba::primerasPalabras(texto, kUsuariosDemo),
            (QSet<QString>{QStringLiteral("BRUNO"), QStringLiteral("CARLA"), QStringLiteral("HORACIO"),
                           QStringLiteral("INES")}))
      << texto.toStdString();
  EXPECT_TRUE(prueba::primerasPalabras(texto, prueba::kGruposDemo).isEmpty());
  EXPECT_TRUE(texto.contains(QStringLiteral("Usuarios por Grupo")));
  EXPECT_TRUE(texto.contains(QStringLiteral("Parámetros: U.Neg.:0001-0002")));
  EXPECT_TRUE(texto.contains(QStringLiteral("Grupo: COMPRAS")));
  EXPECT_TRUE(texto.contains(QStringLiteral("Compras y proveedores")));  // the group's own row, named in its header
  EXPECT_FALSE(texto.contains(QStringLiteral("Grupo: ADMINISTRADORES")));
  EXPECT_TRUE(texto.contains(QStringLiteral("Total de usuarios: 4")));
  EXPECT_TRUE(mensajes.isEmpty()) << mensajes.toStdString();
}

TEST_F(ExtremoReportes, SinEleccionesTodosLosUsuariosYNingunGrupo) {
  const QString texto = reporte({});
  EXPECT_EQ(prueba::primerasPalabras(texto, kUsuariosDemo), kUsuariosDemo);
  EXPECT_TRUE(prueba::primerasPalabras(texto, prueba::kGruposDemo).isEmpty());
  EXPECT_TRUE(texto.contains(QStringLiteral("Total de usuarios: 18")));
}

TEST_F(ExtremoReportes, PorUnidadDeNegocio) {
  const QString texto = reporte({QStringLiteral("--unidades=0003"), QStringLiteral("--agrupar=unidad")});
  EXPECT_EQ(prueba::primerasPalabras(texto, kUsuariosDemo),
            (QSet<QString>{QStringLiteral("FEDERICO"), QStringLiteral("GABRIELA"), QStringLiteral("MARTIN"),
                           QStringLiteral("PAULA")}))
      << texto.toStdString();
  EXPECT_TRUE(texto.contains(QStringLiteral("Unidad de Negocio: 0003 - Sucursal Córdoba")));
  EXPECT_FALSE(texto.contains(QStringLiteral("Unidad de Negocio: 0001")));
  EXPECT_TRUE(texto.contains(QStringLiteral("Parámetros: U.Neg.:0003")));
}

TEST_F(ExtremoReportes, PorTareaConUnidad) {
  // D9920 is run by the administrators and by ANA and ELENA; of those only
  // ANA is not in Administración y Finanzas.
  const QString texto =
      reporte({QStringLiteral("--agrupar=tarea"), QStringLiteral("--tareas=D9920"), QStringLiteral("--unidades=0005")});
  EXPECT_EQ(prueba::primerasPalabras(texto, kUsuariosDemo),
            (QSet<QString>{QStringLiteral("ADMIN"), QStringLiteral("ELENA"), QStringLiteral("LAURA")}))
      << texto.toStdString();
  EXPECT_TRUE(texto.contains(QStringLiteral("Tarea: D9920 ")));
  EXPECT_FALSE(texto.contains(QStringLiteral("Tarea: D9910")));  // a sibling, not ticked
  EXPECT_TRUE(texto.contains(QStringLiteral("Total de permisos: 3")));
}

TEST_F(ExtremoReportes, PorTareaMarcandoUnModuloConSusHijas) {
  // Ticking Órdenes de Producción ticks its two tasks too; the depot's users
  // and the administrators hold all three. D..M leaves out ADMIN, MARTIN and
  // SOFIA.
  const QString texto = reporte({QStringLiteral("--agrupar=tarea"), QStringLiteral("--tareas=D4020"),
                                 QStringLiteral("--desde=D"), QStringLiteral("--hasta=M")});
  EXPECT_EQ(prueba::primerasPalabras(texto, kUsuariosDemo),
            (QSet<QString>{QStringLiteral("DIEGO"), QStringLiteral("HORACIO"), QStringLiteral("LAURA")}))
      << texto.toStdString();
  for (const char* tarea : {"Tarea: D4020 ", "Tarea: D402010 ", "Tarea: D402020 "})
    EXPECT_TRUE(texto.contains(QString::fromLatin1(tarea))) << tarea;
  EXPECT_FALSE(texto.contains(QStringLiteral("Tarea: D4010 ")));
  EXPECT_TRUE(texto.contains(QStringLiteral("Total de permisos: 9")));
}

}  // namespace

namespace {

TEST(ExtremoFallos, SinArchivoDeReporteNoHayPdfYElEstadoLoDice) {
  prueba::EmpresaDemo empresa;
  empresa.usarEnProceso();
  ASSERT_TRUE(QFile::remove(empresa.programa.archivo(QStringLiteral("RP_Usuarios_UNEG.rpt"))));
  const QString pdf = empresa.programa.archivo(QStringLiteral("salida.pdf"));
  std::ostringstream salida, avisos;
  const int estado = lote::ejecutar(lote::leerOpciones({prueba::kParametrosDemo, QStringLiteral("--agrupar=unidad"),
                                                        QStringLiteral("--destino=pdf:") + pdf}),
                                    salida, avisos);
  prueba::instalarGuion();
  const QString mensajes = QString::fromStdString(avisos.str());
  EXPECT_EQ(estado, lote::kFallo);
  // No file of its own and no shared file: the path left is the folder's ".rpt".
  EXPECT_TRUE(mensajes.contains(QStringLiteral("Aviso al Operador: No se encuentra el Archivo ") +
                                empresa.programa.archivo(QStringLiteral(".rpt (RP_Usuarios_UNEG)"))))
      << mensajes.toStdString();
  EXPECT_TRUE(mensajes.contains(QStringLiteral("error '53'"))) << mensajes.toStdString();
  EXPECT_TRUE(salida.str().empty()) << salida.str();
  EXPECT_FALSE(QFile::exists(pdf));
}

}  // namespace
