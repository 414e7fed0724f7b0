// The menu tree loader and the icon list loader on a real TA_MENU in SQLite.
#include <gtest/gtest.h>

#include <QImage>
#include <QPixmap>

#include "menu/rt_iconoslst.h"
#include "services/sesion.h"
#include "tests/services/base_prueba.h"

namespace {

using namespace Rt_IconosLst;

std::string esquema() {
  return std::string(prueba::kEsquemaSuite) + R"(
CREATE TABLE TA_MENU (
  MENU TEXT COLLATE NOCASE, HABILITADO INTEGER, CLAVE TEXT COLLATE NOCASE, Titulo TEXT COLLATE NOCASE,
  Nombre TEXT COLLATE NOCASE, Imagen TEXT COLLATE NOCASE, Proceso TEXT COLLATE NOCASE);
)";
}

class CargarArbolTest : public ::testing::Test {
 protected:
  CargarArbolTest() : base_(esquema().c_str()) {}
  void SetUp() override {
    base_.conectar();
    CargarIconosLst(chica_, grande_);
    arbol_.setImageList(&chica_);
  }
  // Adds a ZEPA row, enabled unless told otherwise.
  void fila(const char* clave, const char* titulo, const char* nombre = "x", const char* imagen = "Tablas",
            const char* proceso = "", int habilitado = 1, const char* menu = "ZEPA") {
    base_.ejecutar(QStringLiteral("INSERT INTO TA_MENU VALUES ('%1', %2, '%3', '%4', '%5', '%6', '%7')")
                       .arg(menu)
                       .arg(habilitado)
                       .arg(clave, titulo, nombre, imagen, proceso));
  }
  void cfg(const char* clave, const char* valor) {
    base_.ejecutar(QStringLiteral("INSERT INTO TA_CONFIGURACION (Grupo, Clave, Valor) VALUES ('DATOS', '%1', '%2')")
                       .arg(clave, valor));
  }
  // The default prefixes already in the table, so the defaults are not written.
  void prefijosPorDefecto() {
    for (const Modulo& m : modulos()) cfg(m.clavePrefijo, m.prefijoPorDefecto);
  }
  void cargar(const QString& menu = QStringLiteral("ZEPA"), bool expandir = true) {
    CargarArbolMenu(arbol_, chica_, menu, expandir);
  }
  QStringList claves() const {
    QStringList r;
    for (int i = 1; i <= arbol_.Nodes().Count(); ++i) r << arbol_.Nodes()(i).Key();
    return r;
  }

  prueba::BasePrueba base_;
  ListaImagenes chica_;
  ListaImagenes grande_{nullptr, 32};
  Arbol arbol_;
};

