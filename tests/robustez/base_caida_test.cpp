// The database goes away: its file turns unreadable under the open
// connection, as a server that stops answering, and comes back later. Through
// the users report form, loaded as the program loads it on the demo company:
// the database goes between the form's load and the report request, and
// while the report engine runs the request's query. The user is told, the
// form stays as it was, and the same request works once the database is back.
#include <gtest/gtest.h>

#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <functional>
#include <memory>

#include "data/db_dll.h"
#include "platform/ado/recordset.h"
#include "report/frmrp_usuarios.h"
#include "report/motor_programa.h"
#include "suite/lanzador.h"
#include "suite/tbarrep.h"
#include "tests/report/lote_apoyo.h"
#include "tests/services/base_prueba.h"
#include "tests/support/guion_ui.h"

namespace {

// The program's own engine; the test reads the report from a PDF file rather
// than from the preview, and can cut the database just before the engine's
// query runs.
class MotorDePrueba : public ZepaKit2::MotorReportes {
 public:
  void Emitir(ZepaKit2::SolicitudReporte& s) override {
    if (antes) antes();
    s.destino = ZepaKit2::Lanzador::DestinoArchivo();
    s.archivoDestino = pdf;
    real.Emitir(s);
  }
  std::function<void()> antes;
  QString pdf;
  rp_usuarios::MotorPrograma real;
};

class BaseQueSeVa : public ::testing::Test {
 protected:
  void SetUp() override {
    empresa.usarEnProceso();
    ctx::actual().setArgumentos({prueba::kParametrosDemo});
    motor = std::make_shared<MotorDePrueba>();
    motor->pdf = empresa.programa.archivo(QStringLiteral("reporte.pdf"));
    ZepaKit2::lanzador().setMotor(motor);  // Form_Load keeps an engine already plugged in
    form = std::make_unique<frmRp_Usuarios>();
    form->Form_Load();
    ASSERT_EQ(prueba::guion().mostradas().size(), 0u);
    QFile f(empresa.base());
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    original_ = f.readAll();
  }

  // Written over in place: the open connection keeps its file, which no
  // longer holds a database.
  void cortar() { escribirEnSuLugar(QByteArray(original_.size(), '\x5a')); }
  void volver() { escribirEnSuLugar(original_); }

  QString pedirPantalla() {
    QFile::remove(motor->pdf);
    const bool hecho = form->TBarRep1_BotonPulsado(ToolsRep::TBarRep::kPantalla);
    return hecho ? prueba::textoPdf(motor->pdf) : QString();
  }

  prueba::EmpresaDemo empresa;
  std::shared_ptr<MotorDePrueba> motor;
  std::unique_ptr<frmRp_Usuarios> form;

 private:
  void escribirEnSuLugar(const QByteArray& bytes) {
    QFile f(empresa.base());
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    ASSERT_EQ(f.write(bytes), bytes.size());
  }
  QByteArray original_;
};

TEST_F(BaseQueSeVa, EntreLaCargaYElPedido) {
  form->txtfields(14)->setText(QStringLiteral("B"));
  form->txtfields(15)->setText(QStringLiteral("J"));
  cortar();
  // The report's file is looked up in the database first: the query's error
  // dialog names what the database said; the user gives up there and in the
  // lookup's own dialog, and the launcher is left without a report file.
  QString descripcion;
  prueba::responderError(QStringLiteral("Cancelar"), QStringLiteral("AbrirRecordset"), {}, &descripcion);
  prueba::responderError(QStringLiteral("Cancelar"), QStringLiteral("NombreReporte"));
  prueba::guion().esperarMensaje(ui::vbOK, QStringLiteral("No se indicó el archivo del reporte"),
                                 QStringLiteral("Aviso al Operador"));
  EXPECT_TRUE(pedirPantalla().isEmpty());
  EXPECT_TRUE(descripcion.contains(QStringLiteral("file is not a database"))) << descripcion.toStdString();
  prueba::guion().verificar();
  // The form is as the user left it, and still running.
  EXPECT_EQ(form->txtfields(14)->text(), QStringLiteral("B"));
  EXPECT_EQ(form->txtfields(15)->text(), QStringLiteral("J"));
  EXPECT_FALSE(QFile::exists(motor->pdf));

  volver();
  const QString texto = pedirPantalla();
  EXPECT_TRUE(texto.contains(QStringLiteral("BRUNO"))) << texto.toStdString();
  EXPECT_FALSE(texto.contains(QStringLiteral("JULIAN")));
}

TEST_F(BaseQueSeVa, VuelveMientrasElDialogoDeErrorEspera) {
  cortar();
  // Back while the user reads the error: Reintentar finishes the same request.
  prueba::responderError(QStringLiteral("Reintentar"), QStringLiteral("AbrirRecordset"), [this] { volver(); });
  const QString texto = pedirPantalla();
  EXPECT_TRUE(texto.contains(QStringLiteral("Total de usuarios: 18"))) << texto.toStdString();
}

TEST_F(BaseQueSeVa, DuranteLaConsultaDelReporte) {
  motor->antes = [this] { cortar(); };
  prueba::guion().esperarMensaje(
      ui::vbOK, QStringLiteral("La base de datos rechazó la consulta del reporte: file is not a database"),
      QStringLiteral("Aviso al Operador"));
  EXPECT_TRUE(pedirPantalla().isEmpty());
  EXPECT_FALSE(QFile::exists(motor->pdf));
  const prueba::CajaMostrada caja = prueba::guion().mostradas().back();
  EXPECT_EQ(caja.botones & ui::vbCritical, ui::vbCritical);
  // The statement is folded under the message, and the error log keeps it.
  EXPECT_FALSE(caja.texto.contains(QStringLiteral("SELECT"))) << caja.texto.toStdString();
  EXPECT_TRUE(caja.detalle.startsWith(QStringLiteral("SELECT * FROM ("))) << caja.detalle.toStdString();
  QFile registro(db().rutaRegistroErrores());
  ASSERT_TRUE(registro.open(QIODevice::ReadOnly));
  EXPECT_TRUE(QString::fromUtf8(registro.readAll()).contains(QStringLiteral(" Detalle: ") + caja.detalle));

  motor->antes = {};
  volver();
  const QString texto = pedirPantalla();
  EXPECT_TRUE(texto.contains(QStringLiteral("Total de usuarios: 18"))) << texto.toStdString();
}

}  // namespace
