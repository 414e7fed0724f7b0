// Opening the list lookup on 100,000 articles of 6 columns, against fetching
// the same rows through a Recordset in the same run; and an incremental
// search over them, which must take under a hundredth of the load.
// The two loads take turns, so a busy machine slows both alike.
// `bench_lookup N` runs on N rows instead (for profiling).
#include <sqlite3.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>

#include "bench/common/bench_common.h"
#include "data/db_dll.h"
#include "lookup/lib_frmcons3.h"
#include "platform/ctx/programa.h"

namespace {

int kFilas = 100000;

bool crearBase(const QString& archivo) {
  sqlite3* h = nullptr;
  if (sqlite3_open(archivo.toUtf8().constData(), &h) != SQLITE_OK) return false;
  const char* esquema = R"(
    CREATE TABLE TA_CONFIGURACION (Grupo TEXT COLLATE NOCASE, Clave TEXT COLLATE NOCASE, Valor TEXT COLLATE NOCASE,
      ValorAux TEXT COLLATE NOCASE DEFAULT 'AUXDEF', PoliticaNegocio INTEGER DEFAULT 0);
    CREATE TABLE TA_USUARIOS (Nombre TEXT COLLATE NOCASE, UNegocio TEXT, VerProforma INTEGER,
      Administrador INTEGER DEFAULT 0, EsGrupo INTEGER DEFAULT 0);
    CREATE TABLE VT_MA_ARTICULOS (IDARTICULO VARCHAR(20) COLLATE NOCASE PRIMARY KEY,
      DESCRIPCION VARCHAR(60) COLLATE NOCASE, RUBRO VARCHAR(20) COLLATE NOCASE, PRECIO1 REAL,
      PUNTOPEDIDO REAL, Stock REAL);
    BEGIN;)";
  sqlite3_exec(h, esquema, nullptr, nullptr, nullptr);
  sqlite3_stmt* st = nullptr;
  sqlite3_prepare_v2(h, "INSERT INTO VT_MA_ARTICULOS VALUES (?,?,?,?,?,?)", -1, &st, nullptr);
  for (int i = 0; i < kFilas; ++i) {
    const QByteArray id = QStringLiteral("ART%1").arg(i, 6, 10, QLatin1Char('0')).toUtf8();
    const QByteArray desc = QStringLiteral("Articulo de prueba numero %1").arg(kFilas - i).toUtf8();
    const QByteArray rubro = QStringLiteral("RUBRO %1").arg(i % 37).toUtf8();
    sqlite3_bind_text(st, 1, id.constData(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_text(st, 2, desc.constData(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_text(st, 3, rubro.constData(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_double(st, 4, 10.0 + i % 1000 + (i % 4) * 0.25);  // prices with cents
    sqlite3_bind_double(st, 5, i % 7);
    sqlite3_bind_double(st, 6, i % 11);
    sqlite3_step(st);
    sqlite3_reset(st);
  }
  sqlite3_finalize(st);
  sqlite3_exec(h, "COMMIT;", nullptr, nullptr, nullptr);
  sqlite3_close(h);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  if (argc > 1 && QByteArray(argv[1]).toInt() > 0) kFilas = QByteArray(argv[1]).toInt();
  QTemporaryDir carpeta;
  ctx::Alcance alcance;
  ctx::actual().setCarpetaConfiguracion(carpeta.path() + QStringLiteral("/"));
  ctx::actual().setCarpetaPrograma(carpeta.path() + QStringLiteral("/"));
  QFile ini(carpeta.filePath(QStringLiteral("CN000pr.INI")));
  if (!ini.open(QIODevice::WriteOnly)) return 2;
  ini.write(("[Servidores]\nSRVBANCO=sqlite:" + carpeta.path() + "\n").toUtf8());
  ini.close();
  if (!crearBase(carpeta.filePath(QStringLiteral("EMPRESA.db")))) return 2;
  DB_Dll& d = db();
  d.gServidor = QStringLiteral("SRVBANCO");
  d.gDBName = QStringLiteral("EMPRESA");
  d.gUsuario = QStringLiteral("ADMIN");
  d.gUserPassWord = QStringLiteral("x");
  d.OpenServerADODB(false, 3, QString(), false);
  if (!d.gOpenFlag) return 2;

  const QString sql =
      QStringLiteral(
          "SELECT TOP %1 IDARTICULO, DESCRIPCION, RUBRO, PRECIO1, PUNTOPEDIDO, Stock FROM VT_MA_ARTICULOS "
          "ORDER BY IDARTICULO")
          .arg(kFilas);

  // Reference: every row and field fetched through a Recordset.
  long leidas = 0;
  auto referencia = [&] {
    ado::Recordset rs;
    d.AbrirRecordset(sql, rs, nullptr, 0, 1);
    const long n = rs.Fields().Count();
    leidas = 0;
    while (!rs.EOF()) {
      for (long i = 0; i < n; ++i) (void)rs.Fields(i).Value();
      ++leidas;
      rs.MoveNext();
    }
    d.CierraRecordset(rs);
  };

  // For the record only: the same fetch on a server-side cursor, which
  // streams the rows as the dialog reads them.
  auto referenciaFlujo = [&] {
    ado::Recordset rs;
    rs.setCursorLocation(ado::adUseServer);
    d.AbrirRecordset(sql, rs, nullptr, 0, 1);
    const long n = rs.Fields().Count();
    while (!rs.EOF()) {
      for (long i = 0; i < n; ++i) (void)rs.Fields(i).Value();
      rs.MoveNext();
    }
    d.CierraRecordset(rs);
  };

  int filas = 0;
  double busqueda = 1e9;
  int hallada = 0;
  using Reloj = std::chrono::steady_clock;
  auto segundos = [](Reloj::duration t) { return std::chrono::duration<double>(t).count(); };
  // Opening and closing the dialog; the searches in between are timed apart.
  auto nuestro = [&] {
    const auto inicio = Reloj::now();
    auto f = std::make_unique<Lib_FrmCons3>();
    f->SQL = sql;
    f->MuestraStock = QStringLiteral("SI");
    f->StkNivel1 = 255;
    f->StkNivel2 = 65280;
    f->StkNivel3 = 16711680;
    f->StkNivel4 = 8421504;
    f->show();
    QCoreApplication::processEvents();
    const auto abierto = Reloj::now();
    filas = f->modelo().filas();
    // The last row: the search walks every row before it. The first search
    // counts too, so nothing built on first use hides behind the best time.
    const QString ultima = QStringLiteral(" art%1 ").arg(kFilas - 1, 6, 10, QLatin1Char('0'));
    const double primera = banco::mejorTiempo([&] { hallada = f->Busqueda(0, ultima); }, 1);
    const double mejor = banco::mejorTiempo([&] { hallada = f->Busqueda(0, ultima); }, 5);
    busqueda = std::min(busqueda, std::max(primera, mejor));
    const auto cierre = Reloj::now();
    f->hide();
    f.reset();
    return segundos(abierto - inicio) + segundos(Reloj::now() - cierre);
  };
  double tReferencia = 1e9, tNuestro = 1e9, tFlujo = 1e9;
  for (int vuelta = 0; vuelta < 4; ++vuelta) {
    tReferencia = std::min(tReferencia, banco::mejorTiempo(referencia, 1));
    tNuestro = std::min(tNuestro, nuestro());
    tFlujo = std::min(tFlujo, banco::mejorTiempo(referenciaFlujo, 1));
  }
  std::printf("recordset en flujo: %.6f s (dialogo / flujo = %.3f)\n", tFlujo, tNuestro / tFlujo);
  std::printf("filas: %d (recordset %ld); busqueda: %.5f s, fila %d, limite %.5f s\n", filas, leidas, busqueda, hallada,
              tNuestro / 100);
  const bool busquedaOk = filas == kFilas && leidas == kFilas && hallada == kFilas && busqueda < tNuestro / 100;
  if (!busquedaOk) std::printf("lookup: la busqueda incremental no cumple su limite\n");
  const int r = banco::informar("lookup", tNuestro, tReferencia, 2.0);
  return busquedaOk ? r : 1;
}
