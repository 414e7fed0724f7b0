// The task report of a generated company (2,000 users, a 10,000-task menu)
// to PDF, with every task ticked on the form, against the same report whose
// task condition is left out: the same rows, so what is measured is what
// a selection of 10,000 values costs, from the form's request to the file.
// Rounds alternate both sides; each keeps its best.
#include <sqlite3.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <limits>

#include "bench/common/bench_common.h"
#include "demo/demo.h"
#include "engine/motor.h"
#include "report/solicitud_usuarios.h"

using namespace engine;

namespace {

constexpr int kRondas = 3;

QStringList tareas(const QString& base) {
  sqlite3* h = nullptr;
  sqlite3_open_v2(QFile::encodeName(base).constData(), &h, SQLITE_OPEN_READONLY, nullptr);
  sqlite3_stmt* st = nullptr;
  sqlite3_prepare_v2(h, "SELECT CLAVE FROM TA_MENU WHERE MENU = 'ZEPA' ORDER BY CLAVE", -1, &st, nullptr);
  QStringList r;
  while (sqlite3_step(st) == SQLITE_ROW)
    r << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
  sqlite3_finalize(st);
  sqlite3_close(h);
  return r;
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QTemporaryDir dir;
  const QString base = dir.filePath(QStringLiteral("GRANDE.db"));
  demo::crearBaseGrande(base, demo::Volumen{2000, 10000, 20, 8});
  const QString rpt = QDir(dir.filePath(QStringLiteral("reportes"))).filePath(QStringLiteral("RP_Usuarios_TAREAS.rpt"));
  demo::copiarReportes(dir.filePath(QStringLiteral("reportes")));
  ado::Connection cn;
  cn.Open(QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + base + QLatin1Char(';'));

  rp_usuarios::Eleccion todas;
  todas.agrupamiento = 2;
  todas.tareas = tareas(base);
  rp_usuarios::Eleccion ninguna = todas;
  ninguna.tareas.clear();

  // The request as the form builds it, to a PDF.
  const auto solicitud = [&](const rp_usuarios::Eleccion& e, const QString& pdf) {
    const rp_usuarios::Solicitud pedido = rp_usuarios::ArmarSolicitud(e);
    SolicitudReporte s;
    s.archivo = rpt;
    s.formula = pedido.formula;
    s.conexion = QStringLiteral("BENCH");
    s.conexionAbierta = cn;
    s.asignaciones = {pedido.formulas.begin(), pedido.formulas.end()};
    s.destino = Destino::Pdf;
    s.archivoPdf = pdf;
    s.opcionC = false;
    return s;
  };
  const auto emitir = [&](const rp_usuarios::Eleccion& e, const QString& pdf) {
    QElapsedTimer reloj;
    reloj.start();
    if (EmitirReporte(solicitud(e, pdf)) != Resultado::Emitido)
      std::fprintf(stderr, "seleccion: el reporte no se emitió\n");
    return double(reloj.nsecsElapsed()) / 1e9;
  };
  const auto filas = [&](const rp_usuarios::Eleccion& e) {
    auto r = ReportePreparado::preparar(solicitud(e, dir.filePath(QStringLiteral("x.pdf"))));
    r->completar();
    return std::make_pair(r->documento().filas(), long(r->documento().paginas()));
  };

  double nuestro = std::numeric_limits<double>::max(), referencia = nuestro;
  for (int r = 0; r < kRondas; ++r) {
    nuestro = std::min(nuestro, emitir(todas, dir.filePath(QStringLiteral("todas.pdf"))));
    referencia = std::min(referencia, emitir(ninguna, dir.filePath(QStringLiteral("ninguna.pdf"))));
  }
  const auto [filasNuestras, paginas] = filas(todas);
  const auto [filasReferencia, paginasReferencia] = filas(ninguna);
  std::printf("seleccion: %lld tasks ticked, %ld rows, %ld pages; without the task condition %ld rows, %ld pages\n",
              static_cast<long long>(todas.tareas.size()), filasNuestras, paginas, filasReferencia, paginasReferencia);
  if (filasNuestras != filasReferencia || filasNuestras == 0) {
    std::fprintf(stderr, "seleccion: las dos solicitudes no dan las mismas filas\n");
    return 2;
  }
  return banco::informar("seleccion", nuestro, referencia, 1.5);
}