TEST_F(CargarArbolTest, NodoConClaveTextoImagenTagYExpansionDeLaFila) {
  fila("D30", "", "  Presupuestos ", "Presupuestos", " PRE ");
  fila("D3010", "D30", "Alta", "  maestros ", "PRE010");
  fila("D3020", "D30", "Otra", "NoEsUnIcono", "PRE020");
  fila("D3030", "D30", "Baja", "Tablas", "PRE030", 0);         // disabled
  fila("D3040", "D30", "Ajena", "Tablas", "OTRO", 1, "CONT");  // another system
  base_.ejecutar("INSERT INTO TA_MENU (MENU, HABILITADO, CLAVE, Titulo) VALUES ('ZEPA', 1, 'D3050', 'D30')");
  prefijosPorDefecto();
  cargar();

  EXPECT_EQ(claves(), QStringList({"D30", "D3010", "D3020", "D3050"}));
  const Nodo& raiz = arbol_.Nodes()(QStringLiteral("D30"));
  EXPECT_EQ(raiz.Text(), QStringLiteral("Presupuestos"));
  EXPECT_EQ(raiz.Tag(), QStringLiteral("PRE"));
  EXPECT_EQ(raiz.Image(), 4);
  EXPECT_TRUE(raiz.Expanded());
  EXPECT_EQ(raiz.Children(), 3);
  // Image tags match ignoring case and blanks; an unknown one gives no image.
  EXPECT_EQ(arbol_.Nodes()(QStringLiteral("D3010")).Image(), 1);
  EXPECT_EQ(arbol_.Nodes()(QStringLiteral("D3020")).Image(), 0);
  EXPECT_TRUE(arbol_.icono(arbol_.Nodes()(QStringLiteral("D3020"))).isNull());
  // Null columns read as empty text.
  EXPECT_EQ(arbol_.Nodes()(QStringLiteral("D3050")).Text(), QString());
  EXPECT_EQ(arbol_.Nodes()(QStringLiteral("D3050")).Image(), 0);
  EXPECT_EQ(IndiceImagen(chica_, QStringLiteral(" reportes ")), 15);
  EXPECT_EQ(IndiceImagen(grande_, QStringLiteral("Recibo")), 35);
  EXPECT_EQ(IndiceImagen(chica_, QString()), 0);

  Arbol plegado;
  plegado.setImageList(&chica_);
  CargarArbolMenu(plegado, chica_, QStringLiteral("ZEPA"), false);
  EXPECT_FALSE(plegado.Nodes()(QStringLiteral("D30")).Expanded());
}

TEST_F(CargarArbolTest, PrefijosPorDefectoSeEscribenUnaVezPorLaClaveDeOrdenDeTrabajo) {
  cfg("TitStock", "X80");  // overwritten: only the work-order key is tested
  fila("D30", "");
  cargar();
  const QStringList escritos =
      base_.filas("SELECT Grupo, Clave, Valor FROM TA_CONFIGURACION WHERE Clave LIKE 'Tit%' ORDER BY rowid");
  EXPECT_EQ(escritos, QStringList({"DATOS|TITSTOCK|D80", "DATOS|TITPRESUPUESTO|D30", "DATOS|TITORDENDETRABAJO|D40",
                                   "DATOS|TITORDENDEPRODUCCION|D4020", "DATOS|TITCOMPRAS|D50",
                                   "DATOS|TITORDENDECOMPRA|D5080", "DATOS|TITORDENDEPAGO|D5090", "DATOS|TITVENTAS|D60",
                                   "DATOS|TITCAJAYBANCOS|D75", "DATOS|TITCONTABLE|D95"}));
  EXPECT_EQ(estado().prefijos[3], QStringLiteral("D50"));

  // Once the work-order key holds a value, nothing is written again.
  base_.ejecutar(
      "UPDATE TA_CONFIGURACION SET Valor = 'Z30' WHERE Clave = 'TitPresupuesto';"
      "DELETE FROM TA_CONFIGURACION WHERE Clave = 'TitStock'");
  arbol_.Nodes().Clear();
  cargar();
  EXPECT_EQ(base_.filas("SELECT COUNT(*) FROM TA_CONFIGURACION").value(0), QStringLiteral("9"));
  EXPECT_EQ(estado().prefijos[0], QStringLiteral("Z30"));
  EXPECT_EQ(estado().prefijos[8], QString());
}

