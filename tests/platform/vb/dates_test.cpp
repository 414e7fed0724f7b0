#include <gtest/gtest.h>

#include "platform/vb/dates.h"
#include "platform/vb/error.h"
#include "platform/vb/formato.h"
#include "platform/vb/regional.h"
#include "platform/vb/reloj.h"

namespace {

QDateTime fecha(int a, int m, int d, int h = 0, int n = 0, int s = 0) {
  return QDateTime(QDate(a, m, d), QTime(h, n, s));
}

TEST(Fechas, LeeElOrdenRegional) {
  EXPECT_EQ(vb::leerFecha(QStringLiteral("05/03/2024")), fecha(2024, 3, 5));
  EXPECT_EQ(vb::leerFecha(QStringLiteral("5/3/24")), fecha(2024, 3, 5));
  EXPECT_EQ(vb::leerFecha(QStringLiteral("5/3/30")), fecha(1930, 3, 5));
  EXPECT_EQ(vb::leerFecha(QStringLiteral("29/02/2024 8:05")), fecha(2024, 2, 29, 8, 5));
  EXPECT_EQ(vb::leerFecha(QStringLiteral(" 31-12-2024 23:59:58 ")), fecha(2024, 12, 31, 23, 59, 58));
  EXPECT_EQ(vb::leerFecha(QStringLiteral("2024-03-05")), fecha(2024, 3, 5));
  EXPECT_EQ(vb::leerFecha(QStringLiteral("2024-03-05T10:11:12")), fecha(2024, 3, 5, 10, 11, 12));
  EXPECT_EQ(vb::leerFecha(QStringLiteral("10:30")), fecha(1899, 12, 30, 10, 30));
  EXPECT_EQ(vb::leerFecha(QStringLiteral("1/1/2024 2:00 PM")), fecha(2024, 1, 1, 14, 0));
}

TEST(Fechas, RechazaLasQueNoExisten) {
  EXPECT_FALSE(vb::IsDate(QStringLiteral("31/02/2024")));
  EXPECT_FALSE(vb::IsDate(QStringLiteral("29/02/2023")));
  EXPECT_FALSE(vb::IsDate(QStringLiteral("13/13/2024")));
  EXPECT_FALSE(vb::IsDate(QStringLiteral("12/25/2024")));  // no month 25: the order is not swapped
  EXPECT_FALSE(vb::IsDate(QStringLiteral("01/01/2024 24:00")));
  EXPECT_FALSE(vb::IsDate(QStringLiteral("01/01-2024")));
  EXPECT_FALSE(vb::IsDate(QStringLiteral("1/1/123")));
  EXPECT_FALSE(vb::IsDate(QStringLiteral("2024-02-30")));
  EXPECT_FALSE(vb::IsDate(QStringLiteral("")));
  EXPECT_FALSE(vb::IsDate(QStringLiteral("hoy")));
  EXPECT_TRUE(vb::IsDate(vb::Variant(fecha(2024, 1, 1))));
  EXPECT_FALSE(vb::IsDate(vb::Variant(45000.0)));
}

TEST(Fechas, OtroOrdenRegional) {
  vb::Regional r;
  r.ordenFecha = vb::OrdenFecha::MesDiaAnio;
  vb::setRegional(r);
  EXPECT_EQ(vb::leerFecha(QStringLiteral("03/05/2024")), fecha(2024, 3, 5));
  EXPECT_FALSE(vb::IsDate(QStringLiteral("31/12/2024")));
}

TEST(Fechas, PartesYSeriales) {
  const QDateTime f = fecha(2024, 2, 29, 13, 45, 30);
  EXPECT_EQ(vb::Year(f), 2024);
  EXPECT_EQ(vb::Month(f), 2);
  EXPECT_EQ(vb::Day(f), 29);
  EXPECT_EQ(vb::Hour(f), 13);
  EXPECT_EQ(vb::Minute(f), 45);
  EXPECT_EQ(vb::Second(f), 30);
  EXPECT_EQ(vb::Weekday(f), 5);  // a Thursday
  EXPECT_EQ(vb::Weekday(fecha(2024, 3, 3)), 1);
  EXPECT_EQ(vb::Year(QDateTime()), 1899);
  EXPECT_DOUBLE_EQ(vb::serialFecha(fecha(1899, 12, 29, 6)), -1.25);
  EXPECT_EQ(vb::fechaDeSerial(-1.25), fecha(1899, 12, 29, 6));
  EXPECT_EQ(vb::fechaDeSerial(vb::serialFecha(f)), f);
  EXPECT_EQ(vb::fechaDeSerial(1.99999999999), fecha(1900, 1, 1));
}

TEST(Fechas, DateSerialArrastraMesesYDias) {
  EXPECT_EQ(vb::DateSerial(2024, 2, 29), fecha(2024, 2, 29));
  EXPECT_EQ(vb::DateSerial(2024, 13, 1), fecha(2025, 1, 1));
  EXPECT_EQ(vb::DateSerial(2024, 3, 0), fecha(2024, 2, 29));
  EXPECT_EQ(vb::DateSerial(2024, 0, 1), fecha(2023, 12, 1));
  EXPECT_EQ(vb::DateSerial(2024, -11, 1), fecha(2023, 1, 1));
  EXPECT_EQ(vb::DateSerial(2024, 1, 32), fecha(2024, 2, 1));
  EXPECT_EQ(vb::DateSerial(24, 1, 1), fecha(2024, 1, 1));
  EXPECT_EQ(vb::DateSerial(99, 1, 1), fecha(1999, 1, 1));
  EXPECT_THROW(vb::DateSerial(10000, 1, 1), vb::Error);
  EXPECT_EQ(vb::TimeSerial(25, 0, 0), fecha(1899, 12, 31, 1));
  EXPECT_EQ(vb::TimeSerial(10, 61, 5), fecha(1899, 12, 30, 11, 1, 5));
}

TEST(Formato, FormatosDeFechaDelPrograma) {
  const QDateTime f = fecha(2024, 3, 5, 7, 8, 9);
  EXPECT_EQ(vb::formatoFecha(f, QStringLiteral("dd/mm/yyyy")), QStringLiteral("05/03/2024"));
  EXPECT_EQ(vb::formatoFecha(f, QStringLiteral("mm-dd-yyyy")), QStringLiteral("03-05-2024"));
  EXPECT_EQ(vb::formatoFecha(f, QStringLiteral("yyyy-mm-dd")), QStringLiteral("2024-03-05"));
  EXPECT_EQ(vb::formatoFecha(f, QStringLiteral("hh:mm:ss")), QStringLiteral("07:08:09"));
  EXPECT_EQ(vb::formatoFecha(f, QStringLiteral("yyyymmdd")), QStringLiteral("20240305"));
  EXPECT_EQ(vb::formatoFecha(f, QStringLiteral("DD/MM/YYYY")), QStringLiteral("05/03/2024"));
  EXPECT_EQ(vb::formatoFecha(f, QStringLiteral("d/m/yy h:nn")), QStringLiteral("5/3/24 7:08"));
  EXPECT_EQ(vb::formatoFecha(f, QStringLiteral("dddd d \"de\" mmmm")), QStringLiteral("martes 5 de marzo"));
  EXPECT_EQ(vb::formatoFecha(f, QStringLiteral("ddd mmm")), QStringLiteral("mar mar"));
  EXPECT_EQ(vb::formatoFecha(fecha(2024, 3, 5, 15, 4), QStringLiteral("h:mm AM/PM")), QStringLiteral("3:04 PM"));
  EXPECT_EQ(vb::formatoFecha(f, QStringLiteral("\\d\\d dd")), QStringLiteral("dd 05"));
  EXPECT_EQ(vb::formatoFecha(f, QStringLiteral("Short Date")), QStringLiteral("05/03/2024"));
  EXPECT_EQ(vb::Format(f, QStringLiteral("yyyymmdd")), QStringLiteral("20240305"));
  EXPECT_EQ(vb::Format(QStringLiteral("31/12/2024"), QStringLiteral("yyyy-mm-dd")), QStringLiteral("2024-12-31"));
}

TEST(Formato, SeparadoresRegionales) {
  vb::Regional r;
  r.separadorFecha = QLatin1Char('.');
  vb::setRegional(r);
  const QDateTime f = fecha(2024, 3, 5);
  EXPECT_EQ(vb::formatoFecha(f, QStringLiteral("dd/mm/yyyy")), QStringLiteral("05.03.2024"));
  EXPECT_EQ(vb::formatoFecha(f, QStringLiteral("mm-dd-yyyy")), QStringLiteral("03-05-2024"));
  EXPECT_EQ(vb::leerFecha(QStringLiteral("05.03.2024")), f);
}

TEST(Reloj, FijoParaLasPruebasYDelSistemaSinEl) {
  const QDateTime antes = QDateTime::currentDateTime().addSecs(-1);
  EXPECT_GE(vb::Now(), antes);
  vb::reloj().fijar(QDateTime(QDate(2024, 6, 1), QTime(9, 30, 15, 500)));
  EXPECT_EQ(vb::Now(), fecha(2024, 6, 1, 9, 30, 15));
  EXPECT_EQ(vb::Date(), fecha(2024, 6, 1));
  EXPECT_EQ(vb::Time(), fecha(1899, 12, 30, 9, 30, 15));
  int llamadas = 0;
  vb::reloj().usarFuente([&] { return fecha(2024, 6, 1).addSecs(++llamadas); });
  EXPECT_EQ(vb::Now(), fecha(2024, 6, 1, 0, 0, 1));
  EXPECT_EQ(vb::Now(), fecha(2024, 6, 1, 0, 0, 2));
  vb::reloj().usarSistema();
  EXPECT_GE(vb::Now(), antes);
}

TEST(ZonaHoraria, SoloSeFijaCuandoFaltaYEsLaMisma) {
  const bool habia = qEnvironmentVariableIsSet("TZ");
  const QByteArray previa = qgetenv("TZ");
  for (const char* puesta : {"America/Argentina/Buenos_Aires", ""}) {
    qputenv("TZ", puesta);
    vb::fijarZonaHoraria();
    EXPECT_EQ(qgetenv("TZ"), puesta);
    EXPECT_TRUE(qEnvironmentVariableIsSet("TZ"));
  }
  // Local times of either season are placed as with TZ unset.
  auto desfases = [] {
    return std::pair(fecha(2024, 1, 15, 12).offsetFromUtc(), fecha(2024, 7, 1, 12).offsetFromUtc());
  };
  qunsetenv("TZ");
  const auto sinZona = desfases();
  vb::fijarZonaHoraria();
  EXPECT_EQ(qgetenv("TZ"), ":/etc/localtime");
  EXPECT_EQ(desfases(), sinZona);
  if (habia)
    qputenv("TZ", previa);
  else
    qunsetenv("TZ");
}

}  // namespace
