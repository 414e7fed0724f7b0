// The report launcher and the file-open dialog.
#include <gtest/gtest.h>

#include <QFileDialog>
#include <QTest>
#include <functional>
#include <stdexcept>

#include "platform/vb/error.h"
#include "suite/dialogo_archivo.h"
#include "suite/lanzador.h"
#include "tests/support/guion_ui.h"
#include "tests/support/numero_error.h"
#include "tests/support/temp_folder.h"

using ZepaKit2::lanzador;
using ZepaKit2::Lanzador;

namespace {

struct Grabadora : ZepaKit2::MotorReportes {
  std::vector<ZepaKit2::SolicitudReporte> recibidas;
  void Emitir(ZepaKit2::SolicitudReporte& s) override {
    recibidas.push_back(s);
    s.formulas[1] = QStringLiteral("Total = '3'");
  }
};

struct Formulas {
  QString f[5];
};

void emitir(Formulas& f, const QString& archivo = QStringLiteral("/r/RP_Usuarios_Grupos.rpt")) {
  lanzador().EmitirReporte(archivo, {QString()}, QStringLiteral("{Ta_usuarios.esgrupo}=FALSE"),
                           QStringLiteral("DSN=CONTAB; UID=ana; PWD=x"), f.f[0], f.f[1], f.f[2], f.f[3], f.f[4]);
}

using prueba::numeroDeError;

}  // namespace

TEST(Lanzador, SinMotorRehusaConUnErrorClaro) {
  Formulas f;
  f.f[0] = QStringLiteral("Parametros = ''");
  try {
    emitir(f);
    ADD_FAILURE() << "no error";
  } catch (const vb::Error& e) {
    EXPECT_EQ(e.Number(), 429);
    EXPECT_EQ(e.Description(), QStringLiteral("No hay un motor de reportes disponible"));
  }
  EXPECT_EQ(f.f[0], QStringLiteral("Parametros = ''"));
}

TEST(Lanzador, EntregaLaSolicitudEnteraAlMotor) {
  auto motor = std::make_shared<Grabadora>();
  Lanzador& l = lanzador();
  l.setMotor(motor);
  l.setRutaSistema(QStringLiteral("/opt/korvane/"));
  l.setDestino(Lanzador::DestinoImpresora());
  l.setOpcionA(true);
  l.setOpcionC(true);
  l.setAjuste(20);
  Formulas f;
  f.f[0] = QStringLiteral("Parametros = ' U.Neg.:0001'");
  emitir(f);
  ASSERT_EQ(motor->recibidas.size(), 1u);
  const auto& s = motor->recibidas[0];
  EXPECT_EQ(s.archivoReporte, QStringLiteral("/r/RP_Usuarios_Grupos.rpt"));
  EXPECT_EQ(s.textos, QStringList{QString()});
  EXPECT_EQ(s.formulaSeleccion, QStringLiteral("{Ta_usuarios.esgrupo}=FALSE"));
  EXPECT_EQ(s.conexion, QStringLiteral("DSN=CONTAB; UID=ana; PWD=x"));
  EXPECT_EQ(s.formulas[0], QStringLiteral("Parametros = ' U.Neg.:0001'"));
  EXPECT_EQ(s.destino, Lanzador::DestinoImpresora());
  EXPECT_EQ(s.rutaSistema, QStringLiteral("/opt/korvane/"));
  EXPECT_TRUE(s.opcionA && !s.opcionB && s.opcionC);
  EXPECT_EQ(s.ajuste, 20);
  // The assignments come back as the engine left them.
  EXPECT_EQ(f.f[1], QStringLiteral("Total = '3'"));
}

