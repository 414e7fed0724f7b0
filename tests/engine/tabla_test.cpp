// The export to spreadsheets: a report's rows written as XLSX and CSV, read
// back by a real reader and compared with the rows the report laid out;
// the file (a PDF too) put in place only over a regular file; the preview's
// export.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "engine/errores.h"
#include "engine/motor.h"
#include "engine/tabla.h"
#include "engine/vista_previa.h"
#include "tests/engine/apoyo.h"
#include "tests/support/hoja.h"
#include "tests/support/temp_folder.h"

using namespace engine;

namespace {

QByteArray baseMovimientos(int extra) {
  QByteArray s =
      "BEGIN;\n"
      "CREATE TABLE T (SECCION VARCHAR(20) COLLATE NOCASE, NOMBRE VARCHAR(40) COLLATE NOCASE, IMPORTE FLOAT,"
      " CANTIDAD INT, ACTIVO BIT, ALTA DATETIME, HORA DATETIME, NOTA VARCHAR(80));\n"
      "INSERT INTO T VALUES ('Ñandú', 'Muñoz; \"el Toro\"', 1234.5, 3, 1, '2024-02-29 00:00:00', '2024-03-01 13:45:10',"
      " 'línea 1' || char(10) || 'línea 2'),"
      " ('Ñandú', 'Ana', -0.25, 0, 0, '1850-07-09 00:00:00', '2024-03-02 00:00:00', ''),"
      " ('Zorro', 'Zoe', NULL, NULL, NULL, NULL, NULL, NULL);\n";
  for (int i = 0; i < extra; ++i)
    s += QString("INSERT INTO T VALUES ('G%1', 'u%2', %3.5, %3, 1, '2024-01-01 00:00:00', NULL, 'x');\n")
             .arg(i / 50, 3, 10, QChar('0'))
             .arg(i, 5, 10, QChar('0'))
             .arg(i)
             .toUtf8();
  return s + "COMMIT;\n";
}

const char* kReporte = R"({
  "titulo": "Movimientos: prueba/exportación",
  "consulta": "SELECT * FROM T",
  "grupos": [ { "campo": "SECCION", "encabezado": "Sección: {SECCION}" } ],
  "orden": ["NOMBRE"],
  "columnas": [
    { "campo": "NOMBRE", "titulo": "Nombre", "ancho": 40 },
    { "campo": "IMPORTE", "titulo": "Importe", "formato": "#,##0.00" },
    { "campo": "CANTIDAD", "titulo": "Cantidad" },
    { "campo": "ACTIVO", "titulo": "Activo", "formato": "Sí;No" },
    { "campo": "ALTA", "titulo": "Alta", "formato": "dd/MM/yyyy" },
    { "campo": "HORA", "titulo": "Hora" },
    { "campo": "NOTA", "titulo": "Nota" }
  ]
})";

struct Caso {
  prueba::CarpetaTemporal carpeta;
  ado::Connection cn;
  SolicitudReporte s;

  explicit Caso(int extra = 0) {
    cn = prueba::abrirBase(prueba::crearBase(carpeta.archivo("empresa.db"), baseMovimientos(extra)));
    s.archivo = carpeta.escribir("RP_Movimientos.rpt", kReporte);
    s.conexion = "DSN_QUE_NO_EXISTE";
    s.conexionAbierta = cn;
    s.opcionC = false;
  }
  // The report's rows, laid out in full.
  std::unique_ptr<ReportePreparado> completo(Destino destino) {
    s.destino = destino;
    auto r = ReportePreparado::preparar(s);
    EXPECT_TRUE(r->completar());
    return r;
  }
};

const std::vector<QString> kTitulos{"Sección", "Nombre", "Importe", "Cantidad", "Activo", "Alta", "Hora", "Nota"};

