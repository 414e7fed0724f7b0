// The preview's printer button through the real print dialog and the
// private CUPS service: the pages of the dialog's range reach the queue.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

#include "engine/motor.h"
#include "engine/vista_previa.h"
#include "tests/engine/apoyo.h"
#include "tests/support/cups.h"
#include "tests/support/guion_ui.h"
#include "tests/support/temp_folder.h"

using namespace engine;

TEST(ImpresionCups, LaVistaPreviaImprimeElRangoElegido) {
  KV_REQUIERE_CUPS();
  prueba::CarpetaTemporal carpeta;
  QByteArray sql = "BEGIN; CREATE TABLE T (NOMBRE VARCHAR(20));\n";
  for (int i = 0; i < 400; ++i) sql += QString("INSERT INTO T VALUES ('fila%1');\n").arg(i, 4, 10, QChar('0')).toUtf8();
  SolicitudReporte s;
  s.archivo = carpeta.escribir("RP_Filas.rpt", R"({"titulo": "Filas numeradas", "consulta": "SELECT NOMBRE FROM T",
      "orden": ["NOMBRE"], "columnas": [ { "campo": "NOMBRE", "titulo": "Nombre" } ]})");
  s.conexion = "DSN_QUE_NO_EXISTE";
  s.conexionAbierta = prueba::abrirBase(prueba::crearBase(carpeta.archivo("filas.db"), sql + "COMMIT;\n"));
  s.destino = Destino::Pantalla;
  s.opcionC = false;
  VistaPrevia v(ReportePreparado::preparar(s), s);

  // As a person would: pages 2 to 3 in the dialog, on the default printer.
  QString impresora;
  prueba::guion().esperarModal([&](QDialog& d) {
    auto* dialogo = qobject_cast<QPrintDialog*>(&d);
    ASSERT_NE(dialogo, nullptr);
    impresora = dialogo->printer()->printerName();
    d.findChild<QAbstractButton*>("printRange")->click();
    d.findChild<QSpinBox*>("from")->setValue(2);
    d.findChild<QSpinBox*>("to")->setValue(3);
    d.accept();
  });
  const QStringList antes = prueba::trabajosCups();
  QTest::mouseClick(v.findChild<QAbstractButton*>("cmdImprimir"), Qt::LeftButton);
  prueba::guion().verificar();
  EXPECT_EQ(impresora, qEnvironmentVariable("KV_CUPS_COLA"));
  const int n = v.paginasMaquetadas();
  ASSERT_GT(n, 4);

  const QString trabajo = prueba::esperarTrabajoCups(antes, QStringLiteral("Filas numeradas"));
  ASSERT_FALSE(trabajo.isEmpty());
  const QStringList paginas = prueba::textoPdf(trabajo).split('\f', Qt::SkipEmptyParts);
  ASSERT_EQ(paginas.size(), 2);
  EXPECT_TRUE(paginas[0].contains(QString("Página 2 de %1").arg(n))) << paginas[0].toStdString();
  EXPECT_TRUE(paginas[1].contains(QString("Página 3 de %1").arg(n))) << paginas[1].toStdString();
  EXPECT_TRUE(paginas[0].contains("Filas numeradas"));
  EXPECT_FALSE(paginas[0].contains("fila0000"));  // page one's first row
}
