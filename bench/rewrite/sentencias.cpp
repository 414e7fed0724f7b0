#include "bench/rewrite/sentencias.h"

#include <QStringList>
#include <array>
#include <functional>

namespace banco {

namespace {

const QStringList kNombres = {"ANA",      "BRUNO", "CARLA", "DIEGO", "ELENA", "FABIO",
                              "GRACIELA", "HUGO",  "INES",  "JULIO", "LAURA", "MARTIN"};
const QStringList kColumnasUsuario = {"U.DESCRIPCION", "U.EMAIL", "U.INTERNO", "U.FECHAALTA", "U.LEGAJO", "U.SECTOR"};
const QStringList kOrdenUsuario = {"G.NOMBRE, U.NOMBRE", "U.NOMBRE", "N.DESCRIPCION, U.NOMBRE", "U.LEGAJO"};
const QStringList kImportes = {"DEBE", "HABER", "IMPORTE", "CONCEPTO", "COTIZACION"};
const QStringList kTablasConsulta = {"V_TA_DEPOSITO", "V_TA_FAMILIAS",      "V_TA_CAJAS",
                                     "TA_GRUPOS",     "V_TA_UNIDADNEGOCIO", "V_TA_CPTE"};
const QStringList kColumnasCuenta = {"NIVEL", "IMPUTABLE", "MONEDA", "RUBRO", "SALDO"};

const QString& elegir(const QStringList& lista, int k) { return lista.at(k % lista.size()); }

// A day of 2019 to 2025 written as the screens write dates, day first.
QString fecha(int k) {
  return QStringLiteral("%1/%2/%3")
      .arg(1 + k % 28, 2, 10, QLatin1Char('0'))
      .arg(1 + k / 28 % 12, 2, 10, QLatin1Char('0'))
      .arg(2019 + k / 7 % 7);
}

QString cuenta(int k) {
  return QStringLiteral("%1.%2.%3").arg(1 + k % 5).arg(1 + k / 5 % 9).arg(k % 100, 2, 10, QLatin1Char('0'));
}

// Each shape gets v, its statement's number among those of the same shape,
// and writes v itself somewhere, so that no two statements are alike.
using Forma = std::function<QString(int)>;

const std::array<Forma, 11> kFormas = {
    // The users report: groups and business units, a range of names.
    [](int v) {
      return QStringLiteral(
                 "SELECT U.NOMBRE, %1, G.NOMBRE AS GRUPO, N.DESCRIPCION AS UNIDAD FROM TA_USUARIOS U INNER JOIN "
                 "TA_GRUPOS G ON U.GRUPO = G.CODIGO LEFT JOIN V_TA_UNIDADNEGOCIO N ON U.UNIDAD = N.CODIGO WHERE "
                 "U.ACTIVO = 1 AND U.NOMBRE >= '%2' AND U.NOMBRE <= '%3%4' AND ISNULL(U.BLOQUEADO,0) = 0 ORDER BY %5")
          .arg(elegir(kColumnasUsuario, v), elegir(kNombres, v), elegir(kNombres, v / 12 + 3), QString::number(v),
               elegir(kOrdenUsuario, v / 3));
    },
    // An account's ledger between two dates: two restricted tables.
    [](int v) {
      return QStringLiteral(
                 "SELECT MV_ASIENTOS.ASIENTO, MV_ASIENTOS.FECHA, MA_CUENTAS.CODIGO, MA_CUENTAS.DESCRIPCION, "
                 "MV_ASIENTOS.%1 FROM MV_ASIENTOS INNER JOIN MA_CUENTAS ON (MA_CUENTAS.CODIGO = MV_ASIENTOS.CUENTA) "
                 "WHERE MV_ASIENTOS.FECHA >= '%2' AND MV_ASIENTOS.FECHA <= '%3' AND MA_CUENTAS.CODIGO >= '%4' AND "
                 "MA_CUENTAS.CODIGO <= '%5' AND MV_ASIENTOS.EJERCICIO = %6 ORDER BY MV_ASIENTOS.FECHA, "
                 "MV_ASIENTOS.ASIENTO")
          .arg(elegir(kImportes, v), fecha(v), fecha(v + 30), cuenta(v), cuenta(v + 7), QString::number(2000 + v));
    },
    // A lookup's first page.
    [](int v) {
      return QStringLiteral("SELECT TOP %1 CODIGO, DESCRIPCION FROM %2 WHERE DESCRIPCION LIKE '%3%' ORDER BY %4")
          .arg(QString::number(20 + v), elegir(kTablasConsulta, v), elegir(kNombres, v / 6).left(1 + v % 3),
               v % 2 ? QStringLiteral("DESCRIPCION") : QStringLiteral("CODIGO"));
    },
    // A setting.
    [](int v) {
      return QStringLiteral("SELECT VALOR, valoraux FROM TA_CONFIGURACION WHERE CLAVE = '%1_%2'")
          .arg(elegir(kNombres, v), QString::number(v));
    },
    // The daily book with its cost centres, dates converted for display.
    [](int v) {
      return QStringLiteral(
                 "SELECT AC_CUENTASDIARIO.ASIENTO, CONVERT(NVARCHAR,AC_CUENTASDIARIO.FECHA,103) AS FECHA, "
                 "SUBSTRING(AC_CUENTASDIARIO.CONCEPTO,1,%1) AS CONCEPTO, ISNULL(AC_CUENTASDIARIO_CCOSTO.CCOSTO,'') "
                 "AS CCOSTO FROM AC_CUENTASDIARIO LEFT JOIN AC_CUENTASDIARIO_CCOSTO ON (AC_CUENTASDIARIO.ASIENTO = "
                 "AC_CUENTASDIARIO_CCOSTO.ASIENTO) WHERE AC_CUENTASDIARIO.CUENTA = '%2' AND AC_CUENTASDIARIO.FECHA "
                 ">= '%3' AND AC_CUENTASDIARIO.FECHA <= '%4' ORDER BY AC_CUENTASDIARIO.FECHA")
          .arg(QString::number(10 + v), cuenta(v), fecha(v * 3), fecha(v * 3 + 40));
    },
    // A user's tasks in the menu.
    [](int v) {
      return QStringLiteral(
                 "SELECT T.MENU, T.CLAVE, M.DESCRIPCION FROM TA_USUARIOS_TAREAS T INNER JOIN TA_MENU M ON T.MENU = "
                 "M.MENU AND T.CLAVE = M.CLAVE WHERE T.USUARIO = '%1%2' AND LEN(M.DESCRIPCION) > 0 AND "
                 "ISNULL(M.OCULTO,0) = %3 ORDER BY T.MENU, T.CLAVE")
          .arg(elegir(kNombres, v), QString::number(v), QString::number(v % 2));
    },
    // Accounts as the administrator's screens read them, past the synonym.
    [](int v) {
      return QStringLiteral(
                 "SELECT C.CODIGO AS [Código], C.DESCRIPCION AS [Descripción], C.%1 FROM @Admin_MA_CUENTAS C WHERE "
                 "C.CODIGO LIKE '%2%' AND CHARINDEX('%3', C.DESCRIPCION) > 0 AND C.OBSERVACION = '' ORDER BY C.CODIGO")
          .arg(elegir(kColumnasCuenta, v), cuenta(v), elegir(kNombres, v / 5).toLower() + QString::number(v));
    },
    // Users per group over a range of codes.
    [](int v) {
      return QStringLiteral(
                 "SELECT G.CODIGO, G.NOMBRE, COUNT(*) AS USUARIOS FROM TA_GRUPOS G INNER JOIN TA_USUARIOS U ON "
                 "U.GRUPO = G.CODIGO WHERE G.CODIGO >= %1 AND G.CODIGO <= %2 GROUP BY G.CODIGO, G.NOMBRE ORDER BY "
                 "G.NOMBRE")
          .arg(QString::number(v), QString::number(v + 1 + v % 40));
    },
    // Cash boxes with their family and store: three restricted views.
    [](int v) {
      return QStringLiteral(
                 "SELECT V_TA_CAJAS.CODIGO, V_TA_CAJAS.DESCRIPCION, V_TA_FAMILIAS.DESCRIPCION AS FAMILIA, "
                 "V_TA_DEPOSITO.DESCRIPCION AS DEPOSITO FROM V_TA_CAJAS, V_TA_FAMILIAS, V_TA_DEPOSITO WHERE "
                 "V_TA_CAJAS.FAMILIA = V_TA_FAMILIAS.CODIGO AND V_TA_CAJAS.DEPOSITO = V_TA_DEPOSITO.CODIGO AND "
                 "V_TA_CAJAS.CODIGO >= '%1' AND V_TA_CAJAS.CODIGO <= '%2'")
          .arg(QStringLiteral("C%1").arg(v, 4, 10, QLatin1Char('0')),
               QStringLiteral("C%1").arg(v + 5, 4, 10, QLatin1Char('0')));
    },
    // A report's row.
    [](int v) {
      return QStringLiteral("SELECT * FROM TA_REPORTES WHERE NOMBRE = 'RP_USUARIOS_%1%2'")
          .arg(elegir(kNombres, v), QString::number(v));
    },
    // The latest movements of an account.
    [](int v) {
      return QStringLiteral(
                 "SELECT TOP %1 MV_ASIENTOS.ASIENTO, MV_ASIENTOS.FECHA, MV_ASIENTOS.%2 FROM MV_ASIENTOS WHERE "
                 "MV_ASIENTOS.CUENTA = '%3' AND MV_ASIENTOS.FECHA >= '%4' ORDER BY MV_ASIENTOS.FECHA DESC")
          .arg(QString::number(10 + v), elegir(kImportes, v), cuenta(v), fecha(v * 5));
    },
};

}  // namespace

std::vector<QString> sentenciasVariadas(int n) {
  std::vector<QString> r;
  r.reserve(n);
  for (int i = 0; i < n; ++i) r.push_back(kFormas[i % kFormas.size()](i / static_cast<int>(kFormas.size())));
  return r;
}

}  // namespace banco