// Each cell read back against the value the report laid out: `xlsx` cells
// keep their kind, CSV cells are texts a Spanish spreadsheet reads back.
void compararCelda(const prueba::Celda& c, const Valor& v, const ColumnaTabla& col, bool xlsx,
                   const std::string& donde) {
  SCOPED_TRACE(donde);
  switch (v.tipo()) {
    case Valor::Tipo::Nulo: EXPECT_TRUE(c.tipo.isEmpty()); return;
    case Valor::Tipo::Numero:
      if (xlsx) {
        EXPECT_EQ(c.tipo, "n");
        EXPECT_DOUBLE_EQ(c.valor.toDouble(), v.comoNumero());
      } else {
        EXPECT_FALSE(c.texto().contains('.')) << c.texto().toStdString();  // a decimal comma, no thousands point
        EXPECT_NEAR(QString(c.texto()).replace(',', '.').toDouble(), v.comoNumero(), col.formato.isEmpty() ? 0 : 0.005);
      }
      return;
    case Valor::Tipo::Fecha: {
      const QDateTime f = v.comoFecha();
      if (xlsx && f.date().year() >= 1900) {
        EXPECT_EQ(c.tipo, "f");
        EXPECT_EQ(QDateTime::fromString(c.texto(), Qt::ISODate), f);
      } else {
        // As the report shows it (Excel has no date before 1900).
        const QString patron =
            col.formato.isEmpty() ? (f.time() == QTime(0, 0) ? "dd/MM/yyyy" : "dd/MM/yyyy HH:mm:ss") : col.formato;
        EXPECT_EQ(c.tipo, "s");
        EXPECT_EQ(QDateTime::fromString(c.texto(), patron), f) << c.texto().toStdString();
      }
      return;
    }
    case Valor::Tipo::Logico:
      EXPECT_EQ(c.tipo, "s");
      EXPECT_EQ(c.texto(), v.comoLogico() ? "Sí" : "No");
      return;
    case Valor::Tipo::Texto:
      if (v.comoTexto().isEmpty())
        EXPECT_TRUE(c.tipo.isEmpty());
      else
        EXPECT_EQ(c.texto(), v.comoTexto());
      return;
  }
}

}  // namespace

TEST(Tabla, XlsxYCsvVuelvenIgualesALasFilasDelReporte) {
  for (const Destino destino : {Destino::Xlsx, Destino::Csv}) {
    const bool xlsx = destino == Destino::Xlsx;
    SCOPED_TRACE(xlsx ? "xlsx" : "csv");
    Caso c;
    const QString ruta = c.carpeta.archivo(xlsx ? "mov.xlsx" : "mov.csv");
    c.s.archivoPdf = ruta;
    c.s.destino = destino;
    ASSERT_EQ(EmitirReporte(c.s), Resultado::Emitido);
    // The same request again, for the rows the report lays out.
    auto r = c.completo(destino);
    const std::vector<ColumnaTabla> columnas = columnasTabla(r->definicion());
    ASSERT_EQ(r->filas().cantidad(), r->documento().filas());
    ASSERT_EQ(r->filas().cantidad(), 3);

    const prueba::Hoja h = prueba::leerHoja(ruta);
    ASSERT_EQ(long(h.filas.size()), r->filas().cantidad() + 1);
    ASSERT_EQ(h.filas[0].size(), kTitulos.size());
    for (size_t j = 0; j < kTitulos.size(); ++j) EXPECT_EQ(h.filas[0][j].texto(), kTitulos[j]);
    Fila fila;
    for (long i = 0; i < r->filas().cantidad(); ++i) {
      r->filas().leer(i, fila);
      for (size_t j = 0; j < columnas.size(); ++j)
        compararCelda(h.filas[size_t(i) + 1][j], fila[size_t(columnas[j].indice)], columnas[j], xlsx,
                      "fila " + std::to_string(i + 1) + ", " + columnas[j].titulo.toStdString());
    }
    if (xlsx) {
      EXPECT_EQ(h.datos["hoja"].toString(), "Movimientos pruebaexportación");
      EXPECT_EQ(h.datos["titulo"].toString(), "Movimientos: prueba/exportación");
      EXPECT_EQ(h.datos["congelada"].toString(), "A2");
    } else {
      EXPECT_TRUE(h.datos["bom"].toBool());
      const QByteArray bytes = c.carpeta.leer("mov.csv");
      EXPECT_EQ(bytes.count("\r\n"), 4);  // one per record; the line break inside the quoted note stays its own
    }
  }
}

