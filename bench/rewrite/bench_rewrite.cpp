// Statement rewriting (restricted synonyms, then the Oracle dialect) of a
// typical 300-character statement, against the cheapest query the program
// makes: one point query on an indexed SQLite table through a Recordset,
// both measured in this run. Rewriting must cost under 5% of that query.
#include <sqlite3.h>

#include <QCoreApplication>
#include <QTemporaryDir>
#include <cstdio>

#include "bench/common/bench_common.h"
#include "bench/common/tabla_sqlite.h"
#include "data/reescritura.h"
#include "platform/ado/connection.h"
#include "platform/ado/recordset.h"
#include "platform/ctx/programa.h"

namespace {

constexpr int kVueltas = 2000;

// A statement as the suite's screens write them: joins, a range of names,
// a null-safe flag, the order.
const QString kSentencia = QStringLiteral(
    "SELECT U.NOMBRE, U.DESCRIPCION, G.NOMBRE AS GRUPO, N.DESCRIPCION AS UNIDAD FROM TA_USUARIOS U INNER JOIN "
    "TA_GRUPOS G ON U.GRUPO = G.CODIGO LEFT JOIN V_TA_UNIDADNEGOCIO N ON U.UNIDAD = N.CODIGO WHERE U.ACTIVO = 1 "
    "AND U.NOMBRE >= 'A' AND U.NOMBRE <= 'ZZZ' AND ISNULL(U.BLOQUEADO,0) = 0 ORDER BY G.NOMBRE, U.NOMBRE");
// Every construct the translation knows, for information.
const QString kDensa = QStringLiteral(
    "SELECT TOP 50 A.CODIGO, ISNULL(A.NOMBRE,'') AS NOMBRE, C.DESCRIPCION, SUBSTRING(A.REFERENCIA,1,10) AS REF, "
    "CONVERT(NVARCHAR,A.FECHA,103) AS FECHA FROM MV_ASIENTOS A INNER JOIN MA_CUENTAS C ON (MA_CUENTAS.CODIGO = "
    "A.CUENTA) WHERE A.FECHA >= '01/01/2024' AND A.ESTADO = '' AND LEN(A.CODIGO) > 0 ORDER BY A.FECHA");
const QString kOracle = QStringLiteral("Provider=OraOLEDB.Oracle.1;Data Source=ORCL;User Id=u;Password=p;");

void crear(const QString& ruta) {
  banco::crearTabla(ruta,
                    "CREATE TABLE TA_CONFIGURACION (CODIGO VARCHAR(40) COLLATE NOCASE PRIMARY KEY, "
                    "VALOR VARCHAR(200) COLLATE NOCASE)",
                    "INSERT INTO TA_CONFIGURACION VALUES (?, ?)", 20000, [](int fila, banco::Fila& f) {
                      f.texto(1, QStringLiteral("CLAVE_%1").arg(fila + 1));
                      f.texto(2, QStringLiteral("valor número %1").arg(fila + 1));
                    });
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  ctx::Alcance programa;
  QTemporaryDir carpeta;
  const QString ruta = carpeta.filePath(QStringLiteral("suite.db"));
  crear(ruta);

  ado::Connection cnn;
  cnn.Open(QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source =") + ruta + QStringLiteral(";"));

  std::printf("rewrite: %lld characters in, \"%s\" out\n", static_cast<long long>(kSentencia.size()),
              qPrintable(reescritura::ORACLE_Dicc(reescritura::SS_TSinonimos(kSentencia, false), kOracle)));

  qsizetype largo = 0;
  const double densa = banco::mejorTiempo(
      [&] {
        for (int i = 0; i < kVueltas; ++i)
          largo += reescritura::ORACLE_Dicc(reescritura::SS_TSinonimos(kDensa, false), kOracle).size();
      },
      7);
  const double nuestro = banco::mejorTiempo(
      [&] {
        for (int i = 0; i < kVueltas; ++i)
          largo += reescritura::ORACLE_Dicc(reescritura::SS_TSinonimos(kSentencia, false), kOracle).size();
      },
      7);

  long leidos = 0;
  const double referencia = banco::mejorTiempo(
      [&] {
        for (int i = 0; i < kVueltas; ++i) {
          ado::Recordset rs;
          rs.Open(QStringLiteral("SELECT VALOR FROM TA_CONFIGURACION WHERE CODIGO = 'CLAVE_%1'").arg(1 + i * 7 % 20000),
                  cnn);
          if (!rs.EOF()) leidos += rs.Fields(0L).Value().toText().size();
          rs.Close();
        }
      },
      7);
  std::printf("rewrite: a statement with every construct (%lld characters) takes %.2f us\n",
              static_cast<long long>(kDensa.size()), densa / kVueltas * 1e6);
  std::printf("rewrite: %d statements of each (checks %lld %ld)\n", kVueltas, static_cast<long long>(largo), leidos);
  return banco::informar("rewrite", nuestro, referencia, 0.05);
}
