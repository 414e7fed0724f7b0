// The batch mode of the built program, run as a process as a script or a
// scheduler runs it: the exact request of --solicitud, the messages and exit
// statuses of what cannot be done, --help, and a real PDF.
#include <gtest/gtest.h>

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

}  // namespace
