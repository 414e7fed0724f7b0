// The batch mode of the built program, run as a process as a script or a
// scheduler runs it: the exact request of --solicitud, the messages and exit
// statuses of what cannot be done, --help, and a real PDF.
#include <gtest/gtest.h>

#include <sqlite3.h>
#include <sys/stat.h>

#include <QFile>
#include <QFileInfo>
#include <utility>

#include "tests/report/lote_apoyo.h"

namespace {

using prueba::correr;

QString carpetaPrograma() { return QFileInfo(prueba::ejecutable()).canonicalPath() + QLatin1Char('/'); }

QString nombre(const char* n) {
  return QStringLiteral("TrimLeft(TrimRight({Ta_usuarios.nombre})) ") + QString::fromUtf8(n);
}

class LoteProceso : public ::testing::Test {
 protected:
  prueba::EmpresaDemo empresa;
};

TEST_F(LoteProceso, SolicitudExacta) {
  {
    const auto c = correr(empresa, {prueba::kParametrosDemo, QStringLiteral("--desde=ANA"),
                                    QStringLiteral("--hasta=MARTIN"), QStringLiteral("--unidades=0001,0003"),
                                    QStringLiteral("--agrupar=unidad"), QStringLiteral("--solicitud")});
    EXPECT_EQ(c.estado, 0) << c.errores.toStdString();
    EXPECT_EQ(c.salida, QStringLiteral("Reporte: ") + carpetaPrograma() + QStringLiteral("RP_Usuarios_UNEG.rpt\n") +
                            QStringLiteral("Formula: ") + nombre(">= 'ANA'  AND ") + nombre("<= 'MARTIN'  AND ") +
                            QStringLiteral("{Ta_usuarios.esgrupo}=FALSE AND ({TA_USUARIOS.UNEGOCIO} = '0001'  OR "
                                           "{TA_USUARIOS.UNEGOCIO} = '0003' ) \n"
                                           "Parametro1: Parametros = ' U.Neg.:0001-0003'\n"
                                           "Parametro2: \nParametro3: \nParametro4: \nParametro5: \n"));
    EXPECT_FALSE(c.errores.contains(QStringLiteral(" ["))) << c.errores.toStdString();  // no message box
  }
  {
    // A module ticked as a click ticks it with its direct children.
    const auto c = correr(empresa, {prueba::kParametrosDemo, QStringLiteral("--agrupar=tarea"),
                                    QStringLiteral("--tareas=D30,d4020"), QStringLiteral("--solicitud")});
    EXPECT_EQ(c.estado, 0) << c.errores.toStdString();
    QString tareas;
    for (const char* t : {"D30", "D3010", "D3020", "D3030", "D4020", "D402010", "D402020"})
      tareas += (tareas.isEmpty() ? QStringLiteral(" AND (") : QStringLiteral(" OR ")) +
                QStringLiteral("{TA_MENU.CLAVE} = '%1' ").arg(QString::fromLatin1(t));
    EXPECT_EQ(c.salida, QStringLiteral("Reporte: ") + carpetaPrograma() + QStringLiteral("RP_Usuarios_TAREAS.rpt\n") +
                            QStringLiteral("Formula: {Ta_usuarios.esgrupo}=FALSE") + tareas + QStringLiteral(") \n") +
                            QStringLiteral("Parametro1: Parametros = ''\n"
                                           "Parametro2: \nParametro3: \nParametro4: \nParametro5: \n"));
  }
  {
    // Ticked tasks count only for the task grouping.
    const auto c =
        correr(empresa, {prueba::kParametrosDemo, QStringLiteral("--tareas=D30"), QStringLiteral("--solicitud")});
    EXPECT_EQ(c.estado, 0) << c.errores.toStdString();
    EXPECT_TRUE(c.salida.startsWith(QStringLiteral("Reporte: ") + carpetaPrograma() +
                                    QStringLiteral("RP_Usuarios_Grupos.rpt\n") +
                                    QStringLiteral("Formula: {Ta_usuarios.esgrupo}=FALSE\n")))
        << c.salida.toStdString();
  }
}

TEST_F(LoteProceso, LoQueNoSePuedeHacerTerminaConMensajeYEstado) {
  {
    const auto c = correr(
        empresa, {prueba::kParametrosDemo, QStringLiteral("--unidades=0001,0099"), QStringLiteral("--solicitud")});
    EXPECT_EQ(c.estado, 1);
    EXPECT_TRUE(c.errores.contains(QStringLiteral("Aviso al Operador: No existe la unidad de negocio 0099 [Aceptar]")))
        << c.errores.toStdString();
    EXPECT_TRUE(c.salida.isEmpty()) << c.salida.toStdString();
  }
  {
    const auto c = correr(
        empresa, {prueba::kParametrosDemo, QStringLiteral("--agrupar=tarea"), QStringLiteral("--tareas=D30,D31")});
    EXPECT_EQ(c.estado, 1);
    EXPECT_TRUE(c.errores.contains(QStringLiteral("No existe la tarea del menú D31"))) << c.errores.toStdString();
    EXPECT_TRUE(c.salida.isEmpty()) << c.salida.toStdString();
  }
  {
    // The connection's error box takes No: no retry, the program ends.
    const auto c = correr(empresa, {QStringLiteral("@Server=DEMO;@DbName=NOEXISTE;@Usuario=ADMIN;@Password=x"),
                                    QStringLiteral("--solicitud")});
    EXPECT_EQ(c.estado, 1);
    EXPECT_TRUE(c.errores.contains(QStringLiteral("Error de Conexion a Base de Datos"))) << c.errores.toStdString();
    EXPECT_TRUE(c.errores.contains(QStringLiteral("[No]"))) << c.errores.toStdString();
    EXPECT_TRUE(c.salida.isEmpty()) << c.salida.toStdString();
  }
  {
    const auto c = correr(empresa, {prueba::kParametrosDemo, QStringLiteral("--destino=pantalla")});
    EXPECT_EQ(c.estado, 2);
    EXPECT_TRUE(c.errores.contains(QStringLiteral("--destino=pdf:ARCHIVO"))) << c.errores.toStdString();
  }
}

TEST_F(LoteProceso, AyudaYOpcionesMalEscritas) {
  const auto ayuda = correr(empresa, {QStringLiteral("--help")});
  EXPECT_EQ(ayuda.estado, 0);
  for (const char* o : {"--desde=NOMBRE --hasta=NOMBRE", "--unidades=0001,0003", "--tareas=D30,D4020",
                        "--agrupar=grupo|unidad|tarea", "--destino=pantalla|impresora|pdf:ARCHIVO", "--solicitud"})
    EXPECT_TRUE(ayuda.salida.contains(QString::fromLatin1(o))) << o;
  const auto mal = correr(empresa, {prueba::kParametrosDemo, QStringLiteral("--agrupar=mes")});
  EXPECT_EQ(mal.estado, 2);
  EXPECT_TRUE(mal.errores.contains(QStringLiteral("--agrupar admite grupo, unidad o tarea")))
      << mal.errores.toStdString();
  const auto desconocida = correr(empresa, {prueba::kParametrosDemo, QStringLiteral("--unidad=0001")});
  EXPECT_EQ(desconocida.estado, 2);
  EXPECT_TRUE(desconocida.errores.contains(QStringLiteral("Opción desconocida: --unidad=0001")));
  // Mistyped options, a second parameter text and names the field cannot
  // take whole are refused, not run as a report of every user.
  const std::pair<QString, QString> casos[] = {
      {QStringLiteral("-desde=ANA"), QStringLiteral("Opción desconocida: -desde=ANA")},
      {QStringLiteral("\u2014desde=ANA"), QStringLiteral("Opción desconocida: \u2014desde=ANA")},
      {QStringLiteral("@server=OTRO;@DbName=X"),
       QStringLiteral("Sobra el texto \"@server=OTRO;@DbName=X\": @server ya estaba")},
      {QStringLiteral("--hasta=ANA\nZ"), QStringLiteral("--hasta no admite saltos de línea")},
      {QStringLiteral("--desde=") + QString(31, u'A'), QStringLiteral("--desde admite hasta 30 caracteres")},
  };
  for (const auto& [opcion, dice] : casos) {
    const auto c = correr(empresa, {prueba::kParametrosDemo, opcion, QStringLiteral("--solicitud")});
    EXPECT_EQ(c.estado, 2) << opcion.toStdString();
    EXPECT_TRUE(c.errores.contains(dice)) << c.errores.toStdString();
    EXPECT_TRUE(c.salida.isEmpty()) << c.salida.toStdString();
  }
}

// Without a usable server the console answers the access dialog: the run
// ends with 1, as documented, and not with a signal when the program ends.
TEST_F(LoteProceso, SinServidorElAccesoSeCancelaYTerminaConUno) {
  for (const QStringList& argumentos :
       {QStringList{QStringLiteral("--solicitud")},
        QStringList{QStringLiteral("@DbName=KORVANE;@Usuario=ADMIN"), QStringLiteral("--agrupar=unidad")}}) {
    const auto c = correr(empresa, argumentos);
    EXPECT_EQ(c.estado, 1) << c.errores.toStdString();
    EXPECT_TRUE(c.errores.contains(QStringLiteral("Control de Acceso: frmAcceso [Cancelar]")))
        << c.errores.toStdString();
    EXPECT_TRUE(c.salida.isEmpty()) << c.salida.toStdString();
  }
}

// An error dialog answered by the console says what the person would have
// read on it: the number, the description and the routine.
TEST_F(LoteProceso, ElDialogoDeErrorDiceNumeroDescripcionYRutina) {
  sqlite3* base = nullptr;
  ASSERT_EQ(sqlite3_open(QFile::encodeName(empresa.base()).constData(), &base), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(base, "DROP TABLE TA_REPORTES", nullptr, nullptr, nullptr), SQLITE_OK);
  sqlite3_close(base);
  const auto c =
      correr(empresa, {prueba::kParametrosDemo, QStringLiteral("--destino=pdf:") + empresa.datos.archivo("u.pdf")});
  EXPECT_EQ(c.estado, 1);
  EXPECT_TRUE(
      c.errores.contains(QStringLiteral("Aviso al Operador: Número de error: -2147217865; Descripción: no such "
                                        "table: TA_REPORTES; Rutina: AbrirRecordset; Origen: ado.SQLite [Cancelar]\n")))
      << c.errores.toStdString();
  EXPECT_TRUE(c.errores.contains(QStringLiteral("; Rutina: NombreReporte$"))) << c.errores.toStdString();
  EXPECT_FALSE(c.errores.contains(QStringLiteral("frmDialogoError"))) << c.errores.toStdString();
}

// A unit code is the list entry's first four characters, blanks included:
// the suite pads its codes ("   7"), and so does the table.
TEST_F(LoteProceso, LaUnidadConBlancosSeleccionaASusUsuarios) {
  sqlite3* base = nullptr;
  ASSERT_EQ(sqlite3_open(QFile::encodeName(empresa.base()).constData(), &base), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(base,
                         "INSERT INTO TA_UNIDADNEGOCIO (Codigo, Descripcion) VALUES ('   7', 'Sucursal Siete');"
                         "INSERT INTO TA_USUARIOS (Nombre, Grupo, UNegocio) VALUES ('ZULEMA', 'VENTAS', '   7');",
                         nullptr, nullptr, nullptr),
            SQLITE_OK);
  sqlite3_close(base);
  const QString pdf = empresa.datos.archivo(QStringLiteral("siete.pdf"));
  const auto c = correr(empresa, {prueba::kParametrosDemo, QStringLiteral("--agrupar=unidad"),
                                  QStringLiteral("--unidades=7"), QStringLiteral("--destino=pdf:") + pdf});
  EXPECT_EQ(c.estado, 0) << c.errores.toStdString();
  const QString texto = prueba::textoPdf(pdf);
  EXPECT_TRUE(texto.contains(QStringLiteral("ZULEMA"))) << texto.toStdString();
  EXPECT_TRUE(texto.contains(QStringLiteral("Total de usuarios: 1"))) << texto.toStdString();
}

// A database name is a file of the alias's folder, never one reached from it.
TEST_F(LoteProceso, UnaBaseFueraDeLaCarpetaDelAliasSeRechaza) {
  prueba::CarpetaTemporal otra;
  demo::crearBaseDemo(otra.archivo(QStringLiteral("KORVANE.db")));
  const QString relativa = QDir(empresa.datos.ruta()).relativeFilePath(otra.archivo(QStringLiteral("KORVANE")));
  for (const QString& nombre : {relativa, QString(relativa).replace(u'/', u'\\')}) {
    const auto c = correr(empresa, {QStringLiteral("@Server=DEMO;@DbName=%1;@Usuario=ADMIN;@Password=demo").arg(nombre),
                                    QStringLiteral("--solicitud")});
    EXPECT_EQ(c.estado, 1);
    EXPECT_TRUE(c.errores.contains(QStringLiteral("el nombre de una base de datos no lleva carpetas")))
        << c.errores.toStdString();
    EXPECT_TRUE(c.salida.isEmpty()) << c.salida.toStdString();
  }
}

TEST_F(LoteProceso, EscribeElPdfYDiceDonde) {
  const QString pdf = empresa.datos.archivo(QStringLiteral("usuarios rosario.pdf"));
  const auto c = correr(empresa, {prueba::kParametrosDemo, QStringLiteral("--agrupar=unidad"),
                                  QStringLiteral("--unidades=0002"), QStringLiteral("--destino=pdf:") + pdf});
  EXPECT_EQ(c.estado, 0) << c.errores.toStdString();
  EXPECT_EQ(c.salida, QStringLiteral("Reporte escrito en %1\n").arg(pdf));
  const QString texto = prueba::textoPdf(pdf);
  EXPECT_EQ(prueba::primerasPalabras(texto, prueba::kUsuariosDemo),
            (QSet<QString>{QStringLiteral("BRUNO"), QStringLiteral("HORACIO"), QStringLiteral("MUÑOZ"),
                           QStringLiteral("NICOLAS")}))
      << texto.toStdString();
  EXPECT_TRUE(texto.contains(QStringLiteral("Unidad de Negocio: 0002 - Sucursal Rosario")));
}

// The PDF goes where only the user can write, under a name nobody could
// guess; a target that is not a regular file is refused and left as it is,
// and a file replaced keeps its mode.
TEST_F(LoteProceso, ElPdfVaDondeSoloEscribeElUsuarioYSoloReemplazaArchivos) {
  const auto modo = [](const QString& ruta) {
    struct stat st {};
    return ::lstat(QFile::encodeName(ruta).constData(), &st) == 0 ? st.st_mode : mode_t(0);
  };
  const QRegularExpression escrito(
      QStringLiteral("^Reporte escrito en (.*/)(Reporte de Usuarios-[A-Za-z0-9]{6}\\.pdf)\n$"));
  const QStringList porOmision{prueba::kParametrosDemo, QStringLiteral("--agrupar=unidad")};
  {
    // No private runtime folder: a folder of its own in the temporary folder.
    prueba::CarpetaTemporal temporal;
    const auto c = correr(empresa, porOmision, 60000,
                          {{QStringLiteral("TMPDIR"), temporal.ruta()}, {QStringLiteral("XDG_RUNTIME_DIR"), {}}});
    EXPECT_EQ(c.estado, 0) << c.errores.toStdString();
    const auto m = escrito.match(c.salida);
    ASSERT_TRUE(m.hasMatch()) << c.salida.toStdString();
    EXPECT_EQ(QFileInfo(QDir::cleanPath(m.captured(1))).path(), QDir::cleanPath(temporal.ruta()));
    EXPECT_EQ(modo(m.captured(1)) & 07777, mode_t(0700));
    EXPECT_TRUE(prueba::textoPdf(m.captured(1) + m.captured(2)).contains(QStringLiteral("MUÑOZ")));
  }
  {
    prueba::CarpetaTemporal propia;
    ::chmod(QFile::encodeName(propia.ruta()).constData(), 0700);
    const auto c = correr(empresa, porOmision, 60000, {{QStringLiteral("XDG_RUNTIME_DIR"), propia.ruta()}});
    EXPECT_EQ(c.estado, 0) << c.errores.toStdString();
    const auto m = escrito.match(c.salida);
    ASSERT_TRUE(m.hasMatch()) << c.salida.toStdString();
    EXPECT_EQ(QDir::cleanPath(m.captured(1)), QDir::cleanPath(propia.ruta()));
  }
  const QString ajeno = empresa.datos.escribir(QStringLiteral("ajeno.txt"), "de otro");
  const QString enlace = empresa.datos.archivo(QStringLiteral("enlace.pdf"));
  ASSERT_TRUE(QFile::link(ajeno, enlace));
  const QString tuberia = empresa.datos.archivo(QStringLiteral("tuberia.pdf"));
  ASSERT_EQ(::mkfifo(QFile::encodeName(tuberia).constData(), 0600), 0);
  for (const auto& [destino, hay] :
       {std::pair{enlace, QStringLiteral("un enlace")}, std::pair{tuberia, QStringLiteral("una tubería")}}) {
    const mode_t antes = modo(destino);
    const auto c = correr(empresa, {prueba::kParametrosDemo, QStringLiteral("--destino=pdf:") + destino});
    EXPECT_EQ(c.estado, 1);
    EXPECT_TRUE(c.errores.contains(
        QStringLiteral("No se puede escribir el archivo PDF %1: en su lugar hay %2, no un archivo común")
            .arg(destino, hay)))
        << c.errores.toStdString();
    EXPECT_EQ(modo(destino), antes);
  }
  EXPECT_EQ(empresa.datos.leer(QStringLiteral("ajeno.txt")), QByteArray("de otro"));
  const QString viejo = empresa.datos.escribir(QStringLiteral("viejo.pdf"), "%PDF-1.4 de ayer");
  ::chmod(QFile::encodeName(viejo).constData(), 0640);
  const auto c = correr(empresa, {prueba::kParametrosDemo, QStringLiteral("--destino=pdf:") + viejo});
  EXPECT_EQ(c.estado, 0) << c.errores.toStdString();
  EXPECT_EQ(modo(viejo) & 07777, mode_t(0640));
  EXPECT_TRUE(prueba::textoPdf(viejo).contains(QStringLiteral("MUÑOZ")));
}

// A view the form reads is missing: the program answers its own error dialog
// and goes on; the trace says which routine met which error. The password is
// the missing view's name, so it stands in the error text: the trace masks it.
TEST_F(LoteProceso, ElRegistroAnotaLosErroresTratadosYNingunaClave) {
  sqlite3* base = nullptr;
  ASSERT_EQ(sqlite3_open(QFile::encodeName(empresa.base()).constData(), &base), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(base, "DROP VIEW V_TA_UNIDADNEGOCIO", nullptr, nullptr, nullptr), SQLITE_OK);
  sqlite3_close(base);
  const QString registro = empresa.datos.archivo(QStringLiteral("traza.log"));
  const auto c =
      correr(empresa, {QStringLiteral("@Server=DEMO;@DbName=KORVANE;@Usuario=ADMIN;@Password=V_TA_UNIDADNEGOCIO"),
                       QStringLiteral("--solicitud"), QStringLiteral("--registro=") + registro});
  EXPECT_EQ(c.estado, 0) << c.errores.toStdString();
  QFile archivo(registro);
  ASSERT_TRUE(archivo.open(QIODevice::ReadOnly));
  const QString traza = QString::fromUtf8(archivo.readAll());
  EXPECT_TRUE(
      traza.contains(QStringLiteral(" korvane.data: AbrirRecordset: error -2147217865, no such table: *** "
                                    "(ado.SQLite): respuesta 2: se deja la rutina\n")))
      << traza.toStdString();
  EXPECT_FALSE(traza.contains(QStringLiteral("V_TA_UNIDADNEGOCIO"), Qt::CaseInsensitive)) << traza.toStdString();
  // A link in the trace file's place is refused, not followed.
  QFile::remove(registro);
  ASSERT_TRUE(QFile::link(empresa.datos.archivo(QStringLiteral("otro")), registro));
  const auto enlace = correr(
      empresa, {prueba::kParametrosDemo, QStringLiteral("--solicitud"), QStringLiteral("--registro=") + registro});
  EXPECT_EQ(enlace.estado, 2);
  EXPECT_TRUE(enlace.errores.contains(QStringLiteral("No se puede escribir el registro en ") + registro))
      << enlace.errores.toStdString();
  EXPECT_FALSE(QFile::exists(empresa.datos.archivo(QStringLiteral("otro"))));
}

}  // namespace
