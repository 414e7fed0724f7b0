// Statement rewriting (restricted synonyms, then the Oracle dialect) as
// DB_Dll applies it before opening a statement, over statements written the
// way the screens write them, none rewritten twice; against the cheapest
// query the program makes: one point query on an indexed SQLite table
// through a Recordset, both measured in this run. Rewriting a statement must
// cost under 15% of that query.
#include <sqlite3.h>

#include <QCoreApplication>
#include <QSet>
#include <QTemporaryDir>
#include <cstdio>

#include "bench/common/bench_common.h"
#include "bench/common/tabla_sqlite.h"
#include "bench/rewrite/sentencias.h"
#include "data/reescritura.h"
#include "platform/ado/connection.h"
#include "platform/ado/recordset.h"
#include "platform/ctx/programa.h"
#include "platform/vb/dates.h"

namespace {

// Each timed run takes statements of its own.
constexpr int kPorVuelta = 400;
constexpr int kVueltas = 7;
constexpr int kFilas = 20000;

const QString kOracle = QStringLiteral("Provider=OraOLEDB.Oracle.1;Data Source=ORCL;User Id=u;Password=p;");

QString reescribir(const QString& sql) {
  return reescritura::ORACLE_Dicc(reescritura::SS_TSinonimos(sql, false), kOracle);
}

void crear(const QString& ruta) {
  banco::crearTabla(ruta,
                    "CREATE TABLE TA_CONFIGURACION (CODIGO VARCHAR(40) COLLATE NOCASE PRIMARY KEY, "
                    "VALOR VARCHAR(200) COLLATE NOCASE)",
                    "INSERT INTO TA_CONFIGURACION VALUES (?, ?)", kFilas, [](int fila, banco::Fila& f) {
                      f.texto(1, QStringLiteral("CLAVE_%1").arg(fila + 1));
                      f.texto(2, QStringLiteral("valor número %1").arg(fila + 1));
                    });
}

}  // namespace

int main(int argc, char** argv) {
  // Dates are read as the program reads them.
  vb::fijarZonaHoraria();
  QCoreApplication app(argc, argv);
  ctx::Alcance programa;
  QTemporaryDir carpeta;
  const QString ruta = carpeta.filePath(QStringLiteral("suite.db"));
  crear(ruta);

  ado::Connection cnn;
  cnn.Open(QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source =") + ruta + QStringLiteral(";"));

  const std::vector<QString> sentencias = banco::sentenciasVariadas(kPorVuelta * kVueltas);
  qsizetype caracteres = 0, cambiadas = 0;
  QSet<QString> distintas;
  for (const QString& s : sentencias) {
    distintas.insert(s);
    caracteres += s.size();
    cambiadas += reescribir(s) != s;
  }
  if (distintas.size() != static_cast<qsizetype>(sentencias.size())) {
    std::printf("rewrite: %lld statements repeat\n", static_cast<long long>(sentencias.size() - distintas.size()));
    return 2;
  }
  std::printf("rewrite: %zu different statements, %lld characters on average, %lld changed by the rewrite\n",
              sentencias.size(), static_cast<long long>(caracteres / qsizetype(sentencias.size())),
              static_cast<long long>(cambiadas));
  for (int i = 0; i < 2; ++i)
    std::printf("rewrite: \"%s\"\n      -> \"%s\"\n", qPrintable(sentencias[i]), qPrintable(reescribir(sentencias[i])));

  qsizetype largo = 0;
  int vuelta = 0;
  const double nuestro = banco::mejorTiempo(
      [&] {
        const QString* s = sentencias.data() + kPorVuelta * vuelta++;
        for (int i = 0; i < kPorVuelta; ++i) largo += reescribir(s[i]).size();
      },
      kVueltas);

  long leidos = 0;
  vuelta = 0;
  const double referencia = banco::mejorTiempo(
      [&] {
        const int base = kPorVuelta * vuelta++;
        for (int i = 0; i < kPorVuelta; ++i) {
          ado::Recordset rs;
          rs.Open(QStringLiteral("SELECT VALOR FROM TA_CONFIGURACION WHERE CODIGO = 'CLAVE_%1'")
                      .arg(1 + (base + i) * 7 % kFilas),
                  cnn);
          if (!rs.EOF()) leidos += rs.Fields(0L).Value().toText().size();
          rs.Close();
        }
      },
      kVueltas);
  std::printf("rewrite: %.2f us a statement, %.2f us a point query (checks %lld %ld)\n", nuestro / kPorVuelta * 1e6,
              referencia / kPorVuelta * 1e6, static_cast<long long>(largo), leidos);
  return banco::informar("rewrite", nuestro, referencia, 0.15);
}
