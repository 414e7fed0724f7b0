// The suite look of a form from real settings files: icon and toolbar style.
#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QToolBar>
#include <QWidget>

#include "menu/rt_iconoslst.h"
#include "platform/ctx/programa.h"
#include "services/sesion.h"
#include "session/preparar_ventana.h"
#include "suite/tbarrep.h"
#include "tests/support/temp_folder.h"

// The suite's MDI frame, known by its type name.
class frmMDI : public QWidget {
  Q_OBJECT
};

namespace {

QImage imagen(const QIcon& i) { return i.pixmap(32, 32).toImage().convertToFormat(QImage::Format_ARGB32); }

class PrepararVentanaPrueba : public ::testing::Test {
 protected:
  void SetUp() override { ctx::actual().setCarpetaConfiguracion(config.ruta()); }
  void ini(const QByteArray& texto) { config.escribir(QStringLiteral("CN000pr.INI"), texto); }
  // A toolbar of the given name and kind on the form.
  template <class Barra>
  Barra* barra(QWidget& form, const char* nombre) {
    auto* b = new Barra(&form);
    b->setObjectName(QString::fromLatin1(nombre));
    b->setMovable(true);
    return b;
  }

  prueba::CarpetaTemporal config;
};

TEST_F(PrepararVentanaPrueba, SinSeccionIconosTomaElIconoDelSistema) {
  ini("[OTRA]\nClave=1\n");
  QWidget form;
  ModGlobal::PrepararVentana(form);
  EXPECT_EQ(imagen(form.windowIcon()), imagen(Rt_IconosLst::iconoRecurso(QStringLiteral("ICONKORVANE"))));
}

TEST_F(PrepararVentanaPrueba, ElIconoQueNombraElIni) {
  ini("[Iconos]\nIconoDelSistema=reportes\n");
  QWidget form;
  ModGlobal::PrepararVentana(form);
  EXPECT_EQ(imagen(form.windowIcon()), imagen(Rt_IconosLst::iconoRecurso(QStringLiteral("REPORTES"))));
  EXPECT_NE(imagen(form.windowIcon()), imagen(Rt_IconosLst::iconoRecurso(QStringLiteral("ICONKORVANE"))));
}

TEST_F(PrepararVentanaPrueba, SinRecursoTomaKorvaneIcoDeLaCarpetaActual) {
  ini("[Iconos]\nIconoDelSistema=NoHayTal\n");
  prueba::CarpetaTemporal actual;
  QPixmap rojo(32, 32);
  rojo.fill(Qt::red);
  ASSERT_TRUE(rojo.save(actual.archivo(QStringLiteral("korvane.ico")), "ICO") ||
              rojo.save(actual.archivo(QStringLiteral("korvane.ico")), "PNG"));
  const QString antes = QDir::currentPath();
  ASSERT_TRUE(QDir::setCurrent(actual.ruta()));
  QWidget sinIcono, conIcono;
  QPixmap azul(32, 32);
  azul.fill(Qt::blue);
  conIcono.setWindowIcon(QIcon(azul));
  ModGlobal::PrepararVentana(sinIcono);
  ModGlobal::PrepararVentana(conIcono);
  QDir::setCurrent(antes);
  EXPECT_EQ(imagen(sinIcono.windowIcon()).pixelColor(16, 16), QColor(Qt::red));
  // A form with an icon of its own keeps it.
  EXPECT_EQ(imagen(conIcono.windowIcon()).pixelColor(16, 16), QColor(Qt::blue));
}

TEST_F(PrepararVentanaPrueba, EstiloDeBarrasPorNombreYAjusteDeLaEstacion) {
  ini("");
  ModGlobal::sesion().gFlatToolbars = 0;
  QWidget form;
  auto* rep = barra<ToolsRep::TBarRep>(form, "TBarRep1");
  auto* otra = barra<QToolBar>(form, "OtraBarra");
  ASSERT_EQ(rep->StyleBar(), 1);
  ModGlobal::PrepararVentana(form);
  EXPECT_EQ(rep->StyleBar(), 0);
  // Every toolbar gets the workstation's adjustment; a missing one is skipped.
  EXPECT_FALSE(rep->isMovable());
  EXPECT_FALSE(otra->isMovable());
  ModGlobal::sesion().gFlatToolbars = 1;
  ModGlobal::PrepararVentana(form);
  EXPECT_EQ(rep->StyleBar(), 1);
  // The style is the number rounded half to even, not cut.
  ModGlobal::sesion().gFlatToolbars = 0.6;
  ModGlobal::PrepararVentana(form);
  EXPECT_EQ(rep->StyleBar(), 1);
  ModGlobal::sesion().gFlatToolbars = 2.5;
  ModGlobal::PrepararVentana(form);
  EXPECT_EQ(rep->StyleBar(), 2);
}

TEST_F(PrepararVentanaPrueba, ElMarcoMdiSoloTomaElIcono) {
  ini("");
  ModGlobal::sesion().gFlatToolbars = 0;
  frmMDI form;
  auto* rep = barra<ToolsRep::TBarRep>(form, "TBarRep1");
  ModGlobal::PrepararVentana(form);
  EXPECT_EQ(imagen(form.windowIcon()), imagen(Rt_IconosLst::iconoRecurso(QStringLiteral("ICONKORVANE"))));
  EXPECT_EQ(rep->StyleBar(), 1);
  EXPECT_TRUE(rep->isMovable());
}

}  // namespace

#include "preparar_ventana_test.moc"