TEST_F(CargarArbolTest, LaCoincidenciaPosteriorGanaYSoloNoEnMayusculasApaga) {
  prefijosPorDefecto();
  cfg("ModuloOrdenDeTrabajo", "NO");
  cfg("ModuloOrdenDeProduccion", "SI");
  cfg("ModuloCompra", "NO");
  cfg("ModuloOrdenDePago", "NO");
  cfg("ModuloStock", "  NO ");
  cfg("ModuloContable", "no");
  cfg("ModuloVenta", "No");
  for (const char* raiz : {"D40", "D50", "D60", "D80", "D95"}) fila(raiz, "");
  fila("D4010", "D40");  // work orders: off
  fila("D4020", "D40");  // production orders: on
  fila("D402010", "D4020");
  fila("D5010", "D50");  // purchasing: off
  fila("D5080", "D50");  // purchase orders: on
  fila("D508010", "D5080");
  fila("D5090", "D50");  // payment orders: off
  fila("D6010", "D60");  // "No" leaves sales on
  fila("D8010", "D80");  // stock: off
  fila("D9510", "D95");  // "no" leaves accounting on
  cargar();

  EXPECT_EQ(claves(),
            QStringList({"D40", "D4020", "D402010", "D50", "D5080", "D508010", "D60", "D6010", "D80", "D95", "D9510"}));
  EXPECT_FALSE(estado().activos[1]);
  EXPECT_TRUE(estado().activos[2]);
  EXPECT_FALSE(ModGlobal::sesion().ModuloOrdenDeTrabajo);
}

TEST_F(CargarArbolTest, UnPrefijoVacioAlcanzaATodaClaveQueNingunoPosteriorReclama) {
  prefijosPorDefecto();
  base_.ejecutar("UPDATE TA_CONFIGURACION SET Valor = '' WHERE Clave = 'TitPresupuesto'");
  cfg("ModuloPresupuesto", "NO");
  fila("A", "");
  fila("A10", "A");  // only the empty prefix matches it: hidden
  fila("D60", "");
  fila("D6010", "D60");  // sales match later and are on
  fila("D30", "");       // top level: never tested
  fila("D3010", "D30");
  cargar();
  EXPECT_EQ(claves(), QStringList({"A", "D30", "D60", "D6010"}));
  EXPECT_EQ(estado().prefijos[0], QString());
  EXPECT_TRUE(ModGlobal::sesion().ModuloOrdenDeTrabajo);
}

TEST_F(CargarArbolTest, FilaSinPadreSeSaltaSinTocarElNodoAnterior) {
  prefijosPorDefecto();
  cfg("ModuloVenta", "NO");
  fila("D30", "", "Raiz", "Tablas", "R");
  fila("D3010", "D30", "Antes", "Tablas", "P-ANTES");
  fila("D3011", "D99", "Huerfana", "Salir", "P-HUERFANA");  // no such row
  fila("D3012", "D3013", "Adelantada", "Salir", "P-ADEL");  // parent sorts after it
  fila("D3013", "D30", "Despues", "Tablas", "P-DESPUES");
  fila("D3014", "D3015", "Deshabilitado", "Salir", "P");
  fila("D3015", "D30", "Apagada", "Salir", "P", 0);
  fila("D60", "");
  fila("D6010", "D60");
  fila("D601010", "D6010");  // its parent was left out by the sales switch
  cargar();                  // no box is shown: the scripted UI fails the test on any

  EXPECT_EQ(claves(), QStringList({"D30", "D3010", "D3013", "D60"}));
  EXPECT_EQ(arbol_.Nodes()(QStringLiteral("D3010")).Tag(), QStringLiteral("P-ANTES"));
  EXPECT_EQ(arbol_.Nodes()(QStringLiteral("D3010")).Text(), QStringLiteral("Antes"));
  EXPECT_EQ(arbol_.Nodes()(QStringLiteral("D3010")).Children(), 0);
  EXPECT_EQ(arbol_.Nodes()(QStringLiteral("D30")).Children(), 2);
}

