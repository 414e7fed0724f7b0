// Whole requests: report files on real SQLite files rendered to PDF and read
// back with pdftotext; bad input; the preview offscreen; the printer path.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QPrinter>
#include <QTest>

#include "engine/errores.h"
#include "engine/motor.h"
#include "engine/vista_previa.h"
#include "tests/engine/caso_usuarios.h"

using namespace engine;
using prueba::Caso;

namespace {

vb::Error errorDe(const SolicitudReporte& s) {
  try {
    EmitirReporte(s);
  } catch (const vb::Error& e) {
    return e;
  }
  return vb::Error(0, "sin error");
}

const QString kFormulaUsuarios =
    "TrimLeft(TrimRight({Ta_usuarios.nombre})) >= 'a'  AND TrimLeft(TrimRight({Ta_usuarios.nombre})) <= 'o''z' "
    " AND {Ta_usuarios.esgrupo}=FALSE AND ({TA_USUARIOS.UNEGOCIO} = '0001'  OR {TA_USUARIOS.UNEGOCIO} = '0003' ) ";

}  // namespace

TEST(ReportePdf, ContenidoOrdenGruposCuentasYParametros) {
  Caso c;
  const SolicitudReporte s = c.solicitud(kFormulaUsuarios);
  ASSERT_EQ(EmitirReporte(s), Resultado::Emitido);
  const QString t = prueba::textoPdf(s.archivoPdf);
  EXPECT_TRUE(t.contains("Usuarios por Grupo"));
  EXPECT_TRUE(t.contains("U.Neg.:0001-0003"));
  EXPECT_TRUE(t.contains("Korvane SA"));
  EXPECT_TRUE(t.contains("Página 1 de 1"));
  EXPECT_TRUE(t.contains("Fecha: " + QDate::currentDate().toString("dd/MM/yyyy")));
  // Groups sorted, case ignored ("ventas" joins "VENTAS"); rows sorted inside.
  const qsizetype admin = t.indexOf("Grupo: ADMIN"), ventas = t.indexOf("Grupo: VENTAS");
  ASSERT_GE(admin, 0);
  ASSERT_GT(ventas, admin);
  EXPECT_EQ(t.count("Grupo: "), 2);
  EXPECT_LT(t.indexOf("carla"), t.indexOf("O'Brien"));
  EXPECT_LT(t.indexOf("O'Brien"), ventas);
  EXPECT_LT(ventas, t.indexOf("ana"));
  EXPECT_LT(t.indexOf("ana"), t.indexOf("beto"));
  EXPECT_LT(t.indexOf("beto"), t.indexOf("elena"));
  EXPECT_FALSE(t.contains("dario"));               // unit 0002
  EXPECT_EQ(t.count("Usuarios del grupo: 2"), 1);  // ADMIN: carla, O'Brien
  EXPECT_EQ(t.count("Usuarios del grupo: 3"), 1);  // VENTAS: ana, beto, elena
  EXPECT_TRUE(t.contains("Total de usuarios: 5"));
  EXPECT_TRUE(t.contains("05/01/2024"));
  EXPECT_TRUE(t.contains("1500.50"));
}

