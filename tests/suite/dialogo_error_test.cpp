// The error dialog, driven offscreen through the scripted UI.
#include <gtest/gtest.h>

#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "suite/util_general.h"
#include "suite/ventana_error.h"
#include "tests/support/guion_ui.h"

using ZepaKit2::util;

namespace {

QString texto(QDialog& d, const char* nombre) {
  auto* l = d.findChild<QLabel*>(QString::fromLatin1(nombre));
  return l && l->isVisibleTo(&d) ? l->text() : QString();
}

QStringList botones(QDialog& d) {
  QStringList r;
  for (auto* b : static_cast<ZepaKit2::VentanaError&>(d).botones()) r << b->text();
  return r;
}

}  // namespace

TEST(DialogoError, CadaBotonDaSuRespuestaYSeVeElError) {
  const vb::Error error(vb::kFileNotFound, {}, QStringLiteral("DB_Dll"));
  const struct {
    const char* boton;
    int respuesta;
  } casos[] = {{"cmdReintentar", 4}, {"cmdIgnorar", 5}, {"cmdCancelar", 2}};
  for (const auto& caso : casos) {
    QString numero, descripcion, rutina, titulo;
    QStringList captions;
    prueba::guion().esperarModal(
        [&](QDialog& d) {
          numero = texto(d, "lblNumero");
          descripcion = texto(d, "lblDescripcion");
          rutina = texto(d, "lblRutina");
          titulo = d.windowTitle();
          captions = botones(d);
          auto* b = d.findChild<QPushButton*>(QString::fromLatin1(caso.boton));
          ASSERT_NE(b, nullptr);
          QTest::mouseClick(b, Qt::LeftButton);
        },
        QStringLiteral("frmDialogoError"));
    EXPECT_EQ(util().DialogoError(error, {}, QStringLiteral("Cfg")), caso.respuesta) << caso.boton;
    EXPECT_TRUE(numero.contains(QStringLiteral("53"))) << numero.toStdString();
    EXPECT_TRUE(descripcion.contains(QStringLiteral("No se encontró el archivo"))) << descripcion.toStdString();
    EXPECT_TRUE(rutina.contains(QStringLiteral("Cfg")));
    EXPECT_EQ(titulo, QStringLiteral("Aviso al Operador"));
    EXPECT_EQ(captions,
              (QStringList{QStringLiteral("Reintentar"), QStringLiteral("Ignorar"), QStringLiteral("Cancelar")}));
  }
}

TEST(DialogoError, EscapeCancelaYSinRutinaNoMuestraRutina) {
  QString rutina = QStringLiteral("<sin leer>");
  QString descripcion;
  prueba::guion().esperarModal([&](QDialog& d) {
    rutina = texto(d, "lblRutina");
    descripcion = texto(d, "lblDescripcion");
    QTest::keyClick(&d, Qt::Key_Escape);
  });
  EXPECT_EQ(util().DialogoError(vb::Error(3265, QStringLiteral("Elemento no encontrado en la colección"))),
            ui::vbCancel);
  EXPECT_EQ(rutina, QString());
  EXPECT_TRUE(descripcion.contains(QStringLiteral("Elemento no encontrado en la colección")));
}

TEST(DialogoError, UnCodigoDeBotonesMuestraEsosBotones) {
  QStringList captions;
  prueba::guion().esperarModal([&](QDialog& d) {
    captions = botones(d);
    QTest::mouseClick(d.findChild<QPushButton*>(QStringLiteral("cmdReintentar")), Qt::LeftButton);
  });
  EXPECT_EQ(util().DialogoError(vb::Error(vb::kDeviceIOError), ui::vbRetryCancel, QStringLiteral("Leer")), ui::vbRetry);
  EXPECT_EQ(captions, (QStringList{QStringLiteral("Reintentar"), QStringLiteral("Cancelar")}));

  prueba::guion().esperarModal([&](QDialog& d) {
    captions = botones(d);
    d.reject();  // the close box
  });
  EXPECT_EQ(util().DialogoError(vb::Error(vb::kDeviceIOError), ui::vbAbortRetryIgnore), ui::vbAbort);
  EXPECT_EQ(captions.size(), 3);
}
