// The error box and its log line.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QFile>

#include "data/db_dll.h"
#include "data/registro_errores.h"
#include "platform/ctx/programa.h"
#include "platform/vb/reloj.h"
#include "tests/support/guion_ui.h"
#include "tests/support/temp_folder.h"

namespace {

struct Registro {
  Registro() {
    vb::reloj().fijar(QDateTime(QDate(2024, 3, 5), QTime(14, 7, 9)));
    d.gLogErr = carpeta.archivo(QStringLiteral("errores.log"));
  }
  QString leer() const { return QString::fromUtf8(carpeta.leer(QStringLiteral("errores.log"))); }
  prueba::CarpetaTemporal carpeta;
  DB_Dll d;
};

}  // namespace

TEST(RegistroErrores, LineaYCajaConRutina) {
  Registro r;
  prueba::guion().esperarMensaje(ui::vbRetry);
  const int respuesta = r.d.TratamientoErrores(vb::Error(3265, QStringLiteral(" X "), QStringLiteral("ADODB.Fields")),
                                               std::nullopt, vb::Variant("VerificaCampos"));
  EXPECT_EQ(respuesta, ui::vbRetry);
  EXPECT_EQ(r.leer(), QStringLiteral("03-05-2024 14:07:09 Rutina: - VerificaCampos Mensaje Ha ocurrido el Siguiente "
                                     "Error (3265) X Respondió : Reintentar\r\n"));
  const auto& caja = prueba::guion().mostradas().at(0);
  EXPECT_EQ(caja.texto, "Ha ocurrido el Siguiente Error (3265) X");
  EXPECT_EQ(caja.titulo, "ADODB.Fields - VerificaCampos Aviso al operador!!! ");
  EXPECT_EQ(caja.botones, ui::vbAbortRetryIgnore | ui::vbCritical);
}

TEST(RegistroErrores, SinRutinaQuedanDosBlancos) {
  Registro r;
  prueba::guion().esperarMensaje(ui::vbAbort);
  EXPECT_EQ(r.d.TratamientoErrores(vb::Error(-2147217900, QStringLiteral("mal"))), ui::vbAbort);
  EXPECT_EQ(r.leer(), QStringLiteral("03-05-2024 14:07:09 Rutina:  Mensaje Ha ocurrido el Siguiente Error "
                                     "(-2147217900) mal Respondió : Abortar\r\n"));
  EXPECT_EQ(prueba::guion().mostradas().at(0).titulo, " Aviso al operador!!! ");
}

TEST(RegistroErrores, TextoDeCadaRespuesta) {
  Registro r;
  const std::vector<std::pair<int, int>> casos = {{ui::vbAbortRetryIgnore, ui::vbIgnore},
                                                  {ui::vbYesNoCancel, ui::vbCancel},
                                                  {ui::vbYesNoCancel, ui::vbYes},
                                                  {ui::vbYesNoCancel, ui::vbNo},
                                                  {ui::vbOKOnly, ui::vbOK}};
  for (const auto& [botones, respuesta] : casos) {
    prueba::guion().esperarMensaje(respuesta);
    EXPECT_EQ(r.d.TratamientoErrores(vb::Error(5), botones, vb::Variant("R")), respuesta);
  }
  const QStringList lineas = r.leer().split(QStringLiteral("\r\n"));
  ASSERT_EQ(lineas.size(), 6);
  const QStringList finales = {"Ignorar", "Cancelar", "Sí", "No", ""};
  for (int i = 0; i < 5; ++i) EXPECT_TRUE(lineas[i].endsWith(" Respondió : " + finales[i])) << lineas[i].toStdString();
  EXPECT_EQ(lineas[5], "");
}

TEST(RegistroErrores, ErrorCeroNoMuestraNiEscribe) {
  Registro r;
  EXPECT_EQ(r.d.TratamientoErrores(vb::Error(0)), 0);
  EXPECT_TRUE(prueba::guion().mostradas().empty());
  EXPECT_FALSE(QFile::exists(r.d.gLogErr));
}

TEST(RegistroErrores, RutaPorDefectoEnLaCarpetaDelPrograma) {
  prueba::CarpetaTemporal carpeta;
  ctx::actual().setCarpetaPrograma(carpeta.ruta());
  DB_Dll d;
  EXPECT_EQ(d.rutaRegistroErrores(), carpeta.ruta() + "KVERR.LOG");
  d.setArchivoErrores(vb::Variant("/otra/ruta.log"));
  EXPECT_EQ(d.ArchivoErrores().toString(), "/otra/ruta.log");
  EXPECT_EQ(d.rutaRegistroErrores(), "/otra/ruta.log");
  d.setArchivoErrores(vb::Variant(""));
  prueba::guion().esperarMensaje(ui::vbIgnore);
  d.TratamientoErrores(vb::Error(11));
  EXPECT_TRUE(QFile::exists(carpeta.archivo("KVERR.LOG")));
}

TEST(RegistroErrores, RegistroInaccesibleNoCambiaLaRespuesta) {
  DB_Dll d;
  d.gLogErr = QStringLiteral("/no/existe/esta/carpeta/KVERR.LOG");
  prueba::guion().esperarMensaje(ui::vbIgnore);
  EXPECT_EQ(d.TratamientoErrores(vb::Error(53)), ui::vbIgnore);
}

TEST(RegistroErrores, DosProgramasEscribiendoALaVez) {
  prueba::CarpetaTemporal carpeta;
  const QString ruta = carpeta.archivo(QStringLiteral("KVERR.LOG"));
  constexpr int kLineas = 400;
  // Long lines, so that an append split in pieces would show.
  const auto linea = [](char c) { return QByteArray(3000, c) + "\r\n"; };
  std::vector<pid_t> hijos;
  for (char c : {'a', 'b'}) {
    const pid_t p = fork();
    ASSERT_GE(p, 0);
    if (p == 0) {
      for (int i = 0; i < kLineas; ++i) registro_errores::anexarLinea(ruta, linea(c));
      _exit(0);
    }
    hijos.push_back(p);
  }
  for (pid_t p : hijos) {
    int estado = 0;
    waitpid(p, &estado, 0);
    EXPECT_TRUE(WIFEXITED(estado) && WEXITSTATUS(estado) == 0);
  }
  const QByteArray todo = carpeta.leer(QStringLiteral("KVERR.LOG"));
  const QList<QByteArray> lineas = todo.split('\n');
  ASSERT_EQ(lineas.size(), 2 * kLineas + 1);
  int a = 0, b = 0;
  for (int i = 0; i < 2 * kLineas; ++i) {
    const QByteArray l = lineas[i] + '\n';
    if (l == linea('a'))
      ++a;
    else if (l == linea('b'))
      ++b;
    else
      ADD_FAILURE() << "line " << i << " is mixed";
  }
  EXPECT_EQ(a, kLineas);
  EXPECT_EQ(b, kLineas);
}
