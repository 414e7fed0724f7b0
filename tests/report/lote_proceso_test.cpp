// The batch mode of the built program, run as a process as a script or a
// scheduler runs it: the exact request of --solicitud, the messages and exit
// statuses of what cannot be done, --help, and a real PDF.
#include <gtest/gtest.h>

#include <sqlite3.h>

#include <QFile>
#include <QFileInfo>

#include "tests/report/lote_apoyo.h"

namespace {

using prueba::correr;

QString carpetaPrograma() { return QFileInfo(prueba::ejecutable()).canonicalPath() + QLatin1Char('/'); }

QString nombre(const char* n) { return QStringLiteral("TrimLeft(TrimRight({Ta_usuarios.nombre})) ") + QString::fromUtf8(n); }

class LoteProceso : public ::testing::Test {
 protected:
  prueba::EmpresaDemo empresa;
};

TEST_F(LoteProceso, SolicitudExacta) {
  {
    const auto c = correr(empresa, {prueba::kParametrosDemo, QStringLiteral("--desde=ANA"), QStringLiteral("--hasta=MARTIN"),
                                    QStringLiteral("--unidades=0001,0003"), QStringLiteral("--agrupar=unidad"),
                                    QStringLiteral("--solicitud")});
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
    const auto c = correr(empresa, {prueba::kParametrosDemo, QStringLiteral("--tareas=D30"), QStringLiteral("--solicitud")});
    EXPECT_EQ(c.estado, 0) << c.errores.toStdString();
    EXPECT_TRUE(c.salida.startsWith(QStringLiteral("Reporte: ") + carpetaPrograma() + QStringLiteral("RP_Usuarios_Grupos.rpt\n") +
                                    QStringLiteral("Formula: {Ta_usuarios.esgrupo}=FALSE\n")))
        << c.salida.toStdString();
  }
}

TEST_F(LoteProceso, LoQueNoSePuedeHacerTerminaConMensajeYEstado) {
  {
    const auto c = correr(empresa, {prueba::kParametrosDemo, QStringLiteral("--unidades=0001,0099"), QStringLiteral("--solicitud")});
    EXPECT_EQ(c.estado, 1);
    EXPECT_TRUE(c.errores.contains(QStringLiteral("Aviso al Operador: No existe la unidad de negocio 0099 [Aceptar]")))
        << c.errores.toStdString();
    EXPECT_TRUE(c.salida.isEmpty()) << c.salida.toStdString();
  }
  {
    const auto c = correr(empresa, {prueba::kParametrosDemo, QStringLiteral("--agrupar=tarea"), QStringLiteral("--tareas=D30,D31")});
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
  EXPECT_TRUE(mal.errores.contains(QStringLiteral("--agrupar admite grupo, unidad o tarea"))) << mal.errores.toStdString();
  const auto desconocida = correr(empresa, {prueba::kParametrosDemo, QStringLiteral("--unidad=0001")});
  EXPECT_EQ(desconocida.estado, 2);
  EXPECT_TRUE(desconocida.errores.contains(QStringLiteral("Opción desconocida: --unidad=0001")));
}

TEST_F(LoteProceso, EscribeElPdfYDiceDonde) {
  const QString pdf = empresa.datos.archivo(QStringLiteral("usuarios rosario.pdf"));
  const auto c = correr(empresa, {prueba::kParametrosDemo, QStringLiteral("--agrupar=unidad"), QStringLiteral("--unidades=0002"),
                                  QStringLiteral("--destino=pdf:") + pdf});
  EXPECT_EQ(c.estado, 0) << c.errores.toStdString();
  EXPECT_EQ(c.salida, QStringLiteral("Reporte escrito en %1\n").arg(pdf));
  const QString texto = prueba::textoPdf(pdf);
  EXPECT_EQ(prueba::primerasPalabras(texto, prueba::kUsuariosDemo),
            (QSet<QString>{QStringLiteral("BRUNO"), QStringLiteral("HORACIO"), QStringLiteral("MUÑOZ"), QStringLiteral("NICOLAS")}))
      << texto.toStdString();
  EXPECT_TRUE(texto.contains(QStringLiteral("Unidad de Negocio: 0002 - Sucursal Rosario")));
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
  const auto c = correr(empresa, {QStringLiteral("@Server=DEMO;@DbName=KORVANE;@Usuario=ADMIN;@Password=V_TA_UNIDADNEGOCIO"),
                                  QStringLiteral("--solicitud"), QStringLiteral("--registro=") + registro});
  EXPECT_EQ(c.estado, 0) << c.errores.toStdString();
  QFile archivo(registro);
  ASSERT_TRUE(archivo.open(QIODevice::ReadOnly));
  const QString traza = QString::fromUtf8(archivo.readAll());
  EXPECT_TRUE(traza.contains(QStringLiteral(" korvane.data: AbrirRecordset: error -2147217865, no such table: *** "
                                            "(ado.SQLite): respuesta 2: se deja la rutina\n")))
      << traza.toStdString();
  EXPECT_FALSE(traza.contains(QStringLiteral("V_TA_UNIDADNEGOCIO"), Qt::CaseInsensitive)) << traza.toStdString();
  // A link in the trace file's place is refused, not followed.
  QFile::remove(registro);
  ASSERT_TRUE(QFile::link(empresa.datos.archivo(QStringLiteral("otro")), registro));
  const auto enlace = correr(empresa, {prueba::kParametrosDemo, QStringLiteral("--solicitud"), QStringLiteral("--registro=") + registro});
  EXPECT_EQ(enlace.estado, 2);
  EXPECT_TRUE(enlace.errores.contains(QStringLiteral("No se puede escribir el registro en ") + registro)) << enlace.errores.toStdString();
  EXPECT_FALSE(QFile::exists(empresa.datos.archivo(QStringLiteral("otro"))));
}

}  // namespace
