// Whole requests: report files on real SQLite files rendered to PDF and read
// back with pdftotext; bad input; the preview offscreen; the printer path.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QPrinter>
#include <QPushButton>
#include <QTest>

#include "engine/errores.h"
#include "engine/motor.h"
#include "engine/vista_previa.h"
#include "tests/engine/apoyo.h"
#include "tests/support/temp_folder.h"

using namespace engine;

namespace {

QByteArray baseUsuarios(int extra = 0) {
  QByteArray s =
      "BEGIN;\n"
      "CREATE TABLE TA_USUARIOS (NOMBRE VARCHAR(20) COLLATE NOCASE, GRUPO VARCHAR(20) COLLATE NOCASE,"
      " UNEGOCIO CHAR(4) COLLATE NOCASE, ESGRUPO BIT, ALTA DATETIME, SUELDO FLOAT);\n"
      "INSERT INTO TA_USUARIOS VALUES ('ana', 'VENTAS', '0001', 0, '2024-01-05 00:00:00', 1500.5),"
      " ('beto', 'VENTAS', '0003', 0, '2024-02-01 00:00:00', 900),"
      " ('carla', 'ADMIN', '0001', 0, '2024-03-10 00:00:00', 2000),"
      " ('dario', 'ADMIN', '0002', 0, '2024-03-11 00:00:00', 10),"
      " ('VENTAS', NULL, '0001', 1, NULL, NULL),"
      " ('elena', 'ventas', '0003', 0, '2024-04-01 00:00:00', 300),"
      " ('O''Brien', 'ADMIN', '0003', 0, '2024-04-02 00:00:00', 5);\n";
  for (int i = 0; i < extra; ++i)
    s += QString("INSERT INTO TA_USUARIOS VALUES ('u%1', 'G%2', '0001', 0, '2024-01-01 00:00:00', %1);\n")
             .arg(i, 5, 10, QChar('0'))
             .arg(i / 40, 3, 10, QChar('0'))
             .toUtf8();
  return s + "COMMIT;\n";
}

const char* kReporte = R"({
  "titulo": "Usuarios por Grupo",
  "consulta": "SELECT NOMBRE, GRUPO, UNEGOCIO, ESGRUPO, ALTA, SUELDO FROM TA_USUARIOS",
  "campos": { "Ta_usuarios.nombre": "NOMBRE" },
  "orden": ["NOMBRE"],
  "grupos": [ { "campo": "GRUPO", "encabezado": "Grupo: {GRUPO}", "pie": "Usuarios del grupo: {cuenta}" } ],
  "columnas": [
    { "campo": "NOMBRE", "titulo": "Usuario", "ancho": 50 },
    { "campo": "UNEGOCIO", "titulo": "Unidad", "ancho": 20, "alineacion": "centro" },
    { "campo": "ALTA", "titulo": "Alta", "ancho": 30, "formato": "dd/MM/yyyy" },
    { "campo": "SUELDO", "titulo": "Sueldo", "ancho": 30, "formato": "0.00" }
  ],
  "formulas": { "Parametros": "", "Nombreempresa": "Korvane SA" },
  "pie": "{Nombreempresa}",
  "final": "Total de usuarios: {cuenta}"
})";

struct Caso {
  prueba::CarpetaTemporal carpeta;
  QString base, reporte;
  ado::Connection cn;

  explicit Caso(int extra = 0, const QByteArray& reporteTexto = kReporte) {
    base = prueba::crearBase(carpeta.archivo("empresa.db"), baseUsuarios(extra));
    reporte = carpeta.escribir("RP_Usuarios_Grupos.rpt", reporteTexto);
    cn = prueba::abrirBase(base);
  }

