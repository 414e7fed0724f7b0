// The console service for batch runs, the box rules it shares with the Qt
// one, and the twips conversion.
#include "platform/ui/consola_servicio.h"

#include <gtest/gtest.h>

#include <QDialog>
#include <fstream>
#include <sstream>

#include "platform/ui/botones.h"
#include "platform/ui/twips.h"
#include "tests/support/temp_folder.h"

namespace {

TEST(ConsolaServicio, MessageBoxesTakeTheirCancelAnswerAndAreWritten) {
  struct Caso {
    int botones;
    int respuesta;
    const char* rotulo;
  };
  const Caso casos[] = {
      {ui::vbOKOnly, ui::vbOK, "Aceptar"},
      {ui::vbOKCancel, ui::vbCancel, "Cancelar"},
      {ui::vbAbortRetryIgnore, ui::vbAbort, "Anular"},
      {ui::vbYesNoCancel, ui::vbCancel, "Cancelar"},
      {ui::vbYesNo, ui::vbNo, "No"},
      {ui::vbRetryCancel, ui::vbCancel, "Cancelar"},
  };
  for (const auto& caso : casos) {
    SCOPED_TRACE(caso.botones);
    std::ostringstream salida;
    ui::ConsolaServicio consola(salida);
    // Icon and default-button flags do not change the answer.
    EXPECT_EQ(consola.MsgBox("No se encuentra el Archivo a.rpt", caso.botones + ui::vbCritical + ui::vbDefaultButton2,
                             "Aviso al Operador"),
              caso.respuesta);
    EXPECT_EQ(salida.str(), std::string("Aviso al Operador: No se encuentra el Archivo a.rpt [") + caso.rotulo + "]\n");
  }
  // A detail follows on a line of its own.
  std::ostringstream salida;
  ui::ConsolaServicio consola(salida);
  consola.MsgBox("No hay reporte", ui::vbCritical, "Reporte", "SELECT *\r\nFROM T");
  EXPECT_EQ(salida.str(), "Reporte: No hay reporte [Aceptar]\n  Detalle: SELECT *\nFROM T\n");
}

TEST(ConsolaServicio, UntitledBoxesInputAndModalDialogs) {
  std::ostringstream salida;
  ui::ConsolaServicio consola(salida);
  consola.MsgBox("Línea 1\rLínea 2");
  EXPECT_EQ(QString::fromStdString(salida.str()), ui::tituloPrograma() + ": Línea 1\nLínea 2 [Aceptar]\n");

  salida.str({});
  EXPECT_EQ(consola.InputBox("Usuario:", "Entrada", "ana"), "");
  EXPECT_EQ(salida.str(), "Entrada: Usuario: [Cancelar]\n");

  salida.str({});
  QDialog dialogo;
  dialogo.setObjectName("frmAcceso");
  dialogo.setWindowTitle("Control de Acceso");
  dialogo.setResult(QDialog::Accepted);
  EXPECT_EQ(consola.MostrarModal(dialogo), QDialog::Rejected);
  EXPECT_EQ(dialogo.result(), QDialog::Rejected);  // a caller reading result() sees the cancel
  EXPECT_FALSE(dialogo.isVisible());
  EXPECT_EQ(salida.str(), "Control de Acceso: frmAcceso [Cancelar]\n");

  EXPECT_EQ(consola.Pantalla(), QSize(1920, 1080));
}

TEST(ConsolaServicioDeathTest, EndFlushesItsStreamAndExits) {
  prueba::CarpetaTemporal carpeta;
  const std::string ruta = carpeta.archivo("consola.txt").toStdString();
  EXPECT_EXIT(
      {
        std::ofstream archivo(ruta);
        ui::ConsolaServicio consola(archivo);
        archivo << "pendiente";
        consola.End(2);
        archivo << " despues";
      },
      ::testing::ExitedWithCode(2), "");
  EXPECT_EQ(carpeta.leer("consola.txt"), "pendiente");
}

TEST(BotonesCaja, UnknownGroupsAndAnswers) {
  // Codes above the known groups show OK alone rather than no button at all.
  ASSERT_EQ(ui::botonesCaja(7).size(), 1u);
  EXPECT_EQ(ui::botonesCaja(7)[0].respuesta, ui::vbOK);
  EXPECT_TRUE(ui::esRespuestaDe(ui::vbYesNo + ui::vbQuestion, ui::vbYes));
  EXPECT_FALSE(ui::esRespuestaDe(ui::vbYesNo, ui::vbCancel));
  EXPECT_EQ(ui::iconoCaja(ui::vbExclamation + ui::vbYesNo + ui::vbDefaultButton2), ui::vbExclamation);
  EXPECT_EQ(ui::iconoCaja(0x70), 0);  // not one of the four icons
  EXPECT_EQ(ui::textoRespuesta(99), "");
}

TEST(Twips, ConvertAtFifteenToThePixel) {
  EXPECT_EQ(ui::twips(1215), 81);
  EXPECT_EQ(ui::twips(100), 7);  // 6.67 rounds up
  EXPECT_EQ(ui::twips(7), 0);
  EXPECT_EQ(ui::twips(8), 1);
  EXPECT_EQ(ui::twips(-8), -1);
  EXPECT_EQ(ui::twips(2147483647), 143165576);  // no overflow on the way
  EXPECT_EQ(ui::aTwips(81), 1215);
  EXPECT_EQ(ui::rectTwips(120, 240, 4800, 285), QRect(8, 16, 320, 19));
  EXPECT_EQ(ui::tamanoTwips(6000, 4500), QSize(400, 300));
}

}  // namespace
