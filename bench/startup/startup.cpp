// From process start to the users report form ready, offscreen, on a
// generated company of 2,000 users and 10,000 menu tasks: the built program
// started with RP_USUARIOS_LISTO, which prints "listo" once its form is up,
// against the sum of a bare Qt window started offscreen (this program run
// with --ventana) and the rows the form's start-up reads, fetched with a bare
// sqlite3_step loop. Rounds alternate both sides; each keeps its best. The
// start may take at most three times that: a person notices from 100 ms.
#include <sqlite3.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QWidget>
#include <algorithm>
#include <cstdio>
#include <cstring>

#include "bench/common/bench_common.h"
#include "demo/demo.h"

namespace {

constexpr int kRondas = 11;

// Seconds from start() to the "listo" line on standard output; -1 on failure.
double hastaListo(const QString& programa, const QStringList& argumentos, const QProcessEnvironment& entorno) {
  QProcess p;
  p.setProcessEnvironment(entorno);
  p.setProcessChannelMode(QProcess::SeparateChannels);
  QElapsedTimer reloj;
  reloj.start();
  p.start(programa, argumentos);
  QByteArray salida;
  while (!salida.contains("listo")) {
    if (!p.waitForReadyRead(60000)) {
      std::fprintf(stderr, "startup: %s no llegó a estar listo: %s\n", qPrintable(programa),
                   p.readAllStandardError().constData());
      p.kill();
      p.waitForFinished();
      return -1;
    }
    salida += p.readAllStandardOutput();
  }
  const double t = double(reloj.nsecsElapsed()) / 1e9;
  p.waitForFinished(60000);
  return t;
}

// The rows the form's start-up reads: the settings, the logged user, the
// business units and the enabled menu, every column read as text.
long leerFilas(const QString& base) {
  sqlite3* h = nullptr;
  sqlite3_open_v2(QFile::encodeName(base).constData(), &h, SQLITE_OPEN_READONLY, nullptr);
  long filas = 0;
  for (const char* sql : {"SELECT * FROM TA_CONFIGURACION", "SELECT * FROM TA_USUARIOS WHERE Nombre = 'USUARIO00001'",
                          "SELECT * FROM V_TA_UNIDADNEGOCIO ORDER BY CODIGO",
                          "SELECT * FROM TA_MENU WHERE MENU = 'ZEPA' AND (HABILITADO = 1) ORDER BY CLAVE"}) {
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(h, sql, -1, &st, nullptr);
    size_t bytes = 0;
    while (sqlite3_step(st) == SQLITE_ROW) {
      for (int c = 0; c < sqlite3_column_count(st); ++c) {
        const unsigned char* t = sqlite3_column_text(st, c);
        if (t) bytes += std::strlen(reinterpret_cast<const char*>(t));
      }
      ++filas;
    }
    sqlite3_finalize(st);
    if (bytes == 0) std::fprintf(stderr, "startup: sin datos en %s\n", sql);
  }
  sqlite3_close(h);
  return filas;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1 && std::strcmp(argv[1], "--ventana") == 0) {
    QApplication app(argc, argv);
    QWidget ventana;
    ventana.resize(640, 480);
    ventana.show();
    QApplication::processEvents();
    std::puts("listo");
    std::fflush(stdout);
    return 0;
  }
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  if (argc > 2 && std::strcmp(argv[1], "--preparar") == 0) {
    // Leaves the generated company and its alias in a folder, to profile the
    // program's start by hand: KORVANE_CONFIG_DIR=DIR, server BANCO.
    const QString dir = QString::fromLocal8Bit(argv[2]);
    QDir().mkpath(dir);
    demo::crearBaseGrande(QDir(dir).filePath(QStringLiteral("GRANDE.db")), demo::Volumen{2000, 10000, 20, 8});
    demo::escribirAlias(dir, QStringLiteral("BANCO"), dir);
    return 0;
  }
  QTemporaryDir config, datos;
  const QString base = datos.filePath(QStringLiteral("GRANDE.db"));
  demo::crearBaseGrande(base, demo::Volumen{2000, 10000, 20, 8});
  demo::escribirAlias(config.path(), QStringLiteral("BANCO"), datos.path());

  const QString programa =
      QDir(QCoreApplication::applicationDirPath()).absoluteFilePath(QStringLiteral("../rp_usuarios"));
  if (!QFile::exists(programa)) {
    std::fprintf(stderr, "startup: falta %s\n", qPrintable(programa));
    return 2;
  }
  QProcessEnvironment entorno = QProcessEnvironment::systemEnvironment();
  entorno.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  entorno.insert(QStringLiteral("KORVANE_CONFIG_DIR"), config.path());
  entorno.insert(QStringLiteral("RP_USUARIOS_LISTO"), QStringLiteral("1"));
  const QStringList parametros{QStringLiteral("@Server=BANCO;@DbName=GRANDE;@Usuario=USUARIO00001;@Password=x")};

  // One start of each first, so that neither side pays for a cold disk cache.
  if (hastaListo(programa, parametros, entorno) < 0) return 2;
  hastaListo(QCoreApplication::applicationFilePath(), {QStringLiteral("--ventana")}, entorno);

  double nuestro = 1e9, ventana = 1e9, filas = 1e9;
  long leidas = 0;
  for (int r = 0; r < kRondas; ++r) {
    const double t = hastaListo(programa, parametros, entorno);
    if (t < 0) return 2;
    nuestro = std::min(nuestro, t);
    ventana =
        std::min(ventana, hastaListo(QCoreApplication::applicationFilePath(), {QStringLiteral("--ventana")}, entorno));
    filas = std::min(filas, banco::mejorTiempo([&] { leidas = leerFilas(base); }, 1));
  }
  std::printf("startup: bare window %.6fs, %ld rows with sqlite3_step %.6fs\n", ventana, leidas, filas);
  return banco::informar("startup", nuestro, ventana + filas, 3.0);
}
