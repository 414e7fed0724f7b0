// The batch options read off the command line: what goes to the form, what
// stays as the parameter text, what is refused.
#include <gtest/gtest.h>

#include <QDir>

#include "report/lote_opciones.h"

namespace {

using lote::leerOpciones;

TEST(LoteOpciones, ElReporteYElTextoDeParametros) {
  const auto o = leerOpciones({QStringLiteral("@Server=S;@DbName=B;"), QStringLiteral("--desde=ana"),
                               QStringLiteral("--hasta="), QStringLiteral("--unidades=0001, 0003,,"),
                               QStringLiteral("--tareas=D30"), QStringLiteral("--agrupar=Tarea"),
                               QStringLiteral("--destino=pdf:sub/r.pdf"), QStringLiteral("@Caja=2")});
  EXPECT_TRUE(o.error.isEmpty()) << o.error.toStdString();
  EXPECT_TRUE(o.lote);
  EXPECT_FALSE(o.solicitud);
  EXPECT_EQ(o.resto, (QStringList{QStringLiteral("@Server=S;@DbName=B;"), QStringLiteral("@Caja=2")}));
  EXPECT_EQ(o.desde, QStringLiteral("ana"));
  EXPECT_EQ(o.hasta, QString());  // given, and empty
  EXPECT_EQ(o.unidades, (QStringList{QStringLiteral("0001"), QStringLiteral("0003")}));
  EXPECT_EQ(o.tareas, QStringList{QStringLiteral("D30")});
  EXPECT_EQ(o.agrupar, 2);
  EXPECT_EQ(o.destino, lote::Destino::Pdf);
  EXPECT_EQ(o.archivoPdf, QDir::current().absoluteFilePath(QStringLiteral("sub/r.pdf")));

  const auto sinOpciones = leerOpciones({QStringLiteral("@Server=S")});
  EXPECT_FALSE(sinOpciones.lote);
  EXPECT_FALSE(sinOpciones.agrupar.has_value());
  EXPECT_FALSE(sinOpciones.destino.has_value());
}

TEST(LoteOpciones, LaConsultaLlevaSusCompanerasAparte) {
  const auto o = leerOpciones({QStringLiteral("@Server=S"), QStringLiteral("--consulta"), QStringLiteral("TA_USUARIOS"),
                               QStringLiteral("--arbol"), QStringLiteral("--where"), QStringLiteral("ESGRUPO = 0")});
  EXPECT_TRUE(o.error.isEmpty()) << o.error.toStdString();
  EXPECT_FALSE(o.lote);
  EXPECT_EQ(o.resto, QStringList{QStringLiteral("@Server=S")});
  EXPECT_EQ(o.consulta,
            (QStringList{QStringLiteral("--consulta"), QStringLiteral("TA_USUARIOS"), QStringLiteral("--arbol"),
                         QStringLiteral("--where"), QStringLiteral("ESGRUPO = 0")}));
  // Without --consulta its companions are nobody's.
  EXPECT_FALSE(leerOpciones({QStringLiteral("--arbol")}).error.isEmpty());
  EXPECT_FALSE(
      leerOpciones({QStringLiteral("--consulta"), QStringLiteral("T"), QStringLiteral("--solicitud")}).error.isEmpty());
}

TEST(LoteOpciones, LoMalEscritoSeRechaza) {
  for (const char* a : {"--agrupar=mes", "--destino=fax", "--destino=pdf:", "--destino=xlsx: ", "--destino=csv:",
                        "--desde", "--unidades", "--solicitar"}) {
    const auto o = leerOpciones({QStringLiteral("@Server=S"), QString::fromLatin1(a)});
    EXPECT_FALSE(o.error.isEmpty()) << a;
  }
  const auto primera = leerOpciones({QStringLiteral("--x"), QStringLiteral("--y")});
  EXPECT_EQ(primera.error, QStringLiteral("Opción desconocida: --x"));
  EXPECT_TRUE(leerOpciones({QStringLiteral("--help")}).ayuda);
  EXPECT_EQ(leerOpciones({QStringLiteral("--agrupar=1")}).agrupar, 1);
  EXPECT_EQ(leerOpciones({QStringLiteral("--destino=IMPRESORA")}).destino, lote::Destino::Impresora);
  const auto hoja = leerOpciones({QStringLiteral("--destino=XLSX:u.xlsx")});
  EXPECT_EQ(hoja.destino, lote::Destino::Xlsx);
  EXPECT_EQ(hoja.archivoPdf, QDir::current().absoluteFilePath(QStringLiteral("u.xlsx")));
  EXPECT_EQ(leerOpciones({QStringLiteral("--destino=csv:u")}).destino, lote::Destino::Csv);
}

}  // namespace