TEST_F(CargarArbolTest, ElArbolNoSeVaciaYUnaClaveRepetidaPasaPorElDialogo) {
  prefijosPorDefecto();
  fila("D30", "", "Nuevo", "Tablas", "NUEVO");
  fila("D3010", "D30", "Hijo", "Tablas", "H");
  fila("D60", "");
  arbol_.Nodes().Add({}, tvwLast, QStringLiteral("D30"), QStringLiteral("Existente")).setTag("VIEJO");

  QString descripcion;
  prueba::responderError(QStringLiteral("Ignorar"), QString(), {}, &descripcion);
  cargar();
  EXPECT_TRUE(descripcion.contains(QStringLiteral("La clave no es única en la colección")));
  // The row is skipped; its children go under the node already there.
  EXPECT_EQ(claves(), QStringList({"D30", "D3010", "D60"}));
  EXPECT_EQ(arbol_.Nodes()(QStringLiteral("D30")).Tag(), QStringLiteral("VIEJO"));
  EXPECT_EQ(arbol_.Nodes()(QStringLiteral("D3010")).Parent()->Text(), QStringLiteral("Existente"));

  // Cancel leaves at once, with what was added so far.
  Arbol otro;
  otro.setImageList(&chica_);
  otro.Nodes().Add({}, tvwLast, QStringLiteral("D3010"), QStringLiteral("Ya"));
  prueba::responderError(QStringLiteral("Cancelar"), QString());
  CargarArbolMenu(otro, chica_, QStringLiteral("ZEPA"), true);
  EXPECT_EQ(otro.Nodes().Count(), 2);
  EXPECT_TRUE(otro.Nodes().contiene(QStringLiteral("D30")));
  EXPECT_FALSE(otro.Nodes().contiene(QStringLiteral("D60")));
}

TEST_F(CargarArbolTest, SinMenuDelSistemaAvisaYTerminaElPrograma) {
  prefijosPorDefecto();
  fila("D30", "", "x", "Tablas", "", 1, "CONT");
  prueba::guion().esperarMensaje(ui::vbOK,
                                 QStringLiteral("No se ha encontrado la Tabla Menú del Sistma, verifique si se ha "
                                                "conectado a la base de datos correcta, o si tiene permiso para leer "
                                                "esta base..."),
                                 QStringLiteral("ATENCIóN!!!"));
  EXPECT_THROW(cargar(QStringLiteral("VENTAS")), ui::FinPrograma);
  EXPECT_TRUE(prueba::guion().terminado());
  ASSERT_EQ(prueba::guion().mostradas().size(), 1u);
  EXPECT_TRUE(prueba::guion().mostradas()[0].botones & ui::vbCritical);
  EXPECT_EQ(arbol_.Nodes().Count(), 0);
}

TEST_F(CargarArbolTest, ConMenuDelSistemaPeroNadaHabilitadoQuedaVacioSinRepetir) {
  prefijosPorDefecto();
  fila("D30", "", "x", "Tablas", "", 0);
  cargar();                          // ZEPA has rows, none enabled
  cargar(QStringLiteral("VENTAS"));  // another code with no rows at all
  EXPECT_EQ(arbol_.Nodes().Count(), 0);
  EXPECT_FALSE(prueba::guion().terminado());
  EXPECT_TRUE(prueba::guion().mostradas().empty());
}

// ---- Icons ---------------------------------------------------------------

TEST_F(CargarArbolTest, AmbasListasConLos35IconosEnUnaYEnOtraCarga) {
  arbol_.setImageList(nullptr);
  for (int vuelta = 0; vuelta < 2; ++vuelta) {
    if (vuelta) CargarIconosLst(chica_, grande_);
    for (ListaImagenes* l : {&chica_, &grande_}) {
      ASSERT_EQ(l->Count(), 35);
      EXPECT_EQ(l->Tag(15), QStringLiteral("Reportes"));
      EXPECT_EQ(l->Tag(28), QStringLiteral("COMPROBANTESCOMPRASII"));
      for (int i = 1; i <= 35; ++i) EXPECT_EQ(l->Tag(i), clavesIconos()[i - 1]);
    }
  }
  EXPECT_EQ(chica_.ImageWidth(), 16);
  EXPECT_EQ(grande_.ImageHeight(), 32);
  // Each picture is drawn: some opaque pixels at the list's own size.
  for (ListaImagenes* l : {&chica_, &grande_}) {
    for (int i = 1; i <= l->Count(); ++i) {
      const QImage img = l->Picture(i).pixmap(l->ImageWidth()).toImage();
      ASSERT_EQ(img.size(), QSize(l->ImageWidth(), l->ImageWidth())) << i;
      int opacos = 0;
      for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) opacos += qAlpha(img.pixel(x, y)) > 128;
      EXPECT_GT(opacos, img.width() * img.height() / 5) << l->Tag(i).toStdString();
    }
  }
}

