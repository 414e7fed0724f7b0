// Stored data written by others, broken: a mask file cut short, a width file
// with broken lines, a settings file with binary junk, a menu table whose
// parents go round in a cycle and menu rows without a key. The program reads
// what can be read, leaves the rest, and goes on without a box nobody asked for.
#include <gtest/gtest.h>

#include <QFileInfo>
#include <QHeaderView>

#include "lookup/anchos_columnas.h"
#include "menu/rt_iconoslst.h"
#include "platform/ui/twips.h"
#include "services/sesion.h"
#include "session/inicia_sesion.h"
#include "suite/estacion.h"
#include "tests/lookup/apoyo.h"

namespace {

using prueba::Consultas;

const QString kClientes = QStringLiteral("SELECT CODIGO, NOMBRE FROM VT_CLIENTES ORDER BY CODIGO");

// ---- The mask file ---------------------------------------------------------------

TEST_F(Consultas, MascarasConUnRegistroCortadoAlFinal) {
  cfg(QStringLiteral("TopConsArt"), QString());
  const QByteArray clientes = ModGlobal::RegistroMascara(QStringLiteral("CLIENTES"), QStringLiteral("VT_CLIENTES"),
                                                         QStringLiteral("|NOMBRE|CODIGO|"), QString());
  const QByteArray zonas = ModGlobal::RegistroMascara(QStringLiteral("ZONAS"), QStringLiteral("TA_ZONAS"),
                                                      QStringLiteral("|NOMBRE|CODIGO|"), QStringLiteral("ID > 1"));
  // The second record was being appended when the disk filled: its table is
  // whole, its columns half, its condition missing.
  escribirMascaras(clientes + zonas.left(250));
  Lib_ClsCons3& s = clsCons3();
  s.gUsarMascarasConsultas = true;
  s.gRutaMascaraConsultas = mascaras();

  QString campo, where;
  EXPECT_EQ(s.ArmarSentencia(QStringLiteral("VT_CLIENTES"), campo, where),
            QStringLiteral("SELECT TOP 1000 NOMBRE,CODIGO FROM VT_CLIENTES WHERE Dada_De_Baja = 0 ORDER BY NOMBRE"));
  // The half record is no definition: the table's own fields are listed.
  campo.clear();
  EXPECT_EQ(s.ArmarSentencia(QStringLiteral("TA_ZONAS"), campo, where),
            QStringLiteral("SELECT TOP 1000 PRECIO,NOMBRE,CODIGO FROM TA_ZONAS ORDER BY NOMBRE"));

  // The presets go after the last whole record, over the broken one.
  ModGlobal::CrearMascarasConsultas(mascaras());
  const QByteArray ahora = programa.leer(QStringLiteral("consultas.qzx"));
  EXPECT_EQ(ahora.size(), 8 * ModGlobal::kLargoMascara);
  EXPECT_TRUE(ahora.startsWith(clientes));
  EXPECT_EQ(ahora.mid(ModGlobal::kLargoMascara + ModGlobal::kLargoTitulo, 14), QByteArray("V_MA_ARTICULOS"));
}

// ---- The width file ----------------------------------------------------------------

TEST_F(Consultas, AnchosConLineasRotas) {
  const QByteArray rotas = QByteArray("\x00\xff\xfe basura sin comillas\n", 24) +
                           "\"SIN_CIERRE,\"1|2\n"
                           ",,,,\n"
                           "\n"
                           "\"VT_CLIENTES\"\n"  // no widths at all
                           "\"VT_CLIENTES\",\"1e30|-300|\"\n";
  programa.escribir(QStringLiteral("CONSULTASLEN.QZX"), rotas);
  Lib_FrmCons3 f;
  f.SQL = kClientes;
  f.GrabarCfg = true;
  // No error box: a number too large is as wide as the screen, a negative
  // one no width, so the column keeps its own; the window stays on the screen.
  mostrar(f, [&] {
    const QSize pantalla = ui::servicio().Pantalla();
    EXPECT_EQ(f.anchoColumna(0), ui::aTwips(pantalla.width()));
    EXPECT_EQ(f.anchoColumna(1), ui::aTwips(QFontMetrics(f.lista()->font()).horizontalAdvance(QString(60, 'X'))));
    EXPECT_EQ(f.cajaBusqueda(1)->x() - f.cajaBusqueda(0)->x(), pantalla.width());
    EXPECT_TRUE(QRect(QPoint(), pantalla).contains(f.frameGeometry()));
    f.setAnchoColumna(0, 1500);
    f.setAnchoColumna(1, 3000);
    prueba::pulsar(f, QStringLiteral("Aceptar"));
  });
  f.Descargar();
  // The broken lines of other tables are theirs: kept as they were.
  const QByteArray ahora = programa.leer(QStringLiteral("CONSULTASLEN.QZX"));
  EXPECT_TRUE(ahora.contains("\"SIN_CIERRE,\"1|2\n"));
  EXPECT_TRUE(ahora.contains(",,,,\n"));
  EXPECT_TRUE(ahora.endsWith("\"VT_CLIENTES\",\"1500|3000|\"\n")) << ahora.toStdString();
  EXPECT_EQ(ahora.count("VT_CLIENTES"), 1);

  // And the good line written then is read back whole.
  Lib_FrmCons3 g;
  g.SQL = kClientes;
  mostrar(g, [&] {
    EXPECT_EQ(g.anchoColumna(0), 1500);
    EXPECT_EQ(g.anchoColumna(1), 3000);
    prueba::pulsar(g, QStringLiteral("Cancelar"));
  });
}

TEST(AnchosColumnas, NumerosFueraDeRango) {
  EXPECT_EQ(anchosLinea(QStringLiteral("1440|2880|"), 2), (std::vector<int>{1440, 2880}));
  // Texts that are no number ("nan", "inf") give 0, as any other text; a
  // negative width is none (-1).
  EXPECT_EQ(anchosLinea(QStringLiteral("99999999999999999999999|-1e40|nan|inf|"), 4),
            (std::vector<int>{kAnchoMaximoColumna, -1, 0, 0}));
  EXPECT_EQ(anchosLinea(QStringLiteral("5000|-20|2000|"), 3, 3000), (std::vector<int>{3000, -1, 2000}));
  // Columns the line has no width for keep the width they were given.
  EXPECT_EQ(anchosLinea(QStringLiteral("7"), 3), (std::vector<int>{7}));
  EXPECT_EQ(camposLinea(QStringLiteral("\"T\",\"1|2|")), (QStringList{"T", "1|2|"}));
}

// ---- The settings file -----------------------------------------------------------

class SesionConIniBasura : public ::testing::Test {
 protected:
  void SetUp() override {
    ctx::actual().setCarpetaPrograma(programa.ruta());
    ctx::actual().setArgumentos({});
  }
  prueba::CarpetaTemporal programa;
  prueba::BasePrueba base;
};

TEST_F(SesionConIniBasura, ElAliasYElEstiloSeLeenEntreLaBasura) {
  const QString seccion =
      ZepaKit2::estacion().Identidad1().toUpper() + QStringLiteral("|") + ZepaKit2::estacion().Identidad2().toUpper();
  const QString carpetaBase = QFileInfo(base.archivo()).absolutePath();
  QByteArray ini("\x00\x01\x02\xff\xfe[\x00\xff]\n=\n==\n[]\r\r", 20);
  ini += QByteArray(100000, '[') + "\n";
  ini += "[Servidores]\nSRVPRUEBA=sqlite:" + carpetaBase.toUtf8() + "\n";
  ini += QByteArray("\xc3\x28 \x80\x80 clave\x00sin=igual\n", 22);
  ini += "[" + seccion.left(50).toUtf8() + "]\r\nFlatToolbars=0 planas\r\n\x1a\x1a\x1a";
  base.config().escribir(QStringLiteral("CN000pr.INI"), ini);

  QString parametros = QStringLiteral("@server=SRVPRUEBA; @dbname= EMPRESA; @usuario= ADMIN; @Password= x;");
  QString conn;
  ModGlobal::IniciaSesion(false, parametros, conn, 3);
  EXPECT_TRUE(db().gOpenFlag);
  EXPECT_EQ(db().gCnn.State(), ado::adStateOpen);
  EXPECT_EQ(ModGlobal::sesion().gFlatToolbars, 0.0);
  EXPECT_TRUE(prueba::guion().mostradas().empty());
}

// ---- The menu table --------------------------------------------------------------

class MenuRoto : public ::testing::Test {
 protected:
  MenuRoto()
      : base_((std::string(prueba::kEsquemaSuite) + R"(
CREATE TABLE TA_MENU (
  MENU TEXT COLLATE NOCASE, HABILITADO INTEGER, CLAVE TEXT COLLATE NOCASE, Titulo TEXT COLLATE NOCASE,
  Nombre TEXT COLLATE NOCASE, Imagen TEXT COLLATE NOCASE, Proceso TEXT COLLATE NOCASE);
INSERT INTO TA_CONFIGURACION (Grupo, Clave, Valor) VALUES ('DATOS', 'TitOrdenDeTrabajo', 'D40');
)")
                  .c_str()) {}
  void SetUp() override {
    base_.conectar();
    Rt_IconosLst::CargarIconosLst(chica_, grande_);
    arbol_.setImageList(&chica_);
  }
  QStringList nodos() const {
    QStringList r;
    for (int i = 1; i <= arbol_.Nodes().Count(); ++i) {
      const Nodo& n = arbol_.Nodes()(i);
      r << (n.Parent() ? n.Parent()->Key() + QStringLiteral(">") : QString()) + n.Key() + QStringLiteral(":") +
               n.Text() + QStringLiteral(":") + n.Tag();
    }
    return r;
  }

