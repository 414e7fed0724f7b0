// The statement each request builds, and what a request leaves behind.
#include "tests/lookup/apoyo.h"

#include <QFile>

using prueba::Consultas;

namespace {

TEST_F(Consultas, WhereSeEnvuelveSoloCuandoHaceFalta) {
  Lib_ClsCons3& c = clsCons3();
  c.gUsarMascarasConsultas = false;
  QString campo, where = QStringLiteral("X");
  c.ArmarSentencia(QStringLiteral("TA_ZONAS"), campo, where);
  EXPECT_EQ(where, QStringLiteral("X"));
  where = QStringLiteral("CODIGO > 5");
  c.ArmarSentencia(QStringLiteral("TA_ZONAS"), campo, where);
  EXPECT_EQ(where, QStringLiteral(" (CODIGO > 5) "));
  where = QStringLiteral("(A=1) OR B=2");
  c.ArmarSentencia(QStringLiteral("TA_ZONAS"), campo, where);
  EXPECT_EQ(where, QStringLiteral("(A=1) OR B=2"));
}

TEST_F(Consultas, GenericaEnOrdenInversoConColumnaDeBusqueda) {
  Lib_ClsCons3& c = clsCons3();
  QString campo = QStringLiteral("PREVIO"), where = QStringLiteral("ZONA = 3");
  EXPECT_EQ(c.ArmarSentencia(QStringLiteral("TA_ZONAS"), campo, where).value(),
            QStringLiteral("SELECT TOP 1000 PRECIO,NOMBRE,CODIGO FROM TA_ZONAS ORDER BY NOMBRE"));
  EXPECT_EQ(campo, QStringLiteral("NOMBRE"));
  // A statement given by the caller replaces the generic one.
  EXPECT_EQ(c.ArmarSentencia(QStringLiteral("TA_ZONAS"), campo, where, QStringLiteral("SELECT 1")).value(),
            QStringLiteral("SELECT 1"));
}

TEST_F(Consultas, TablaSoloConIdOInexistenteDaAsterisco) {
  Lib_ClsCons3& c = clsCons3();
  QString campo, where;
  EXPECT_EQ(c.ArmarSentencia(QStringLiteral("SOLO_ID"), campo, where).value(),
            QStringLiteral("SELECT TOP 1000  *  FROM SOLO_ID"));
  campo = QStringLiteral("ID");
  EXPECT_EQ(c.ArmarSentencia(QStringLiteral("SOLO_ID"), campo, where).value(),
            QStringLiteral("SELECT TOP 1000  *  FROM SOLO_ID ORDER BY ID"));
  // A missing table is an error the request passes over.
  prueba::responderError(QStringLiteral("Ignorar"), QString());
  campo.clear();
  EXPECT_EQ(c.ArmarSentencia(QStringLiteral("NO_EXISTE"), campo, where).value(),
            QStringLiteral("SELECT TOP 1000  *  FROM NO_EXISTE"));
}

TEST_F(Consultas, LimiteDeFilasDeTopConsArt) {
  cfg(QStringLiteral("TopConsArt"), QStringLiteral("0"));
  QString campo, where;
  EXPECT_TRUE(clsCons3().ArmarSentencia(QStringLiteral("TA_ZONAS"), campo, where)->startsWith("SELECT TOP 1000 "));
  base.ejecutar("UPDATE TA_CONFIGURACION SET Valor = '250' WHERE Clave = 'TopConsArt'");
  EXPECT_TRUE(clsCons3().ArmarSentencia(QStringLiteral("TA_ZONAS"), campo, where)->startsWith("SELECT TOP 250 "));
  base.ejecutar("UPDATE TA_CONFIGURACION SET Valor = 'muchas' WHERE Clave = 'TopConsArt'");
  EXPECT_TRUE(clsCons3().ArmarSentencia(QStringLiteral("TA_ZONAS"), campo, where)->startsWith("SELECT TOP 1000 "));
}

TEST_F(Consultas, SentenciaCompletaConLaVistaDeArticulosRenombrada) {
  QString campo, where;
  EXPECT_EQ(clsCons3().ArmarSentencia(QStringLiteral("select * from v_ma_articulos"), campo, where).value(),
            QStringLiteral("select * from VT_MA_ARTICULOS"));
  EXPECT_EQ(clsCons3().ArmarSentencia(QStringLiteral("SELECT * FROM VT_MA_ARTICULOS"), campo, where).value(),
            QStringLiteral("SELECT * FROM VT_MA_ARTICULOS"));
}

TEST_F(Consultas, RegistroDeMascara) {
  Lib_ClsCons3& c = clsCons3();
  c.gUsarMascarasConsultas = true;
  c.gRutaMascaraConsultas = mascaras();
  // Without the file the table goes to the dialog as it is.
  QString campo, where;
  EXPECT_EQ(c.ArmarSentencia(QStringLiteral("VT_CLIENTES"), campo, where).value(), QStringLiteral("VT_CLIENTES"));

  escribirMascaras(ModGlobal::RegistroMascara("OTRA", "TA_OTRA", "|A|B|", "") +
                   ModGlobal::RegistroMascara("CLIENTES", "VT_CLIENTES", "|NOMBRE|CODIGO|", "") +
                   ModGlobal::RegistroMascara("ARTICULOS", "V_MA_ARTICULOS", "|DESCRIPCION|IDARTICULO|", "") +
                   ModGlobal::RegistroMascara("ZONAS", "TA_ZONAS", "|NOMBRE|", "ID > 1") +
                   ModGlobal::RegistroMascara("SOLO", "SOLO_ID", "|CODIGO|", ""));
  EXPECT_EQ(c.ArmarSentencia(QStringLiteral(" vt_clientes "), campo, where).value(),
            QStringLiteral("SELECT TOP 1000 NOMBRE,CODIGO FROM VT_CLIENTES WHERE Dada_De_Baja = 0 ORDER BY NOMBRE"));
  campo.clear();
  where = QStringLiteral("ZONA = 3");
  EXPECT_EQ(c.ArmarSentencia(QStringLiteral("VT_CLIENTES"), campo, where).value(),
            QStringLiteral("SELECT TOP 1000 NOMBRE,CODIGO FROM VT_CLIENTES WHERE  (ZONA = 3)  ORDER BY NOMBRE"));
  campo.clear();
  where.clear();
  EXPECT_EQ(c.ArmarSentencia(QStringLiteral("V_MA_ARTICULOS"), campo, where).value(),
            QStringLiteral("SELECT TOP 1000 DESCRIPCION,IDARTICULO FROM VT_MA_ARTICULOS WHERE SUSPENDIDO = 0 "
                           "ORDER BY DESCRIPCION"));
  // One column: fine with a search column given, a message without one.
  campo = QStringLiteral("NOMBRE");
  EXPECT_EQ(c.ArmarSentencia(QStringLiteral("TA_ZONAS"), campo, where).value(),
            QStringLiteral("SELECT TOP 1000 NOMBRE FROM TA_ZONAS WHERE ID > 1 ORDER BY NOMBRE"));
  campo.clear();
  prueba::guion().esperarMensaje(ui::vbOK, QStringLiteral("Debe configurar"));
  EXPECT_EQ(c.ArmarSentencia(QStringLiteral("TA_ZONAS"), campo, where).has_value(), false);
  EXPECT_TRUE(prueba::guion().textos().contains(QStringLiteral("Debe configurar la consulta para esta tabla")));
  // A table with no record takes the generic statement.
  campo.clear();
  base.ejecutar("CREATE TABLE TA_SIN (CODIGO TEXT, DETALLE TEXT)");
  EXPECT_EQ(c.ArmarSentencia(QStringLiteral("TA_SIN"), campo, where).value(),
            QStringLiteral("SELECT TOP 1000 DETALLE,CODIGO FROM TA_SIN ORDER BY DETALLE"));
}

TEST_F(Consultas, MascaraSinComasNoAbreDialogoNiTocaResultados) {
  Lib_ClsCons3& c = clsCons3();
  c.gUsarMascarasConsultas = true;
  c.gRutaMascaraConsultas = mascaras();
  escribirMascaras(ModGlobal::RegistroMascara("SOLO", "SOLO_ID", "|CODIGO|", ""));
  c.ValorDevuelto = QStringLiteral("antes");
  c.Valores = QStringList{QStringLiteral("v")};
  prueba::guion().esperarMensaje(ui::vbOK, QStringLiteral("Debe configurar la consulta para esta tabla"),
                                 QStringLiteral("Aviso al operador"));
  Coleccion cmps = QStringList{QStringLiteral("CODIGO")};
  QString campo, where;
  c.ConsultaSearch(QStringLiteral("SOLO_ID"), cmps, {}, campo, where);
  EXPECT_EQ(c.ValorDevuelto.toText(), QStringLiteral("antes"));
  EXPECT_EQ(c.Valores, QStringList{QStringLiteral("v")});
}

TEST_F(Consultas, PedidoCompletoDejaLimpioElEstado) {
  Lib_ClsCons3& c = clsCons3();
  c.CampoDevuelto = QStringLiteral("CODIGO");
  Coleccion cmps = QStringList{QStringLiteral("NOMBRE")};
  QString campo, where;
  QString sql;
  bool ordenar = true;
  prueba::guion().esperarModal([&](QDialog& d) {
    auto& f = dynamic_cast<Lib_FrmCons3&>(d);
    sql = f.SQL;
    ordenar = f.OrdenarPorLwv;
    EXPECT_EQ(f.cajaBusqueda(0)->text(), QStringLiteral("Su"));  // the Clave, searched at once
    EXPECT_EQ(f.filaSeleccionada(), -1);                         // the first column holds prices
    prueba::teclear(d, QStringLiteral("CmbSearch(1)"), QStringLiteral("su"));
    prueba::pulsar(d, QStringLiteral("Aceptar"));
  });
  c.ConsultaSearch(QStringLiteral("TA_ZONAS"), cmps, QStringLiteral("Su"), campo, where);
  EXPECT_EQ(sql, QStringLiteral("SELECT TOP 1000 PRECIO,NOMBRE,CODIGO FROM TA_ZONAS ORDER BY NOMBRE "));
  EXPECT_FALSE(ordenar);
  EXPECT_FALSE(c.Checks);
  EXPECT_TRUE(c.CampoDevuelto.isEmpty());
  EXPECT_FALSE(cmps.has_value());
  ASSERT_TRUE(c.Valores.has_value());
  EXPECT_EQ(*c.Valores, QStringList{QStringLiteral("Sur")});
  EXPECT_EQ(c.ValorDevuelto.toText(), QStringLiteral("02"));
}

TEST_F(Consultas, NivelesDeStockDeLaConfiguracion) {
  cfg(QStringLiteral("Stk_Nivel1"), QStringLiteral("255"));
  cfg(QStringLiteral("Stk_Nivel2"), QString());
  cfg(QStringLiteral("UsaConsultaLike"), QStringLiteral("si"));
  Lib_ClsCons3& c = clsCons3();
  EXPECT_EQ(c.StkNivel1.toDouble(), 255);
  EXPECT_TRUE(c.StkNivel2.isNumeric());
  EXPECT_EQ(c.StkNivel2.toDouble(), 0);
  EXPECT_EQ(c.StkNivel3.toText(), QStringLiteral(" "));
  EXPECT_TRUE(c.usaLike());
  EXPECT_TRUE(c.CmpsDevueltos.has_value());
}

TEST_F(Consultas, ArbolDesdeElServicio) {
  base.ejecutar("INSERT INTO PLAN VALUES ('1', 'Activo'), ('11', 'Caja'); INSERT INTO TA_CCOSTO VALUES ('11', 'Caja')");
  Lib_ClsCons3& c = clsCons3();
  c.CampoDevuelto = QStringLiteral("CODIGO");
  Coleccion cmps;
  QString campo, where;
  prueba::guion().esperarModal(
      [&](QDialog& d) {
        prueba::teclear(d, QStringLiteral("CmbSearch(0)"), QStringLiteral("caj"));
        prueba::pulsar(d, QStringLiteral("Aceptar"));
      },
      QStringLiteral("Lib_FrmCons3Tree"));
  c.ConsultaSearch(QStringLiteral("SELECT CODIGO, DESCRIPCION FROM PLAN ORDER BY CODIGO"), cmps, {}, campo, where, {},
                   true);
  EXPECT_EQ(c.ValorDevuelto.toText(), QStringLiteral("11"));
  EXPECT_FALSE(c.Checks);
}

}  // namespace
