// Where the program keeps its files: beside the executable in its build
// folder; installed (bin/ beside share/korvane/reportes/), in the user's
// data folder, with the shipped report files apart.
#include <gtest/gtest.h>

#include <QDir>

#include "platform/ctx/programa.h"
#include "tests/support/temp_folder.h"

namespace {

class Variable {
 public:
  Variable(const char* nombre, const QString& valor)
      : nombre_(nombre), antes_(qgetenv(nombre)), habia_(qEnvironmentVariableIsSet(nombre)) {
    qputenv(nombre, valor.toLocal8Bit());
  }
  ~Variable() {
    if (habia_)
      qputenv(nombre_, antes_);
    else
      qunsetenv(nombre_);
  }

 private:
  const char* nombre_;
  QByteArray antes_;
  bool habia_;
};

}  // namespace

TEST(Instalacion, SoloUnBinJuntoAShareKorvaneEsUnaInstalacion) {
  prueba::CarpetaTemporal raiz;
  QDir().mkpath(raiz.archivo("usr/bin"));
  QDir().mkpath(raiz.archivo("usr/share/korvane/reportes"));
  QDir().mkpath(raiz.archivo("build/release"));
  QDir().mkpath(raiz.archivo("otro/bin"));
  const Variable casa("HOME", raiz.archivo("casa"));
  {
    const Variable xdg("XDG_DATA_HOME", raiz.archivo("xdg"));
    const ctx::Instalacion i = ctx::instalacionDe(raiz.archivo("usr/bin"));
    EXPECT_EQ(i.datos, raiz.archivo("xdg/korvane/"));
    EXPECT_EQ(i.reportes, raiz.archivo("usr/share/korvane/reportes/"));
  }
  {
    // A relative XDG_DATA_HOME is ignored, as the XDG rules say.
    const Variable xdg("XDG_DATA_HOME", "relativa");
    EXPECT_EQ(ctx::instalacionDe(raiz.archivo("usr/bin")).datos, raiz.archivo("casa/.local/share/korvane/"));
  }
  for (const char* carpeta : {"build/release", "otro/bin"}) {
    const ctx::Instalacion i = ctx::instalacionDe(raiz.archivo(carpeta));
    EXPECT_TRUE(i.datos.isEmpty()) << carpeta;
    EXPECT_TRUE(i.reportes.isEmpty()) << carpeta;
  }
}