TEST_F(CargarArbolTest, UnaListaEnUsoNoSeVaciaYCancelarDejaLoQueHabia) {
  // The tree still holds the small list.
  prueba::responderError(QStringLiteral("Cancelar"), QStringLiteral("CargarIconosLst"));
  CargarIconosLst(chica_, grande_);
  EXPECT_EQ(chica_.Count(), 35);
  EXPECT_EQ(grande_.Count(), 35);

  // Ignore skips the clear and goes on: the large list is still reloaded.
  ListaImagenes vacia(nullptr, 32);
  prueba::responderError(QStringLiteral("Ignorar"), QStringLiteral("CargarIconosLst"));
  CargarIconosLst(chica_, vacia);
  EXPECT_EQ(vacia.Count(), 35);
  EXPECT_EQ(vacia.ImageWidth(), 32);
}

TEST(IconosRecurso, CadaClaveYElIconoDeLaSuiteSinDistinguirMayusculas) {
  for (const QString& clave : clavesIconos()) EXPECT_FALSE(iconoRecurso(clave).isNull()) << clave.toStdString();
  EXPECT_FALSE(iconoRecurso(QStringLiteral("iconkorvane")).isNull());
  EXPECT_FALSE(iconoRecurso(QStringLiteral("ICONKORVANE")).isNull());
  EXPECT_EQ(iconoRecurso(QStringLiteral("ICONKORVANE")).availableSizes().size(), 3);
  try {
    iconoRecurso(QStringLiteral("NoHay"));
    ADD_FAILURE() << "sin error";
  } catch (const vb::Error& e) {
    EXPECT_EQ(e.Number(), kErrorRecursoNoEncontrado);
    EXPECT_TRUE(e.Description().contains(QStringLiteral("NoHay")));
  }
}

TEST_F(CargarArbolTest, ElArbolSeVeConSusIconosEnPantalla) {
  prefijosPorDefecto();
  int i = 0;
  for (const QString& clave : clavesIconos()) {
    const QString k = QStringLiteral("D30%1").arg(++i, 2, 10, QLatin1Char('0'));
    fila(i == 1 ? "D30" : k.toLatin1().constData(), i == 1 ? "" : "D30", clave.toLatin1().constData(),
         clave.toLatin1().constData());
  }
  cargar();
  ASSERT_EQ(arbol_.Nodes().Count(), 35);
  arbol_.resize(320, 760);
  arbol_.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&arbol_));
  for (int n = 1; n <= arbol_.Nodes().Count(); ++n) {
    EXPECT_GT(arbol_.Nodes()(n).Image(), 0);
    EXPECT_FALSE(arbol_.model()->data(arbol_.indice(arbol_.Nodes()(n)), Qt::DecorationRole).value<QIcon>().isNull())
        << n;
  }
  const QImage foto = arbol_.viewport()->grab().toImage();
  ASSERT_FALSE(foto.isNull());
  // The first child's icon cell holds colour, not just the background.
  const QRect celda = arbol_.visualRect(arbol_.indice(arbol_.Nodes()(2)));
  ASSERT_TRUE(celda.isValid());
  QSet<QRgb> colores;
  for (int x = celda.left(); x < celda.right(); ++x) colores.insert(foto.pixel(x, celda.center().y()));
  EXPECT_GT(colores.size(), 4);
  const QString destino = qEnvironmentVariable("KV_CAPTURA_ARBOL");
  if (!destino.isEmpty()) foto.save(destino);
}

}  // namespace
