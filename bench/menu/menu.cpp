// CargarArbolMenu over a 20,000-row TA_MENU in SQLite, against the same rows
// fetched through a Recordset and added to a bare QTreeWidget by a plain
// loop (text, icon, key, check box, parent by hash, expanded). Then the same
// loader at 100,000 rows, to see that it grows linearly.
#include <sqlite3.h>

#include <QApplication>
#include <QFile>
#include <QHash>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>

#include "bench/common/bench_common.h"
#include "data/db_dll.h"
#include "menu/rt_iconoslst.h"
#include "platform/ctx/programa.h"

namespace {

// Three levels: 1 top row, 10 children, 19 grandchildren each: 200 rows a group.
void crearBase(const QString& ruta, int filas) {
  QFile::remove(ruta);
  sqlite3* db = nullptr;
  sqlite3_open(QFile::encodeName(ruta).constData(), &db);
  sqlite3_exec(db,
               "CREATE TABLE TA_CONFIGURACION (Grupo TEXT COLLATE NOCASE, Clave TEXT COLLATE NOCASE,"
               " Valor TEXT COLLATE NOCASE, ValorAux TEXT COLLATE NOCASE, PoliticaNegocio INTEGER DEFAULT 0);"
               "CREATE TABLE TA_USUARIOS (Nombre TEXT COLLATE NOCASE, Administrador INTEGER DEFAULT 0);"
               // Keyed as the suite's menu table is, by menu and task.
               "CREATE TABLE TA_MENU (MENU TEXT COLLATE NOCASE, HABILITADO INTEGER, CLAVE TEXT COLLATE NOCASE,"
               " Titulo TEXT COLLATE NOCASE, Nombre TEXT COLLATE NOCASE, Imagen TEXT COLLATE NOCASE,"
               " Proceso TEXT COLLATE NOCASE, PRIMARY KEY (MENU, CLAVE)); BEGIN;",
               nullptr, nullptr, nullptr);
  for (const auto& m : Rt_IconosLst::modulos()) {
    const QByteArray sql =
        QStringLiteral("INSERT INTO TA_CONFIGURACION (Grupo, Clave, Valor) VALUES ('DATOS', '%1', '%2')")
            .arg(QLatin1String(m.clavePrefijo), QLatin1String(m.prefijoPorDefecto))
            .toUtf8();
    sqlite3_exec(db, sql.constData(), nullptr, nullptr, nullptr);
  }
  sqlite3_stmt* st = nullptr;
  sqlite3_prepare_v2(db, "INSERT INTO TA_MENU VALUES ('ZEPA', 1, ?, ?, ?, ?, ?)", -1, &st, nullptr);
  const QStringList& iconos = Rt_IconosLst::clavesIconos();
  int n = 0;
  auto agregar = [&](const QString& clave, const QString& titulo) {
    const QByteArray c = clave.toUtf8(), t = titulo.toUtf8();
    const QByteArray nombre = (QStringLiteral("Tarea ") + clave).toUtf8();
    const QByteArray imagen = (QStringLiteral(" ") + iconos[n % iconos.size()].toLower()).toUtf8();
    const QByteArray proceso = (QStringLiteral("PRC") + clave).toUtf8();
    sqlite3_bind_text(st, 1, c.constData(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_text(st, 2, t.constData(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_text(st, 3, nombre.constData(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_text(st, 4, imagen.constData(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_text(st, 5, proceso.constData(), -1, SQLITE_TRANSIENT);
    sqlite3_step(st);
    sqlite3_reset(st);
    ++n;
  };
  for (int g = 0; n < filas; ++g) {
    const QString raiz = QStringLiteral("D%1").arg(g, 3, 10, QLatin1Char('0'));
    agregar(raiz, QString());
    for (int h = 0; h < 10 && n < filas; ++h) {
      const QString hijo = raiz + QStringLiteral("%1").arg(h, 2, 10, QLatin1Char('0'));
      agregar(hijo, raiz);
      for (int k = 0; k < 19 && n < filas; ++k)
        agregar(hijo + QStringLiteral("%1").arg(k, 2, 10, QLatin1Char('0')), hijo);
    }
  }
  sqlite3_finalize(st);
  sqlite3_exec(db, "COMMIT;", nullptr, nullptr, nullptr);
  sqlite3_close(db);
}

void conectar(const QString& base) {
  DB_Dll& d = db();
  if (d.gOpenFlag) d.gCnn.Close();
  d.gServidor = QStringLiteral("SRVBANCO");
  d.gDBName = base;
  d.gUsuario = QStringLiteral("ADMIN");
  d.gUserPassWord = QStringLiteral("x");
  d.OpenServerADODB(false, 3, QString(), false);
}

int contarNodos = 0;

// The growth figure compares one loader with itself at two sizes. On a
// machine shared with other work the wall clock of a run of seconds always
// carries other processes' time, while a run of a fraction of a second often
// finds a quiet moment, so wall figures inflate the growth; the processor
// time this process spent (user and system, page faults included) is what
// grows with the rows. Both are kept, each as the best of its runs.
double cpu() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

struct Mejor {
  double pared = 1e9, proceso = 1e9;
  void medir(const std::function<void()>& trabajo, int veces) {
    for (int i = 0; i < veces; ++i) {
      const double c0 = cpu();
      pared = std::min(pared, banco::mejorTiempo(trabajo, 1));
      proceso = std::min(proceso, cpu() - c0);
    }
  }
};

void cargarNuestro(const ListaImagenes& lista) {
  Arbol arbol;
  arbol.setImageList(const_cast<ListaImagenes*>(&lista));
  Rt_IconosLst::CargarArbolMenu(arbol, lista, QStringLiteral("ZEPA"), true);
  contarNodos = arbol.Nodes().Count();
  arbol.setImageList(nullptr);
}

double medirReferencia(const ListaImagenes& lista, int veces) {
  return banco::mejorTiempo(
      [&] {
        QTreeWidget arbol;
        arbol.setIconSize(QSize(16, 16));
        QHash<QString, QTreeWidgetItem*> porClave;
        QHash<QString, int> porTag;
        for (int i = 1; i <= lista.Count(); ++i) porTag.insert(lista.Tag(i).toUpper(), i);
        ado::Recordset rs;
        db().AbrirRecordset(
            QStringLiteral("SELECT * FROM TA_MENU WHERE MENU = 'ZEPA' AND (HABILITADO = 1) ORDER BY CLAVE "), rs);
        while (!rs.EOF()) {
          const QString clave = rs.Fields("Clave").Value().toText().trimmed();
          const QString titulo = rs.Fields("Titulo").Value().toText().trimmed();
          auto* item = new QTreeWidgetItem;
          item->setText(0, rs.Fields("Nombre").Value().toText().trimmed());
          item->setData(0, Qt::UserRole, rs.Fields("Proceso").Value().toText().trimmed());
          item->setData(0, Qt::UserRole + 1, clave);
          item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
          item->setCheckState(0, Qt::Unchecked);
          const int img = porTag.value(rs.Fields("Imagen").Value().toText().trimmed().toUpper());
          if (img) item->setIcon(0, lista.Picture(img));
          QTreeWidgetItem* padre = titulo.isEmpty() ? arbol.invisibleRootItem() : porClave.value(titulo);
          if (padre) {
            padre->addChild(item);
            porClave.insert(clave, item);
            item->setExpanded(true);
          } else {
            delete item;
          }
          rs.MoveNext();
        }
        db().CierraRecordset(rs);
      },
      veces);
}

// Only reading the rows, for the detail figures.
void leer() {
  ado::Recordset rs;
  db().AbrirRecordset(QStringLiteral("SELECT * FROM TA_MENU WHERE MENU = 'ZEPA' AND (HABILITADO = 1) ORDER BY CLAVE "),
                      rs);
  long total = 0;
  while (!rs.EOF()) {
    total += rs.Fields("Clave").Value().toText().size() + rs.Fields("Nombre").Value().toText().size();
    rs.MoveNext();
  }
  db().CierraRecordset(rs);
  if (total == 0) std::printf("menu: no rows\n");
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QTemporaryDir config, datos;
  ctx::actual().setCarpetaConfiguracion(config.path() + QStringLiteral("/"));
  {
    QFile ini(config.filePath(QStringLiteral("CN000pr.INI")));
    ini.open(QIODevice::WriteOnly);
    ini.write(QStringLiteral("[Servidores]\nSRVBANCO=sqlite:%1/\n").arg(datos.path()).toUtf8());
  }
  ListaImagenes chica, grande(nullptr, 32);
  Rt_IconosLst::CargarIconosLst(chica, grande);

  crearBase(datos.filePath(QStringLiteral("MENU20.db")), 20000);
  crearBase(datos.filePath(QStringLiteral("MENU100.db")), 100000);
  // Rounds alternate the sizes and the two loaders, and each figure is the
  // best of all rounds, so that a busy spell of the machine does not land on
  // one side only. Both sizes are run as many times.
  const bool detalle = qEnvironmentVariableIsSet("KV_BANCO_DETALLE");
  double referencia = 1e9;
  Mejor nuestro20, nuestro100, lectura20, lectura100;
  int nodos20 = 0, nodos100 = 0;
  for (int ronda = 0; ronda < 5; ++ronda) {
    conectar(QStringLiteral("MENU20"));
    if (!db().gOpenFlag) {
      std::fprintf(stderr, "menu: no se pudo abrir la base\n");
      return 2;
    }
    referencia = std::min(referencia, medirReferencia(chica, 2));
    nuestro20.medir([&] { cargarNuestro(chica); }, 2);
    nodos20 = contarNodos;
    if (detalle) lectura20.medir(leer, 2);
    conectar(QStringLiteral("MENU100"));
    nuestro100.medir([&] { cargarNuestro(chica); }, 2);
    nodos100 = contarNodos;
    if (detalle) lectura100.medir(leer, 2);
  }
  if (detalle) {
    std::printf("menu: reading rows only %.6fs at 20000, %.6fs at 100000 (processor time, %.3f times)\n",
                lectura20.proceso, lectura100.proceso, lectura100.proceso / lectura20.proceso);
    std::printf("menu: tree without the reading %.3f times\n",
                (nuestro100.proceso - lectura100.proceso) / (nuestro20.proceso - lectura20.proceso));
  }
  const double crecimiento = nuestro100.proceso / nuestro20.proceso;
  std::printf("menu: nodes=%d at 20000 rows, %d at 100000 rows\n", nodos20, nodos100);
  std::printf("menu: wall %.6fs at 20000 rows, %.6fs at 100000 rows (%.3f times)\n", nuestro20.pared, nuestro100.pared,
              nuestro100.pared / nuestro20.pared);
  std::printf("menu: processor %.6fs at 20000 rows, %.6fs at 100000 rows, growth=%.3f limit=6.000\n", nuestro20.proceso,
              nuestro100.proceso, crecimiento);
  const bool completo = nodos20 == 20000 && nodos100 == 100000;
  const int rc = banco::informar("menu", nuestro20.pared, referencia, 2.0);
  return (rc == 0 && crecimiento <= 6.0 && completo) ? 0 : 1;
}
