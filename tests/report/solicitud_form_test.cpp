// The report request as the form sends it: what reaches the launcher, what
// the user sees when it cannot be made, and a real report for a name with an
// apostrophe.
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QRadioButton>
#include <QToolButton>

#include "report/motor_programa.h"
#include "services/sesion.h"
#include "suite/tbarrep.h"
#include "tests/report/form_apoyo.h"

namespace {

using prueba::FormPrueba;

QString textoPdf(const QString& ruta) {
  QProcess p;
  p.start(QStringLiteral("pdftotext"), {ruta, QStringLiteral("-")});
  p.waitForFinished(30000);
  return QString::fromUtf8(p.readAllStandardOutput());
}

TEST_F(FormPrueba, LaSolicitudLlegaAlLanzadorConSusArgumentos) {
  cargar();
  form->txtfields(14)->setText(QStringLiteral("ana"));
  form->txtfields(15)->setText(QStringLiteral("ana"));
  form->LstUNeg()->item(0)->setSelected(true);
  form->LstUNeg()->item(2)->setSelected(true);
  form->OptTipoReporte(1)->setChecked(true);
  form->TreeView1()->Nodes()(1).setChecked(true);  // ignored: not grouped by task
  ZepaKit2::Lanzador& l = ZepaKit2::lanzador();
  l.setAjuste(0);

  // Keys are taken in any case.
  ASSERT_TRUE(form->TBarRep1_BotonPulsado(QStringLiteral("impresora")));
  ASSERT_EQ(motor->pedidos.size(), 1u);
  const ZepaKit2::SolicitudReporte p = motor->pedidos[0];
  EXPECT_EQ(p.destino, ZepaKit2::Lanzador::DestinoImpresora());
  EXPECT_EQ(p.archivoReporte, programa.archivo(QStringLiteral("RP_Usuarios_UNEG.rpt")));
  EXPECT_EQ(p.textos, QStringList{QString()});
  EXPECT_EQ(p.formulaSeleccion,
            QStringLiteral("TrimLeft(TrimRight({Ta_usuarios.nombre})) >= 'ana'  AND "
                           "TrimLeft(TrimRight({Ta_usuarios.nombre})) <= 'ana'  AND {Ta_usuarios.esgrupo}=FALSE"
                           " AND ({TA_USUARIOS.UNEGOCIO} = '0001'  OR {TA_USUARIOS.UNEGOCIO} = '0003' ) "));
  EXPECT_EQ(p.conexion, QStringLiteral("DSN=EMPRESA; UID=ADMIN; PWD=x"));
  EXPECT_EQ(p.formulas[0], QStringLiteral("Parametros = ' U.Neg.:0001-0003'"));
  EXPECT_TRUE(p.formulas[1].isEmpty() && p.formulas[4].isEmpty());
  EXPECT_TRUE(p.opcionA && p.opcionB && p.opcionC);
  EXPECT_EQ(l.Ajuste(), 20);

  // The same form asked again gives the same request, on screen this time.
  ASSERT_TRUE(form->TBarRep1_BotonPulsado(QStringLiteral("Pantalla")));
  ASSERT_EQ(motor->pedidos.size(), 2u);
  EXPECT_EQ(motor->pedidos[1].destino, ZepaKit2::Lanzador::DestinoPantalla());
  EXPECT_EQ(motor->pedidos[1].formulaSeleccion, p.formulaSeleccion);
  // Any other key does nothing.
  EXPECT_FALSE(form->TBarRep1_BotonPulsado(QStringLiteral("OTRA")));
  EXPECT_EQ(motor->pedidos.size(), 2u);
  EXPECT_TRUE(prueba::guion().mostradas().empty());
}

TEST_F(FormPrueba, TareasMarcadasConElAgrupamientoPorTareas) {
  cargar();
  form->OptTipoReporte(2)->setChecked(true);
  form->TreeView1()->Nodes()(QStringLiteral("D1010")).setChecked(true);
  form->TreeView1()->Nodes()(QStringLiteral("D2010")).setChecked(true);
  ASSERT_TRUE(form->TBarRep1_BotonPulsado(QStringLiteral("PANTALLA")));
  ASSERT_EQ(motor->pedidos.size(), 1u);
  EXPECT_EQ(motor->pedidos[0].archivoReporte, programa.archivo(QStringLiteral("RP_Usuarios_TAREAS.rpt")));
  EXPECT_EQ(
      motor->pedidos[0].formulaSeleccion,
      QStringLiteral("{Ta_usuarios.esgrupo}=FALSE AND ({TA_MENU.CLAVE} = 'D1010'  OR {TA_MENU.CLAVE} = 'D2010' ) "));
  EXPECT_EQ(motor->pedidos[0].formulas[0], QStringLiteral("Parametros = ''"));
}

TEST_F(FormPrueba, DesdeMayorQueHastaAvisaYNoPideElReporte) {
  cargar();
  form->txtfields(14)->setText(QStringLiteral("zeta"));
  form->txtfields(15)->setText(QStringLiteral("ana"));
  prueba::guion().esperarMensaje(ui::vbOK, QStringLiteral("Desde Mayor que Hasta, Campo : {Ta_usuarios.nombre}"),
                                 QStringLiteral("Aviso al Operador"));
  EXPECT_FALSE(form->TBarRep1_BotonPulsado(QStringLiteral("PANTALLA")));
  EXPECT_TRUE(motor->pedidos.empty());
  EXPECT_EQ(form->txtfields(14)->text(), QStringLiteral("zeta"));
  EXPECT_EQ(form->txtfields(15)->text(), QStringLiteral("ana"));
  EXPECT_FALSE(prueba::guion().terminado());
}

TEST_F(FormPrueba, UnErrorDelReporteSeMuestraYElFormularioSigue) {
  cargar();
  mostrar();
  form->txtfields(14)->setText(QStringLiteral("ana"));
  form->LstUNeg()->item(1)->setSelected(true);
  motor->falla = vb::Error(vb::kFileNotFound, QStringLiteral("El motor no pudo abrir el reporte"));
  prueba::guion().esperarMensaje(ui::vbOK, QStringLiteral("El motor no pudo abrir el reporte"),
                                 QStringLiteral("Aviso al Operador"));
  // Through the toolbar's own button, as the user presses it.
  form->TBarRep1()->boton(ToolsRep::TBarRep::kPantalla)->click();
  ASSERT_EQ(motor->pedidos.size(), 1u);
  EXPECT_EQ(prueba::guion().mostradas().back().botones & ui::vbCritical, ui::vbCritical);
  EXPECT_FALSE(prueba::guion().terminado());
  EXPECT_TRUE(form->isVisible());
  EXPECT_EQ(form->txtfields(14)->text(), QStringLiteral("ana"));
  EXPECT_TRUE(form->LstUNeg()->item(1)->isSelected());
  // The same failure seen by the caller of the handler.
  prueba::guion().esperarMensaje(ui::vbOK, QStringLiteral("El motor no pudo abrir el reporte"));
  EXPECT_FALSE(form->TBarRep1_BotonPulsado(QStringLiteral("IMPRESORA")));
  // Once the engine works again, the same choices give the report.
  motor->falla.reset();
  EXPECT_TRUE(form->TBarRep1_BotonPulsado(QStringLiteral("PANTALLA")));
  EXPECT_EQ(motor->pedidos.size(), 3u);
}

TEST_F(FormPrueba, SinArchivoDeReporteAvisaDosVecesYNoTermina) {
  QFile::remove(programa.archivo(QStringLiteral("RP_Usuarios_Grupos.rpt")));
  ZepaKit2::lanzador().setMotor(std::make_shared<rp_usuarios::MotorPrograma>());
  cargar();
  ZepaKit2::lanzador().setDestino(ZepaKit2::Lanzador::DestinoArchivo());
  ZepaKit2::lanzador().setArchivoDestino(programa.archivo(QStringLiteral("salida.pdf")));
  // The resolution tells the operator first; the engine then cannot open it.
  prueba::guion().esperarMensaje(ui::vbOK, QStringLiteral("(RP_Usuarios_Grupos)"), QStringLiteral("Aviso al Operador"));
  EXPECT_THROW(form->GenerarReporte(), vb::Error);
  prueba::guion().verificar();
  prueba::guion().esperarMensaje(ui::vbOK, QStringLiteral("(RP_Usuarios_Grupos)"), QStringLiteral("Aviso al Operador"));
  prueba::guion().esperarMensaje(ui::vbOK, QStringLiteral("No se encuentra el archivo de reporte"),
                                 QStringLiteral("Aviso al Operador"));
  EXPECT_FALSE(form->TBarRep1_BotonPulsado(QStringLiteral("PANTALLA")));
  EXPECT_FALSE(prueba::guion().terminado());
  EXPECT_FALSE(QFile::exists(programa.archivo(QStringLiteral("salida.pdf"))));
}

TEST_F(FormPrueba, CerrarYConsultarDesdeLaBarra) {
  cargar();
  EXPECT_TRUE(form->TBarRep1_BotonPulsado(QStringLiteral("consultar")));  // no tag: nothing to look up
  EXPECT_TRUE(prueba::guion().mostradas().empty());
  EXPECT_THROW(form->TBarRep1_BotonPulsado(QStringLiteral("cerrar")), ui::FinPrograma);
  EXPECT_TRUE(prueba::guion().terminado());
}

// A name with an apostrophe selects that user in a real report.
TEST_F(FormPrueba, UnNombreConApostrofeDaSuReporte) {
  base.ejecutar(
      "INSERT INTO TA_USUARIOS (Nombre, UNegocio, EsGrupo) VALUES ('O''Brien', '0001', 0), ('Ana', '0001', 0), "
      "('Oscar', '0003', 0), ('O''Brien Grupo', '0001', 1)");
  programa.escribir(QStringLiteral("RP_Usuarios_Grupos.rpt"), R"({
    "titulo": "Usuarios",
    "consulta": "SELECT NOMBRE, UNEGOCIO, ESGRUPO FROM TA_USUARIOS",
    "orden": ["NOMBRE"],
    "columnas": [ { "campo": "NOMBRE", "titulo": "Usuario" }, { "campo": "UNEGOCIO", "titulo": "Unidad" } ],
    "formulas": { "Parametros": "" }
  })");
  ZepaKit2::lanzador().setMotor(std::make_shared<rp_usuarios::MotorPrograma>());
  cargar();
  const QString pdf = programa.archivo(QStringLiteral("salida.pdf"));
  ZepaKit2::lanzador().setDestino(ZepaKit2::Lanzador::DestinoArchivo());
  ZepaKit2::lanzador().setArchivoDestino(pdf);
  form->txtfields(14)->setText(QStringLiteral("O'Brien"));
  form->txtfields(15)->setText(QStringLiteral("o'brien"));
  form->LstUNeg()->item(0)->setSelected(true);
  try {
    form->GenerarReporte();
  } catch (const vb::Error& e) {
    FAIL() << e.Description().toStdString();
  }
  const QString texto = textoPdf(pdf);
  EXPECT_TRUE(texto.contains(QStringLiteral("O'Brien"))) << texto.toStdString();
  EXPECT_FALSE(texto.contains(QStringLiteral("Ana")));
  EXPECT_FALSE(texto.contains(QStringLiteral("Oscar")));
  EXPECT_FALSE(texto.contains(QStringLiteral("Grupo")));
  EXPECT_TRUE(texto.contains(QStringLiteral("U.Neg.:0001")));
}

}  // namespace