TEST(Tabla, SoloReemplazaUnArchivoComunYNuncaAMedias) {
  Caso c;
  auto r = c.completo(Destino::Xlsx);
  const auto escribir = [&](const QString& ruta) {
    escribirTabla(r->definicion(), r->filas(), ruta, FormatoTabla::Csv);
  };
  const auto numeroDeError = [&](const QString& ruta) -> long {
    try {
      escribir(ruta);
    } catch (const vb::Error& e) {
      EXPECT_TRUE(e.Description().contains(ruta)) << e.Description().toStdString();
      return e.Number();
    }
    return 0;
  };
  const QString objetivo = c.carpeta.escribir("objetivo.txt", "no tocar");
  const QString enlace = c.carpeta.archivo("enlace.csv");
  ASSERT_EQ(::symlink(QFile::encodeName(objetivo).constData(), QFile::encodeName(enlace).constData()), 0);
  const QString fifo = c.carpeta.archivo("tubo.csv");
  ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
  QDir().mkpath(c.carpeta.archivo("carpeta.csv"));
  for (const QString& ruta : {enlace, fifo, c.carpeta.archivo("carpeta.csv"), c.carpeta.archivo("falta/r.csv")})
    EXPECT_EQ(numeroDeError(ruta), kErrorSalida) << ruta.toStdString();
  // The PDF is put in place the same way.
  EXPECT_THROW(escribirPdf(r->documento(), enlace), vb::Error);
  EXPECT_EQ(c.carpeta.leer("objetivo.txt"), "no tocar");
  EXPECT_TRUE(QFileInfo(enlace).isSymLink());

  // A regular file is replaced whole, keeping its permissions.
  const QString viejo = c.carpeta.escribir("viejo.csv", "viejo");
  ASSERT_EQ(::chmod(QFile::encodeName(viejo).constData(), 0640), 0);
  escribir(viejo);
  EXPECT_TRUE(c.carpeta.leer("viejo.csv").startsWith("\xEF\xBB\xBFSecci"));
  struct stat st;
  ASSERT_EQ(::stat(QFile::encodeName(viejo).constData(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
  // Nothing written beside is left behind.
  EXPECT_TRUE(QDir(c.carpeta.ruta()).entryList({".*~*"}, QDir::Files | QDir::Hidden).isEmpty());
}

TEST(Tabla, LaVistaPreviaExportaElReporteEntero) {
  Caso c(1200);
  c.s.destino = Destino::Pantalla;
  VistaPrevia v(ReportePreparado::preparar(c.s), c.s);
  ASSERT_FALSE(v.completo());
  const QString ruta = c.carpeta.archivo("vista.xlsx");
  ASSERT_TRUE(v.exportar(ruta, Destino::Xlsx));
  EXPECT_TRUE(v.completo());
  const prueba::Hoja h = prueba::leerHoja(ruta);
  ASSERT_EQ(long(h.filas.size()), v.documento().filas() + 1);
  EXPECT_EQ(v.documento().filas(), 1203);
  // Sorted as the report: by group, then by name.
  EXPECT_EQ(h.filas[1][0].texto(), "G000");
  EXPECT_EQ(h.filas[1][1].texto(), "u00000");
  EXPECT_EQ(h.filas[50][1].texto(), "u00049");
  EXPECT_EQ(h.filas[51][0].texto(), "G001");
}