TEST(ReportePdf, VariasPaginasRepitenEncabezadosYNumeran) {
  Caso c(250);
  const SolicitudReporte s = c.solicitud("{Ta_usuarios.nombre} LIKE 'u*'");
  long ultima = -1, total = -1;
  SolicitudReporte conAvance = s;
  conAvance.avance = [&](Fase fase, long hechas, long t) {
    if (fase == Fase::Salida) {
      ultima = hechas;
      total = t;
    }
    return true;
  };
  ASSERT_EQ(EmitirReporte(conAvance), Resultado::Emitido);
  const QStringList paginas = prueba::textoPdf(s.archivoPdf).split('\f', Qt::SkipEmptyParts);
  ASSERT_GE(paginas.size(), 5);
  EXPECT_EQ(total, paginas.size());
  EXPECT_EQ(ultima, total);
  for (int i = 0; i < paginas.size(); ++i) {
    EXPECT_TRUE(paginas[i].contains("Usuario")) << "column headers on page " << i + 1;
    EXPECT_TRUE(paginas[i].contains(QString("Página %1 de %2").arg(i + 1).arg(paginas.size())));
  }
  // A group going on over a page break repeats its header on top of the next page, marked.
  int continuados = 0;
  for (int i = 1; i < paginas.size(); ++i) {
    const qsizetype ultimo = paginas[i - 1].lastIndexOf("Grupo: G");
    if (ultimo < 0 || paginas[i - 1].indexOf("Usuarios del grupo:", ultimo) >= 0) continue;
    const QString marcado = paginas[i - 1].mid(ultimo, 11) + " (continuación)";
    ++continuados;
    ASSERT_TRUE(paginas[i].contains(marcado)) << "page " << i + 1 << ": " << paginas[i].left(400).toStdString();
    EXPECT_LT(paginas[i].indexOf(marcado), paginas[i].indexOf("u0"));
  }
  const QString t = paginas.join('\n');
  EXPECT_GT(continuados, 0);
  EXPECT_EQ(t.count(" (continuación)"), continuados);
  EXPECT_EQ(t.count("Grupo: G") - continuados, 7);  // 250 rows, 40 per group
  EXPECT_EQ(t.count("Usuarios del grupo: 40"), 6);
  EXPECT_EQ(t.count("Usuarios del grupo: 10"), 1);
  EXPECT_TRUE(t.contains("Total de usuarios: 250"));
  EXPECT_LT(t.indexOf("u00000"), t.indexOf("u00249"));
}

TEST(ReportePdf, CanceladoNoDejaArchivoAMedias) {
  Caso c(300);
  SolicitudReporte s = c.solicitud();
  QFile viejo(s.archivoPdf);
  ASSERT_TRUE(viejo.open(QIODevice::WriteOnly));
  viejo.write("anterior");
  viejo.close();
  s.avance = [](Fase fase, long hechas, long) { return fase != Fase::Salida || hechas < 2; };
  EXPECT_EQ(EmitirReporte(s), Resultado::Cancelado);
  QFile f(s.archivoPdf);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_EQ(f.readAll(), QByteArray("anterior"));
}

TEST(ReportePdf, SinFilasDiceQueNoHay) {
  Caso c;
  const SolicitudReporte s = c.solicitud("{Ta_usuarios.nombre} = 'nadie'");
  ASSERT_EQ(EmitirReporte(s), Resultado::Emitido);
  const QString t = prueba::textoPdf(s.archivoPdf);
  EXPECT_TRUE(t.contains("No hay registros que cumplan la selección."));
  EXPECT_TRUE(t.contains("Total de usuarios: 0"));
}