  SolicitudReporte solicitud(const QString& formula = {}) const {
    SolicitudReporte s;
    s.archivo = reporte;
    s.formula = formula;
    s.conexion = "DSN_QUE_NO_EXISTE";
    s.conexionAbierta = cn;
    s.asignaciones = {"Parametros = ' U.Neg.:0001-0003'", "", "", "", ""};
    s.destino = Destino::Pdf;
    s.archivoPdf = carpeta.archivo("salida.pdf");
    s.opcionC = false;
    return s;
  }
};

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
  EXPECT_FALSE(t.contains("dario"));  // unit 0002
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
  conAvance.avance = [&](long hechas, long t) {
    if (t >= 0) { ultima = hechas; total = t; }
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
  const QString t = paginas.join('\n');
  EXPECT_EQ(t.count("Grupo: G"), 7);  // 250 rows, 40 per group
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
  s.avance = [](long hechas, long total) { return total < 0 || hechas < 2; };
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

  s.archivo = c.carpeta.escribir("clave.rpt", R"({"consulta": "SELECT * FROM TA_USUARIOS", "columnas": [{"campo": "NOMBRE"}], "titlo": "x"})");
  e = errorDe(s);
  EXPECT_EQ(e.Number(), kErrorArchivoReporte);
  EXPECT_TRUE(e.Description().contains("\"titlo\""));

  s.archivo = c.carpeta.escribir("campo.rpt", R"({"consulta": "SELECT NOMBRE FROM TA_USUARIOS", "columnas": [{"campo": "NOMBRE"}, {"campo": "EDAD"}]})");
  e = errorDe(s);
  EXPECT_EQ(e.Number(), kErrorCampo);
  EXPECT_TRUE(e.Description().contains("campo.rpt"));
  EXPECT_TRUE(e.Description().contains("\"EDAD\""));

  s.archivo = c.carpeta.escribir("consulta.rpt", R"({"consulta": "SELECT NOMBRE FROM NO_HAY", "columnas": [{"campo": "NOMBRE"}]})");
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
  EXPECT_EQ(leerAsignacion("Parametros = ' U.Neg.:0001'"), std::make_pair(QString("Parametros"), QString(" U.Neg.:0001")));
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

TEST(ReporteImpresora, ElRangoDelDialogoImprimeSoloEsasPaginas) {
  Caso c(400);
  auto r = ReportePreparado::preparar(c.solicitud());
  ASSERT_TRUE(r->completar());
  const long n = long(r->documento().paginas.size());
  ASSERT_GT(n, 4);
  QPrinter impresora(QPrinter::HighResolution);
  impresora.setOutputFormat(QPrinter::PdfFormat);
  impresora.setOutputFileName(c.carpeta.archivo("rango.pdf"));
  impresora.setPrintRange(QPrinter::PageRange);
  impresora.setFromTo(2, 3);
  ASSERT_TRUE(imprimirDocumento(r->documento(), impresora));
  const QStringList paginas = prueba::textoPdf(c.carpeta.archivo("rango.pdf")).split('\f', Qt::SkipEmptyParts);
  ASSERT_EQ(paginas.size(), 2);
  EXPECT_TRUE(paginas[0].contains(QString("Página 2 de %1").arg(n)));
  EXPECT_TRUE(paginas[1].contains(QString("Página 3 de %1").arg(n)));
  // A range past the end is refused rather than printing nothing.
  impresora.setFromTo(int(n) + 1, int(n) + 2);
  try {
    imprimirDocumento(r->documento(), impresora);
    ADD_FAILURE() << "imprimió un rango que no existe";
  } catch (const vb::Error& e) {
    EXPECT_EQ(e.Number(), kErrorSalida);
  }
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
  EXPECT_EQ(etiqueta->text(), "Página 1 de 1+");
  EXPECT_FALSE(v.findChild<QPushButton*>("cmdImprimir")->isVisibleTo(&v));
  EXPECT_TRUE(v.findChild<QPushButton*>("cmdExportar")->isVisibleTo(&v));
  v.show();
  // Page one is painted while the rest is still being laid out.
  QImage imagen = v.grab().toImage();
  int oscuros = 0;
  for (int y = 0; y < imagen.height(); y += 2)
    for (int x = 0; x < imagen.width(); x += 2) oscuros += qGray(imagen.pixel(x, y)) < 80;
  EXPECT_GT(oscuros, 50);
  QTRY_VERIFY_WITH_TIMEOUT(v.completo(), 60000);
  const int n = v.paginasMaquetadas();
  EXPECT_GT(n, 20);
  EXPECT_EQ(etiqueta->text(), QString("Página 1 de %1").arg(n));
  QTest::mouseClick(v.findChild<QPushButton*>("cmdSiguiente"), Qt::LeftButton);
  EXPECT_EQ(v.paginaActual(), 2);
  QTest::mouseClick(v.findChild<QPushButton*>("cmdUltima"), Qt::LeftButton);
  EXPECT_EQ(v.paginaActual(), n);
  EXPECT_FALSE(v.findChild<QPushButton*>("cmdSiguiente")->isEnabled());
  QTest::mouseClick(v.findChild<QPushButton*>("cmdPrimera"), Qt::LeftButton);
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
  QTest::mouseClick(v.findChild<QPushButton*>("cmdDetener"), Qt::LeftButton);
  EXPECT_TRUE(v.documento().cancelado);
  EXPECT_FALSE(v.findChild<QPushButton*>("cmdExportar")->isEnabled());
  EXPECT_FALSE(v.exportarPdf(c.carpeta.archivo("no.pdf")));
  EXPECT_FALSE(QFile::exists(c.carpeta.archivo("no.pdf")));
}
