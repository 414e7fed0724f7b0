// The database file cut short while a long report reads it, as a copy or a
// failing disk can leave it. The built program, in batch mode on a generated
// company of 300,000 users: the run ends with the program's own message and
// status 1, writes no report, and is not killed by a signal.
#include <fcntl.h>
#include <sqlite3.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>

#include "demo/demo.h"
#include "tests/report/lote_apoyo.h"

namespace {

// SQLite holds a read lock on these bytes of the file while a read transaction is open.
constexpr off_t kBytesDeLectores = 0x40000002;
constexpr off_t kLargoDeLectores = 510;

// The process reading the database open in `fd`, or 0 when none is.
pid_t quienLee(int fd) {
  flock l{};
  l.l_type = F_WRLCK;
  l.l_whence = SEEK_SET;
  l.l_start = kBytesDeLectores;
  l.l_len = kLargoDeLectores;
  if (::fcntl(fd, F_GETLK, &l) != 0 || l.l_type == F_UNLCK) return 0;
  return l.l_pid;
}

void ejecutar(const QString& base, const QString& sql) {
  sqlite3* h = nullptr;
  ASSERT_EQ(sqlite3_open(QFile::encodeName(base).constData(), &h), SQLITE_OK);
  EXPECT_EQ(sqlite3_exec(h, sql.toUtf8().constData(), nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(h);
  sqlite3_close(h);
}

TEST(BaseTruncada, DuranteLaLecturaDeUnReporteLargo) {
  prueba::EmpresaDemo empresa;
  demo::crearBaseGrande(empresa.base(), demo::Volumen{300000, 20, 4, 0});
  // The report file is the test's own copy, so that its opening is this run's.
  const QString reporte = demo::copiarReportes(empresa.programa.ruta()).filter(QStringLiteral("Grupos")).value(0);
  ASSERT_FALSE(reporte.isEmpty());
  ejecutar(empresa.base(),
           QStringLiteral("UPDATE TA_REPORTES SET Archivo = '%1' WHERE NOMBRE = 'RP_Usuarios_Grupos'").arg(reporte));
  const int aviso = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
  ASSERT_GE(aviso, 0);
  ASSERT_GE(::inotify_add_watch(aviso, QFile::encodeName(reporte).constData(), IN_OPEN), 0);
  const int fd = ::open(QFile::encodeName(empresa.base()).constData(), O_RDWR | O_CLOEXEC);
  ASSERT_GE(fd, 0);
  const off_t largo = ::lseek(fd, 0, SEEK_END);

  const QString pdf = empresa.datos.archivo(QStringLiteral("usuarios.pdf"));
  QProcess p;
  ASSERT_TRUE(prueba::arrancar(p, empresa,
                               {QStringLiteral("@Server=DEMO;@DbName=KORVANE;@Usuario=USUARIO00001;@Password=x"),
                                QStringLiteral("--destino=pdf:") + pdf}));
  // Also the pause between two looks.
  auto sigue = [&] { return !p.waitForFinished(1) && p.state() != QProcess::NotRunning; };
  QElapsedTimer reloj;
  reloj.start();
  // The engine opens the report file just before it runs the report's query.
  char eventos[4096];
  bool abierto = false;
  while (!abierto && sigue() && reloj.elapsed() < 120000) abierto = ::read(aviso, eventos, sizeof eventos) > 0;
  // Then its read holds the lock for as long as rows come, which the short
  // statements before it (a fraction of a millisecond each) never do for
  // several looks in a row.
  int seguidas = 0;
  while (abierto && seguidas < 5 && sigue() && reloj.elapsed() < 120000)
    seguidas = quienLee(fd) == p.processId() ? seguidas + 1 : 0;
  const bool cortada = seguidas == 5 && ::ftruncate(fd, largo / 2) == 0;
  ::close(fd);
  ::close(aviso);
  if (!cortada) p.kill();
  p.waitForFinished(120000);
  const QString salida = QString::fromUtf8(p.readAllStandardOutput());
  const QString errores = QString::fromUtf8(p.readAllStandardError());
  ASSERT_TRUE(cortada) << "the program was not reading the report when it was looked at\n" << errores.toStdString();

  ASSERT_EQ(p.exitStatus(), QProcess::NormalExit) << "killed by signal " << p.exitCode();
  EXPECT_EQ(p.exitCode(), 1);
  // The message names the report's sorted query: the failure came while its rows were read.
  EXPECT_TRUE(errores.contains(QStringLiteral("La base de datos rechazó la consulta del reporte")))
      << errores.toStdString();
  EXPECT_TRUE(errores.contains(QStringLiteral("ORDER BY"))) << errores.toStdString();
  EXPECT_FALSE(salida.contains(QStringLiteral("Reporte escrito"))) << salida.toStdString();
  EXPECT_FALSE(QFile::exists(pdf));
}

}  // namespace