TEST(ReporteErrores, CadaFallaNombraArchivoCampoOPosicion) {
  Caso c;
  SolicitudReporte s = c.solicitud();

  s.archivo = c.carpeta.archivo("falta.rpt");
  vb::Error e = errorDe(s);
  EXPECT_EQ(e.Number(), vb::kFileNotFound);
  EXPECT_TRUE(e.Description().contains("falta.rpt"));

  s.archivo = c.carpeta.escribir("roto.rpt", "{ \"titulo\": \"x\",\n  \"consulta\": }");
  e = errorDe(s);
  EXPECT_EQ(e.Number(), kErrorArchivoReporte);
  EXPECT_TRUE(e.Description().contains("roto.rpt"));
  EXPECT_TRUE(e.Description().contains("línea 2")) << e.Description().toStdString();

  s.archivo = c.carpeta.escribir(
      "clave.rpt", R"({"consulta": "SELECT * FROM TA_USUARIOS", "columnas": [{"campo": "NOMBRE"}], "titlo": "x"})");
  e = errorDe(s);
  EXPECT_EQ(e.Number(), kErrorArchivoReporte);
  EXPECT_TRUE(e.Description().contains("\"titlo\""));

  // A key written twice would leave one of the two unread; the second is named.
  s.archivo = c.carpeta.escribir("doble.rpt",
                                 "{\"consulta\": \"SELECT * FROM TA_USUARIOS\",\n"
                                 " \"columnas\": [{\"campo\": \"NOMBRE\", \"titulo\": \"a\", \"titulo\": \"b\"}]}");
  e = errorDe(s);
  EXPECT_EQ(e.Number(), kErrorArchivoReporte);
  EXPECT_TRUE(e.Description().contains("doble.rpt"));
  EXPECT_TRUE(e.Description().contains("\"titulo\" está repetida en línea 2, columna 50"))
      << e.Description().toStdString();

  // A "{" never closed would print as it is.
  s.archivo = c.carpeta.escribir(
      "llave.rpt",
      R"({"consulta": "SELECT * FROM TA_USUARIOS", "columnas": [{"campo": "NOMBRE"}], "pie": "Hoja de {Parametros"})");
  e = errorDe(s);
  EXPECT_EQ(e.Number(), kErrorArchivoReporte);
  EXPECT_TRUE(e.Description().contains("llave.rpt"));
  EXPECT_TRUE(e.Description().contains("\"pie\"")) << e.Description().toStdString();
  EXPECT_TRUE(e.Description().contains("{Parametros")) << e.Description().toStdString();

  s.archivo = c.carpeta.escribir(
      "campo.rpt",
      R"({"consulta": "SELECT NOMBRE FROM TA_USUARIOS", "columnas": [{"campo": "NOMBRE"}, {"campo": "EDAD"}]})");
  e = errorDe(s);
  EXPECT_EQ(e.Number(), kErrorCampo);
  EXPECT_TRUE(e.Description().contains("campo.rpt"));
  EXPECT_TRUE(e.Description().contains("\"EDAD\""));

  s.archivo = c.carpeta.escribir("consulta.rpt",
                                 R"({"consulta": "SELECT NOMBRE FROM NO_HAY", "columnas": [{"campo": "NOMBRE"}]})");
  e = errorDe(s);
  EXPECT_EQ(e.Number(), kErrorConsulta);
  EXPECT_TRUE(e.Description().contains("NO_HAY"));

  s.archivo = c.reporte;
  s.formula = "{Ta_usuarios.nombre} = 'a' AND (";
  e = errorDe(s);
  EXPECT_EQ(e.Number(), kErrorFormula);
  EXPECT_TRUE(e.Description().contains("posición 33")) << e.Description().toStdString();

  s.formula = "{TA_MENU.CLAVE} = 'M01'";
  e = errorDe(s);
  EXPECT_EQ(e.Number(), kErrorCampo);
  EXPECT_TRUE(e.Description().contains("{TA_MENU.CLAVE}"));

  s.formula.clear();
  s.asignaciones = {"Parametros sin igual"};
  EXPECT_EQ(errorDe(s).Number(), kErrorSolicitud);

  s.asignaciones.clear();
  s.conexionAbierta.reset();
  e = errorDe(s);
  EXPECT_EQ(e.Number(), kErrorSolicitud);
  EXPECT_TRUE(e.Description().contains("DSN_QUE_NO_EXISTE"));
  EXPECT_FALSE(QFile::exists(s.archivoPdf));
}

TEST(ReporteSolicitud, AsignacionesYConexionPorCadena) {
  EXPECT_EQ(leerAsignacion("Parametros = ' U.Neg.:0001'"),
            std::make_pair(QString("Parametros"), QString(" U.Neg.:0001")));
  EXPECT_EQ(leerAsignacion("Nombre = 'O''Brien'").second, "O'Brien");
  EXPECT_EQ(leerAsignacion("Nombre = 'O'Brien'").second, "O'Brien");  // the program does not double quotes
  EXPECT_EQ(leerAsignacion("Total=12").second, "12");
  EXPECT_THROW(leerAsignacion("= 'x'"), vb::Error);
  EXPECT_THROW(leerAsignacion("Nombre = 'x"), vb::Error);

  Caso c;
  SolicitudReporte s = c.solicitud();
  s.conexionAbierta.reset();
  s.conexion = "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + c.base + ";";
  ASSERT_EQ(EmitirReporte(s), Resultado::Emitido);
  EXPECT_TRUE(prueba::textoPdf(s.archivoPdf).contains("Total de usuarios: 7"));
}

TEST(ReporteImpresora, ElCaminoDeLaImpresoraPintaLasMismasPaginas) {
  Caso c;
  auto r = ReportePreparado::preparar(c.solicitud(kFormulaUsuarios));
  ASSERT_TRUE(r->completar());
  QPrinter impresora(QPrinter::HighResolution);
  impresora.setOutputFormat(QPrinter::PdfFormat);
  const QString ruta = c.carpeta.archivo("impreso.pdf");
  impresora.setOutputFileName(ruta);
  ASSERT_TRUE(imprimirDocumento(r->documento(), impresora));
  const QString t = prueba::textoPdf(ruta);
  EXPECT_TRUE(t.contains("Grupo: ADMIN"));
  EXPECT_TRUE(t.contains("Total de usuarios: 5"));
  EXPECT_TRUE(t.contains("Página 1 de 1"));
}

TEST(ReporteVistaPrevia, PrimeraPaginaAntesDeLaUltimaYNavegacion) {
  Caso c(3000);
  SolicitudReporte s = c.solicitud();
  s.destino = Destino::Pantalla;
  s.opcionA = false;  // no printing offered
  s.ajuste = 100;
  VistaPrevia v(ReportePreparado::preparar(s), s);
  EXPECT_EQ(v.paginasMaquetadas(), 1);
  EXPECT_FALSE(v.completo());
  auto* etiqueta = v.findChild<QLabel*>("lblPagina");
  ASSERT_NE(etiqueta, nullptr);
  EXPECT_EQ(etiqueta->text(), "de 1+");
  v.show();
  EXPECT_FALSE(v.findChild<QAbstractButton*>("cmdImprimir")->isVisible());
  EXPECT_TRUE(v.findChild<QAbstractButton*>("cmdExportar")->isVisible());
  // Page one is painted while the rest is still being laid out.
  QImage imagen = v.grab().toImage();
  int oscuros = 0;
  for (int y = 0; y < imagen.height(); y += 2)
    for (int x = 0; x < imagen.width(); x += 2) oscuros += qGray(imagen.pixel(x, y)) < 80;
  EXPECT_GT(oscuros, 50);
  QTRY_VERIFY_WITH_TIMEOUT(v.completo(), 60000);
  const int n = v.paginasMaquetadas();
  EXPECT_GT(n, 20);
  EXPECT_EQ(etiqueta->text(), QString("de %1").arg(n));
  QTest::mouseClick(v.findChild<QAbstractButton*>("cmdSiguiente"), Qt::LeftButton);
  EXPECT_EQ(v.paginaActual(), 2);
  QTest::mouseClick(v.findChild<QAbstractButton*>("cmdUltima"), Qt::LeftButton);
  EXPECT_EQ(v.paginaActual(), n);
  EXPECT_FALSE(v.findChild<QAbstractButton*>("cmdSiguiente")->isEnabled());
  QTest::mouseClick(v.findChild<QAbstractButton*>("cmdPrimera"), Qt::LeftButton);
  EXPECT_EQ(v.paginaActual(), 1);
  const double escala100 = v.escala();
  v.setZoom(200);
  EXPECT_NEAR(v.escala(), 2 * escala100, 1e-9);
  const QString ruta = c.carpeta.archivo("desde_vista.pdf");
  ASSERT_TRUE(v.exportarPdf(ruta));
  const QString t = prueba::textoPdf(ruta);
  EXPECT_TRUE(t.contains(QString("Página %1 de %1").arg(n)));
  EXPECT_TRUE(t.contains("Total de usuarios: 3007"));
}

TEST(ReporteVistaPrevia, DetenidaNoSeExportaAMedias) {
  Caso c(3000);
  SolicitudReporte s = c.solicitud();
  VistaPrevia v(ReportePreparado::preparar(s), s);
  ASSERT_FALSE(v.completo());
  QTest::mouseClick(v.findChild<QAbstractButton*>("cmdDetener"), Qt::LeftButton);
  EXPECT_TRUE(v.detenido());
  EXPECT_FALSE(v.findChild<QAbstractButton*>("cmdExportar")->isEnabled());
  EXPECT_FALSE(v.exportarPdf(c.carpeta.archivo("no.pdf")));
  EXPECT_FALSE(QFile::exists(c.carpeta.archivo("no.pdf")));
}
