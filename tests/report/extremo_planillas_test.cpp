// The built program's spreadsheets of the three demo reports, read back and
// compared line by line with the PDF of the same request: each detail line
// of the report is one row, under the group whose header precedes it.
#include <gtest/gtest.h>

#include <QDateTime>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "tests/report/lote_apoyo.h"
#include "tests/support/hoja.h"

namespace {

QString espacios(const QString& s) { return s.simplified(); }

struct LineaReporte {
  QString grupo;  // the value the group header shows
  QString texto;  // the detail line, blanks folded
};

// The report's detail lines as pdftotext lays them out: a line whose first
// word is a user is a detail line; "Título: VALOR ..." is a group header.
std::vector<LineaReporte> lineasDelPdf(const QString& texto, const QString& tituloGrupo) {
  std::vector<LineaReporte> r;
  QString grupo;
  for (const QString& linea : texto.split(QLatin1Char('\n'))) {
    const QString l = espacios(linea);
    if (l.startsWith(tituloGrupo + QStringLiteral(": ")))
      grupo = l.mid(tituloGrupo.size() + 2).section(QLatin1Char(' '), 0, 0);
    else if (prueba::kUsuariosDemo.contains(l.section(QLatin1Char(' '), 0, 0)))
      r.push_back({grupo, l});
  }
  return r;
}

// The row's text against the report's line, where the report cut a text
// too wide for its column with "…": the spreadsheet keeps it whole.
bool coincide(const QString& fila, const QString& linea) {
  const QStringList partes = linea.split(QChar(0x2026));
  if (!fila.startsWith(partes.front()) || !fila.endsWith(partes.back())) return false;
  qsizetype desde = 0;
  for (const QString& p : partes) {
    desde = fila.indexOf(p, desde);
    if (desde < 0) return false;
    desde += p.size();
  }
  return true;
}

// A cell as the report prints it: the demo's dates are dd/MM/yyyy.
QString comoEnElReporte(const prueba::Celda& c) {
  if (c.tipo == QLatin1String("f"))
    return QDateTime::fromString(c.texto(), Qt::ISODate).toString(QStringLiteral("dd/MM/yyyy"));
  if (c.tipo == QLatin1String("n")) return QString::number(c.valor.toDouble());
  return c.texto();
}

QJsonObject definicion(const QString& reporte) {
  QFile f(QStringLiteral(KV_SOURCE_DIR "/demo/reportes/") + reporte + QStringLiteral(".rpt"));
  EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << reporte.toStdString();
  return QJsonDocument::fromJson(f.readAll()).object();
}

}  // namespace

TEST(ExtremoPlanillas, LosTresReportesDeLaDemoVuelvenIgualesAlReporte) {
  prueba::EmpresaDemo empresa;
  const struct {
    const char* agrupar;
    const char* reporte;
    const char* tituloGrupo;
  } casos[] = {{"grupo", "RP_Usuarios_Grupos", "Grupo"},
               {"unidad", "RP_Usuarios_UNEG", "Unidad de Negocio"},
               {"tarea", "RP_Usuarios_TAREAS", "Tarea"}};
  for (const auto& caso : casos) {
    SCOPED_TRACE(caso.reporte);
    const QString agrupar = QStringLiteral("--agrupar=") + QLatin1String(caso.agrupar);
    const QString pdf = empresa.datos.archivo(QStringLiteral("r.pdf"));
    const auto c = prueba::correr(empresa, {prueba::kParametrosDemo, agrupar, QStringLiteral("--destino=pdf:") + pdf});
    ASSERT_EQ(c.estado, 0) << c.errores.toStdString();
    const std::vector<LineaReporte> lineas = lineasDelPdf(prueba::textoPdf(pdf), QString::fromUtf8(caso.tituloGrupo));
    ASSERT_GT(lineas.size(), 10u);

    // The titles: the group's, then the report file's columns.
    QStringList titulos{QString::fromUtf8(caso.tituloGrupo)};
    for (const QJsonValue& col : definicion(QLatin1String(caso.reporte))["columnas"].toArray())
      titulos << col.toObject()["titulo"].toString();

    for (const char* tipo : {"xlsx", "csv"}) {
      SCOPED_TRACE(tipo);
      const QString archivo = empresa.datos.archivo(QStringLiteral("r.") + QLatin1String(tipo));
      const auto e = prueba::correr(empresa, {prueba::kParametrosDemo, agrupar,
                                              QStringLiteral("--destino=%1:%2").arg(QLatin1String(tipo), archivo)});
      ASSERT_EQ(e.estado, 0) << e.errores.toStdString();
      EXPECT_EQ(e.salida, QStringLiteral("Reporte escrito en %1\n").arg(archivo));
      const prueba::Hoja h = prueba::leerHoja(archivo);
      ASSERT_EQ(h.filas.size(), lineas.size() + 1);
      QStringList encabezado;
      for (const prueba::Celda& celda : h.filas[0]) encabezado << celda.texto();
      EXPECT_EQ(encabezado.join('|').toStdString(), titulos.join('|').toStdString());
      bool fechas = false;
      for (size_t i = 0; i < lineas.size(); ++i) {
        const std::vector<prueba::Celda>& fila = h.filas[i + 1];
        EXPECT_EQ(comoEnElReporte(fila[0]).toStdString(), lineas[i].grupo.toStdString()) << "fila " << i + 1;
        QStringList celdas;
        for (size_t j = 1; j < fila.size(); ++j) {
          if (!fila[j].tipo.isEmpty()) celdas << comoEnElReporte(fila[j]);
          fechas |= fila[j].tipo == QLatin1String("f");
        }
        const QString texto = espacios(celdas.join(QLatin1Char(' ')));
        EXPECT_TRUE(coincide(texto, lineas[i].texto))
            << "fila " << i + 1 << ": " << texto.toStdString() << " | " << lineas[i].texto.toStdString();
      }
      // Dates are dates in the workbook; the CSV carries its byte order mark.
      if (QLatin1String(tipo) == QLatin1String("xlsx"))
        EXPECT_TRUE(fechas);
      else
        EXPECT_TRUE(h.datos["bom"].toBool());
    }
  }
}
