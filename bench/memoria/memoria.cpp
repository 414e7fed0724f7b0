// Peak memory of a 500,000-row grouped report written to PDF through the
// whole engine, on a connection opened as the program opens its own, against
// a program that streams the same rows of the same statement into memory,
// each as the engine holds a row, and does nothing else. Each side runs in a
// process of its own, once with the rows and once with a selection that
// keeps none; what a row costs is the difference of the peaks over the rows.
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <cstring>
#include <string>

#include "bench/common/usuarios.h"
#include "engine/motor.h"
#include "platform/ado/recordset.h"

extern char** environ;

using namespace engine;

namespace {

constexpr int kFilas = 500000;
constexpr double kLimite = 1.5;

void crearDatos(const QString& dir) {
  banco::crearUsuarios(dir + "/bench.db", kFilas);
  QFile f(dir + "/bench.rpt");
  f.open(QIODevice::WriteOnly);
  f.write(banco::kReporteUsuarios);
}

SolicitudReporte solicitud(const QString& dir, ado::Connection cn, bool conFilas) {
  SolicitudReporte s;
  s.archivo = dir + "/bench.rpt";
  s.formula = conFilas ? "{Ta_usuarios.esgrupo}=FALSE" : "{Ta_usuarios.esgrupo}=TRUE";
  s.conexion = "BENCH";
  s.conexionAbierta = cn;
  s.destino = Destino::Pdf;
  s.archivoPdf = dir + "/salida.pdf";
  s.opcionC = false;
  return s;
}

// One side, in the child process; prints the rows it went through.
int hijo(const std::string& lado, const QString& dir, bool conFilas) {
  ado::Connection cn;
  cn.setCursorLocation(ado::adUseClient);  // as the program opens its connection
  cn.Open("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + dir + "/bench.db;");
  const SolicitudReporte s = solicitud(dir, cn, conFilas);
  auto r = ReportePreparado::preparar(s);
  long filas = 0;
  if (lado == "pdf") {
    r->completar();
    escribirPdf(r->documento(), s.archivoPdf);
    filas = r->documento().filas();
  } else {
    // The same statement with the same values, streamed from the driver and
    // each row kept as the engine holds a row.
    const QString sql = r->sql();
    const std::vector<vb::Variant> parametros = parametrosAdo(r->seleccion().parametros);
    const std::vector<Columna> columnas = r->columnas();
    r.reset();
    ado::Recordset rs;
    rs.setCursorLocation(ado::adUseServer);
    rs.Open(sql, cn, parametros, ado::adOpenForwardOnly, ado::adLockReadOnly);
    std::vector<Fila> todas;
    while (!rs.EOF()) {
      const auto bloque = rs.GetRows(512);
      const size_t n = bloque.empty() ? 0 : bloque[0].size();
      for (size_t i = 0; i < n; ++i) {
        Fila f(bloque.size());
        for (size_t c = 0; c < bloque.size(); ++c) f[c] = valorDe(bloque[c][i], columnas[c].tipo);
        todas.push_back(std::move(f));
      }
    }
    filas = long(todas.size());
  }
  std::printf("%ld\n", filas);
  return 0;
}

struct Pico {
  long filas = -1;
  double megas = 0;
};

// Runs one side in a process of its own: the rows it reports and its peak resident memory.
Pico medir(const char* programa, const char* lado, const QString& dir, bool conFilas) {
  const std::string d = dir.toStdString();
  const char* argumentos[] = {programa, "--hijo", lado, d.c_str(), conFilas ? "1" : "0", nullptr};
  int tubo[2];
  if (pipe(tubo) != 0) return {};
  posix_spawn_file_actions_t acciones;
  posix_spawn_file_actions_init(&acciones);
  posix_spawn_file_actions_adddup2(&acciones, tubo[1], 1);
  posix_spawn_file_actions_addclose(&acciones, tubo[0]);
  pid_t pid = 0;
  const int rc = posix_spawn(&pid, "/proc/self/exe", &acciones, nullptr, const_cast<char* const*>(argumentos), environ);
  posix_spawn_file_actions_destroy(&acciones);
  close(tubo[1]);
  if (rc != 0) return {};
  std::string salida;
  char b[256];
  for (ssize_t n; (n = read(tubo[0], b, sizeof b)) > 0;) salida.append(b, size_t(n));
  close(tubo[0]);
  int estado = 0;
  struct rusage uso {};
  wait4(pid, &estado, 0, &uso);
  if (!WIFEXITED(estado) || WEXITSTATUS(estado) != 0) return {};
  return {std::stol(salida), uso.ru_maxrss / 1024.0};
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  if (argc == 5 && std::strcmp(argv[1], "--hijo") == 0)
    return hijo(argv[2], QString::fromLocal8Bit(argv[3]), argv[4][0] == '1');

  QTemporaryDir dir;
  crearDatos(dir.path());
  const Pico pdf = medir(argv[0], "pdf", dir.path(), true);
  const Pico pdfVacio = medir(argv[0], "pdf", dir.path(), false);
  const Pico filas = medir(argv[0], "filas", dir.path(), true);
  const Pico filasVacio = medir(argv[0], "filas", dir.path(), false);
  if (pdf.filas != kFilas || filas.filas != kFilas || pdfVacio.filas != 0 || filasVacio.filas != 0) {
    std::printf("memoria: the sides did not read the same rows (%ld, %ld)\n", pdf.filas, filas.filas);
    return 2;
  }
  const double nuestro = (pdf.megas - pdfVacio.megas) * 1048576.0 / kFilas;
  const double referencia = (filas.megas - filasVacio.megas) * 1048576.0 / kFilas;
  std::printf("memoria: %d rows; pdf peak=%.1f MB (no rows %.1f MB), %.0f bytes a row\n", kFilas, pdf.megas,
              pdfVacio.megas, nuestro);
  std::printf("memoria: rows in memory peak=%.1f MB (no rows %.1f MB), %.0f bytes a row\n", filas.megas,
              filasVacio.megas, referencia);
  const double ratio = referencia > 0 ? nuestro / referencia : 1e9;
  std::printf("memoria: ratio=%.3f limit=%.3f\n", ratio, kLimite);
  return ratio <= kLimite ? 0 : 1;
}
