// The built program printing through CUPS in batch mode: onto the private
// service's default cups-pdf queue, whose job is read back; and with no
// service at all, a clear message and exit status 1.
#include <gtest/gtest.h>

#include "tests/report/lote_apoyo.h"
#include "tests/support/cups.h"

TEST(ExtremoImpresion, ElLoteImprimeEnLaColaPredeterminada) {
  KV_REQUIERE_CUPS();
  prueba::EmpresaDemo empresa;
  const QStringList antes = prueba::trabajosCups();
  const auto c = prueba::correr(empresa, {prueba::kParametrosDemo, QStringLiteral("--agrupar=unidad"),
                                          QStringLiteral("--unidades=0002"), QStringLiteral("--destino=impresora")});
  ASSERT_EQ(c.estado, 0) << c.errores.toStdString();
  EXPECT_EQ(c.salida, QStringLiteral("Reporte enviado a la impresora\n"));
  const QString trabajo = prueba::esperarTrabajoCups(antes, QStringLiteral("Usuarios por Unidad de Negocio"));
  ASSERT_FALSE(trabajo.isEmpty());
  const QString texto = prueba::textoPdf(trabajo);
  EXPECT_EQ(texto.count(QLatin1Char('\f')), 1) << texto.toStdString();
  EXPECT_TRUE(texto.contains(QStringLiteral("Usuarios por Unidad de Negocio")));
  EXPECT_TRUE(texto.contains(QStringLiteral("Unidad de Negocio: 0002 - Sucursal Rosario")));
  EXPECT_TRUE(texto.contains(QStringLiteral("Página 1 de 1")));
  EXPECT_EQ(prueba::primerasPalabras(texto, prueba::kUsuariosDemo),
            (QSet<QString>{QStringLiteral("BRUNO"), QStringLiteral("HORACIO"), QStringLiteral("MUÑOZ"),
                           QStringLiteral("NICOLAS")}));
}

TEST(ExtremoImpresion, SinServicioDeImpresionFallaConMensaje) {
  prueba::EmpresaDemo empresa;
  // A socket nobody listens on: the service is stopped.
  const QString socket = empresa.config.archivo(QStringLiteral("cups.sock"));
  const auto c = prueba::correr(empresa, {prueba::kParametrosDemo, QStringLiteral("--destino=impresora")}, 60000,
                                {{QStringLiteral("CUPS_SERVER"), socket}});
  EXPECT_EQ(c.estado, 1);
  EXPECT_TRUE(c.errores.contains(
      QStringLiteral("No se puede imprimir: el servicio de impresión (CUPS) no responde en ") + socket))
      << c.errores.toStdString();
  EXPECT_TRUE(c.salida.isEmpty()) << c.salida.toStdString();
}