  prueba::BasePrueba base_;
  ListaImagenes chica_;
  ListaImagenes grande_{nullptr, 32};
  Arbol arbol_;
};

TEST_F(MenuRoto, PadresEnCicloNoCuelganNiAgreganNada) {
  base_.ejecutar(
      "INSERT INTO TA_MENU VALUES "
      "('ZEPA', 1, 'D10', '', 'Maestros', 'Maestros', ''),"
      "('ZEPA', 1, 'D1010', 'D10', 'Usuarios', 'Usuarios', 'P1'),"
      "('ZEPA', 1, 'X1', 'X2', 'Uno', 'Tablas', 'PX1'),"
      "('ZEPA', 1, 'X2', 'X1', 'Dos', 'Tablas', 'PX2'),"
      "('ZEPA', 1, 'Y1', 'Y1', 'Propio padre', 'Tablas', 'PY'),"
      "('ZEPA', 1, 'Z1', 'D1010', 'Nieto', 'Tablas', 'PZ')");
  Rt_IconosLst::CargarArbolMenu(arbol_, chica_, QStringLiteral("ZEPA"), true);
  EXPECT_EQ(nodos(), (QStringList{"D10:Maestros:", "D10>D1010:Usuarios:P1", "D1010>Z1:Nieto:PZ"}));
  EXPECT_TRUE(prueba::guion().mostradas().empty());
}

TEST_F(MenuRoto, FilasConClaveNula) {
  base_.ejecutar(
      "INSERT INTO TA_MENU VALUES "
      "('ZEPA', 1, NULL, NULL, 'Sin clave', 'Tablas', 'P0'),"
      "('ZEPA', 1, NULL, NULL, NULL, NULL, NULL),"
      "('ZEPA', 1, NULL, 'D10', 'Hijo sin clave', 'Tablas', 'P9'),"
      "('ZEPA', 1, 'D10', NULL, 'Maestros', 'Maestros', ''),"
      "('ZEPA', 1, 'D1010', 'D10', 'Usuarios', 'Usuarios', 'P1'),"
      "('ZEPA', NULL, 'D1020', 'D10', 'Sin habilitar', 'Tablas', 'P2')");
  Rt_IconosLst::CargarArbolMenu(arbol_, chica_, QStringLiteral("ZEPA"), true);
  // A null reads as empty text: rows without a key are nodes without one,
  // and the one whose parent sorts after it cannot be placed.
  EXPECT_EQ(nodos(), (QStringList{":Sin clave:P0", "::", "D10:Maestros:", "D10>D1010:Usuarios:P1"}));
  EXPECT_TRUE(prueba::guion().mostradas().empty());
  EXPECT_EQ(arbol_.Nodes()(QStringLiteral("D1010")).Parent(), &arbol_.Nodes()(QStringLiteral("D10")));
}

}  // namespace