TEST(Lanzador, DestinosYArgumentosNoValidos) {
  Lanzador& l = lanzador();
  EXPECT_EQ(l.Destino(), Lanzador::DestinoPantalla());
  EXPECT_NE(Lanzador::DestinoPantalla(), Lanzador::DestinoImpresora());
  EXPECT_NE(Lanzador::DestinoArchivo(), Lanzador::DestinoImpresora());
  EXPECT_EQ(numeroDeError([&] { l.setDestino(7); }), vb::kInvalidPropertyValue);
  EXPECT_EQ(l.Destino(), Lanzador::DestinoPantalla());

  auto motor = std::make_shared<Grabadora>();
  l.setMotor(motor);
  Formulas f;
  EXPECT_EQ(numeroDeError([&] { emitir(f, QStringLiteral("  ")); }), vb::kInvalidProcedureCall);
  l.setDestino(Lanzador::DestinoArchivo());
  EXPECT_EQ(numeroDeError([&] { emitir(f); }), vb::kInvalidProcedureCall);
  EXPECT_TRUE(motor->recibidas.empty());
  l.setArchivoDestino(QStringLiteral("/tmp/usuarios.pdf"));
  emitir(f);
  ASSERT_EQ(motor->recibidas.size(), 1u);
  EXPECT_EQ(motor->recibidas[0].archivoDestino, QStringLiteral("/tmp/usuarios.pdf"));
}

TEST(Lanzador, UnaFallaDelMotorLlegaComoErrorDeEjecucion) {
  struct Roto : ZepaKit2::MotorReportes {
    void Emitir(ZepaKit2::SolicitudReporte&) override { throw std::runtime_error("sin papel"); }
  };
  lanzador().setMotor(std::make_shared<Roto>());
  Formulas f;
  try {
    emitir(f);
    ADD_FAILURE() << "no error";
  } catch (const vb::Error& e) {
    EXPECT_EQ(e.Number(), vb::kAutomationError);
    EXPECT_EQ(e.Description(), QStringLiteral("sin papel"));
  }
}

TEST(DialogoArchivo, FiltroDeLaSuiteEnFormaQt) {
  EXPECT_EQ(ZepaKit2::DialogoArchivo::filtrosQt(QStringLiteral("Base de Datos de Microsoft Access |*.MDB")),
            QStringList{QStringLiteral("Base de Datos de Microsoft Access (*.MDB *.mdb)")});
  EXPECT_EQ(ZepaKit2::DialogoArchivo::filtrosQt(QStringLiteral("Bases|*.mdb;*.Db|Todos|*.*")),
            (QStringList{QStringLiteral("Bases (*.mdb *.MDB *.Db *.db *.DB)"), QStringLiteral("Todos (*.*)")}));
  EXPECT_TRUE(ZepaKit2::DialogoArchivo::filtrosQt(QString()).isEmpty());
}

TEST(DialogoArchivo, EligeUnArchivoOCancela) {
  prueba::CarpetaTemporal carpeta;
  const QString base = carpeta.escribir(QStringLiteral("CONTAB.MDB"), "x");
  ZepaKit2::DialogoArchivo dlg;
  dlg.setTitulo(QStringLiteral("Buscar Base de Datos"));
  dlg.setFiltro(QStringLiteral("Base de Datos de Microsoft Access |*.MDB"));
  QString titulo;
  QStringList filtros;
  prueba::guion().esperarModal([&](QDialog& d) {
    auto& fd = static_cast<QFileDialog&>(d);
    titulo = fd.windowTitle();
    filtros = fd.nameFilters();
    fd.setDirectory(carpeta.ruta());
    prueba::teclear(fd, QStringLiteral("fileNameEdit"), QStringLiteral("CONTAB.MDB"));
    d.accept();  // QFileDialog's own accept, which checks the file
  });
  dlg.MostrarAbrir();
  EXPECT_FALSE(dlg.Cancelado());
  EXPECT_EQ(dlg.NombreArchivo(), base);
  EXPECT_EQ(titulo, QStringLiteral("Buscar Base de Datos"));
  EXPECT_EQ(filtros, ZepaKit2::DialogoArchivo::filtrosQt(dlg.Filtro()));

  prueba::guion().esperarModal([](QDialog& d) { QTest::keyClick(&d, Qt::Key_Escape); });
  dlg.MostrarAbrir();
  EXPECT_TRUE(dlg.Cancelado());
  EXPECT_EQ(dlg.NombreArchivo(), base);
}
