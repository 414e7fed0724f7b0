#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <QDir>
#include <QFile>
#include <csignal>

#include "platform/vb/archivos.h"
#include "tests/support/numero_error.h"
#include "tests/support/temp_folder.h"

namespace {

using prueba::numeroDeError;

TEST(Archivos, ExistenciaLongitudYBorrado) {
  prueba::CarpetaTemporal dir;
  const QString a = dir.escribir(QStringLiteral("año.txt"), "hola");
  QDir().mkpath(dir.archivo(QStringLiteral("sub")));
  EXPECT_TRUE(vb::FileExists(a));
  EXPECT_FALSE(vb::FileExists(dir.archivo(QStringLiteral("sub"))));
  EXPECT_FALSE(vb::FileExists(dir.archivo(QStringLiteral("no.txt"))));
  EXPECT_FALSE(vb::FileExists(QString()));
  EXPECT_EQ(vb::FileLen(a), 4);
  EXPECT_EQ(numeroDeError([&] { vb::FileLen(dir.archivo(QStringLiteral("no.txt"))); }), vb::kFileNotFound);
  EXPECT_EQ(numeroDeError([&] { vb::Kill(dir.archivo(QStringLiteral("sub"))); }), vb::kFileNotFound);
  vb::Kill(a);
  EXPECT_FALSE(vb::FileExists(a));
  EXPECT_EQ(numeroDeError([&] { vb::Kill(a); }), vb::kFileNotFound);
}

TEST(Archivos, NameNoPisaUnArchivoExistente) {
  prueba::CarpetaTemporal dir;
  const QString a = dir.escribir(QStringLiteral("a"), "A");
  const QString b = dir.escribir(QStringLiteral("b"), "B");
  EXPECT_EQ(numeroDeError([&] { vb::Name(a, b); }), vb::kFileAlreadyExists);
  EXPECT_EQ(dir.leer(QStringLiteral("b")), QByteArray("B"));
  EXPECT_EQ(numeroDeError([&] { vb::Name(dir.archivo(QStringLiteral("x")), b); }), vb::kFileNotFound);
  EXPECT_EQ(numeroDeError([&] { vb::Name(a, dir.archivo(QStringLiteral("falta/c"))); }), vb::kPathNotFound);
  vb::Name(a, dir.archivo(QStringLiteral("c")));
  EXPECT_FALSE(vb::FileExists(a));
  EXPECT_EQ(dir.leer(QStringLiteral("c")), QByteArray("A"));
}

TEST(Archivos, LeerYAgregar) {
  prueba::CarpetaTemporal dir;
  const QString log = dir.archivo(QStringLiteral("KVERR.LOG"));
  vb::agregarArchivo(log, "uno\r\n");
  vb::agregarArchivo(log, "dos\r\n");
  EXPECT_EQ(vb::leerArchivo(log), QByteArray("uno\r\ndos\r\n"));
  EXPECT_EQ(numeroDeError([&] { vb::leerArchivo(dir.archivo(QStringLiteral("no"))); }), vb::kFileNotFound);
  EXPECT_EQ(numeroDeError([&] { vb::agregarArchivo(dir.archivo(QStringLiteral("falta/x.log")), "x"); }),
            vb::kPathNotFound);
}

TEST(Reemplazo, CambiaElContenidoEnteroYConservaPermisos) {
  prueba::CarpetaTemporal dir;
  const QString ruta = dir.escribir(QStringLiteral("consultas.qzx"), "viejo contenido largo");
  ::chmod(QFile::encodeName(ruta).constData(), 0640);
  vb::reemplazarArchivo(ruta, "nuevo");
  EXPECT_EQ(dir.leer(QStringLiteral("consultas.qzx")), QByteArray("nuevo"));
  struct stat st;
  ASSERT_EQ(::stat(QFile::encodeName(ruta).constData(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
  vb::reemplazarArchivo(dir.archivo(QStringLiteral("nuevo.aux")), "creado");
  EXPECT_EQ(dir.leer(QStringLiteral("nuevo.aux")), QByteArray("creado"));
  // Nothing is left beside the files.
  EXPECT_EQ(QDir(dir.ruta()).entryList(QDir::Files | QDir::Hidden).size(), 2);
}

TEST(Reemplazo, UnFalloDejaElArchivoViejo) {
  prueba::CarpetaTemporal dir;
  const QString ruta = dir.escribir(QStringLiteral("datos.txt"), "viejo");
  {
    vb::EscritorArchivo escritor(ruta);
    escritor.escribir("a medias");
    // Destroyed without confirming, as when a later step of the writer fails.
  }
  EXPECT_EQ(dir.leer(QStringLiteral("datos.txt")), QByteArray("viejo"));
  EXPECT_EQ(QDir(dir.ruta()).entryList(QDir::Files | QDir::Hidden).size(), 1);

  // A folder path that is a file: the folder cannot hold the new file.
  const QString bajoArchivo = ruta + QStringLiteral("/otro.txt");
  EXPECT_EQ(numeroDeError([&] { vb::reemplazarArchivo(bajoArchivo, "x"); }), vb::kPathNotFound);
  EXPECT_EQ(numeroDeError([&] { vb::reemplazarArchivo(dir.archivo(QStringLiteral("falta/x")), "x"); }),
            vb::kPathNotFound);
  // A folder in the file's place is not replaced.
  QDir().mkpath(dir.archivo(QStringLiteral("carpeta")));
  EXPECT_EQ(numeroDeError([&] { vb::reemplazarArchivo(dir.archivo(QStringLiteral("carpeta")), "x"); }),
            vb::kPathFileAccessError);
  EXPECT_TRUE(QFileInfo(dir.archivo(QStringLiteral("carpeta"))).isDir());
  EXPECT_EQ(dir.leer(QStringLiteral("datos.txt")), QByteArray("viejo"));
}

TEST(Reemplazo, EscrituraQueNoCabeDejaElViejo) {
  // A file size limit makes the write fail part way, as a full disk does.
  prueba::CarpetaTemporal dir;
  const QString ruta = dir.escribir(QStringLiteral("grande.bin"), "viejo");
  struct rlimit antes;
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &antes), 0);
  auto senal = std::signal(SIGXFSZ, SIG_IGN);
  struct rlimit limite = antes;
  limite.rlim_cur = 4;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limite), 0);
  const long numero = numeroDeError([&] { vb::reemplazarArchivo(ruta, "un contenido más largo"); });
  ::setrlimit(RLIMIT_FSIZE, &antes);
  std::signal(SIGXFSZ, senal);
  EXPECT_EQ(numero, vb::kDiskFull);
  EXPECT_EQ(dir.leer(QStringLiteral("grande.bin")), QByteArray("viejo"));
  EXPECT_EQ(QDir(dir.ruta()).entryList(QDir::Files | QDir::Hidden).size(), 1);
  EXPECT_EQ(vb::errorDeSistema(EACCES).Number(), vb::kPermissionDenied);
}

}  // namespace
