// The launcher with the program's engine plugged in: a request made through
// ZepaKit2::Lanzador reaches the engine and writes a real report over the
// program's open connection.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QProcess>
#include <QTest>

#include "data/db_dll.h"
#include "engine/vista_previa.h"
#include "platform/ctx/programa.h"
#include "platform/vb/error.h"
#include "report/motor_programa.h"
#include "services/sesion.h"
#include "suite/archivo_ini.h"
#include "tests/support/guion_ui.h"
#include "tests/support/temp_folder.h"

namespace {

QString textoPdf(const QString& ruta) {
  QProcess p;
  p.start(QStringLiteral("pdftotext"), {ruta, QStringLiteral("-")});
  p.waitForFinished(30000);
  return QString::fromUtf8(p.readAllStandardOutput());
}

class MotorProgramaTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const QString base = carpeta.escribir(QStringLiteral("demo.db"), QByteArray());  // an empty file is a new database
    db().gCnn.Open(QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + base);
    db().gCnn.Execute(
        QStringLiteral("CREATE TABLE TA_USUARIOS (NOMBRE VARCHAR(30) COLLATE NOCASE, ESGRUPO BIT, UNEGOCIO CHAR(4))"));
    db().gCnn.Execute(QStringLiteral("INSERT INTO TA_USUARIOS VALUES ('ana', 0, '0001')"));
    db().gCnn.Execute(QStringLiteral("INSERT INTO TA_USUARIOS VALUES ('bruno', 0, '0002')"));
    db().gCnn.Execute(QStringLiteral("INSERT INTO TA_USUARIOS VALUES ('ADMINISTRADORES', 1, '0001')"));
    reporte = carpeta.escribir(QStringLiteral("usuarios.rpt"), R"({
      "titulo": "Usuarios",
      "consulta": "SELECT NOMBRE, ESGRUPO, UNEGOCIO FROM TA_USUARIOS",
      "orden": ["NOMBRE"],
      "columnas": [ { "campo": "NOMBRE", "titulo": "Usuario" }, { "campo": "UNEGOCIO", "titulo": "Unidad" } ],
      "formulas": { "Parametros": "" }
    })");
  }

  prueba::CarpetaTemporal carpeta;
  QString reporte;
};

TEST_F(MotorProgramaTest, ElLanzadorEscribeElReporteConLaConexionDelPrograma) {
  rp_usuarios::conectarMotorReportes();
  ZepaKit2::Lanzador& l = ZepaKit2::lanzador();
  l.setDestino(ZepaKit2::Lanzador::DestinoArchivo());
  const QString pdf = carpeta.archivo(QStringLiteral("salida.pdf"));
  l.setArchivoDestino(pdf);
  QString p1 = QStringLiteral("Parametros = ' U.Neg.:0001'"), p2, p3, p4, p5;
  // No ODBC data source is called "demo": the engine takes the open connection.
  l.EmitirReporte(reporte, {QString()},
                  QStringLiteral("{Ta_usuarios.esgrupo}=FALSE AND {TA_USUARIOS.UNEGOCIO} = '0001'"),
                  QStringLiteral("DSN=demo; UID=; PWD="), p1, p2, p3, p4, p5);
  const QString texto = textoPdf(pdf);
  EXPECT_TRUE(texto.contains(QStringLiteral("ana")));
  EXPECT_FALSE(texto.contains(QStringLiteral("bruno")));
  EXPECT_FALSE(texto.contains(QStringLiteral("ADMINISTRADORES")));
  EXPECT_TRUE(texto.contains(QStringLiteral("U.Neg.:0001")));
}

TEST_F(MotorProgramaTest, UnErrorDelMotorLlegaAlLlamadorComoErrorDeEjecucion) {
  rp_usuarios::conectarMotorReportes();
  ZepaKit2::Lanzador& l = ZepaKit2::lanzador();
  l.setDestino(ZepaKit2::Lanzador::DestinoArchivo());
  l.setArchivoDestino(carpeta.archivo(QStringLiteral("salida.pdf")));
  QString p1, p2, p3, p4, p5;
  try {
    l.EmitirReporte(carpeta.archivo(QStringLiteral("no_existe.rpt")), {QString()}, QString(),
                    QStringLiteral("DSN=demo; UID=; PWD="), p1, p2, p3, p4, p5);
    FAIL() << "a missing report file must raise";
  } catch (const vb::Error& e) {
    EXPECT_TRUE(e.Description().contains(QStringLiteral("no_existe.rpt"))) << e.Description().toStdString();
  }
  EXPECT_FALSE(QFile::exists(carpeta.archivo(QStringLiteral("salida.pdf"))));
}

// The zoom picked in one preview is the next one's, through the user's section of the settings file.
TEST_F(MotorProgramaTest, LaVistaPreviaRecuerdaElZoomElegido) {
  ctx::actual().setCarpetaConfiguracion(carpeta.ruta());
  ModGlobal::sesion().gSeccionEstacion = QStringLiteral("PC01|ANA");
  rp_usuarios::conectarMotorReportes();
  auto& ui = prueba::instalarGuion();
  ZepaKit2::Lanzador& l = ZepaKit2::lanzador();
  l.setDestino(ZepaKit2::Lanzador::DestinoPantalla());
  l.setAjuste(20);
  const auto emitir = [&] {
    QString p1, p2, p3, p4, p5;
    l.EmitirReporte(reporte, {QString()}, QString(), QStringLiteral("DSN=demo; UID=; PWD="), p1, p2, p3, p4, p5);
  };
  ui.esperarModal([](QDialog& d) {
    auto& v = dynamic_cast<engine::VistaPrevia&>(d);
    EXPECT_EQ(v.zoom(), engine::kZoomAncho);  // nothing remembered: the launcher's Ajuste
    auto* zoom = v.findChild<QComboBox*>(QStringLiteral("cboZoom"));
    zoom->setFocus();
    QTest::keyClick(zoom, Qt::Key_Down);  // "Página completa"
    d.accept();
  });
  emitir();
  EXPECT_EQ(ZepaKit2::archivoIni().LeerIni(QStringLiteral("CN000pr.INI"), QStringLiteral("PC01|ANA"),
                                           QStringLiteral("ZoomVistaPrevia")),
            QString::number(engine::kZoomPagina));
  ui.esperarModal([](QDialog& d) {
    EXPECT_EQ(dynamic_cast<engine::VistaPrevia&>(d).zoom(), engine::kZoomPagina);
    d.accept();
  });
  emitir();
}

}  // namespace
