#pragma once
// The users report form on a real SQLite database reached through a server
// alias, loaded the way the program loads it (command line, session start-up,
// units, icons and menu tree), with a launcher engine that records each
// request instead of showing it.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QTest>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/vb/error.h"
#include "report/frmrp_usuarios.h"
#include "suite/lanzador.h"
#include "tests/services/base_prueba.h"
#include "tests/support/temp_folder.h"

namespace prueba {

// The suite tables plus the menu and the business units.
inline std::string esquemaReporteUsuarios() {
  return std::string(kEsquemaSuite) + R"(
CREATE TABLE TA_MENU (
  MENU TEXT COLLATE NOCASE, HABILITADO INTEGER, CLAVE TEXT COLLATE NOCASE, Titulo TEXT COLLATE NOCASE,
  Nombre TEXT COLLATE NOCASE, Imagen TEXT COLLATE NOCASE, Proceso TEXT COLLATE NOCASE);
CREATE TABLE TA_UNIDADNEGOCIO (Codigo TEXT COLLATE NOCASE, Descripcion TEXT COLLATE NOCASE);
CREATE VIEW V_TA_UNIDADNEGOCIO AS SELECT Codigo, Descripcion FROM TA_UNIDADNEGOCIO;
INSERT INTO TA_USUARIOS (Nombre, UNegocio, Administrador, EsGrupo) VALUES ('ADMIN', '0001', 1, 0);
INSERT INTO TA_MENU VALUES ('ZEPA', 1, 'D10', '', 'Seguridad', 'Seguridad', '');
INSERT INTO TA_MENU VALUES ('ZEPA', 1, 'D1010', 'D10', 'Usuarios', 'Usuarios', 'USU');
INSERT INTO TA_MENU VALUES ('ZEPA', 1, 'D101010', 'D1010', 'Alta de usuarios', 'UnUsuario', 'USU01');
INSERT INTO TA_MENU VALUES ('ZEPA', 1, 'D1020', 'D10', 'Reporte de usuarios', 'ReporteUsuarios', 'RPU');
INSERT INTO TA_MENU VALUES ('ZEPA', 1, 'D20', '', 'Tablas', 'Tablas', '');
INSERT INTO TA_MENU VALUES ('ZEPA', 1, 'D2010', 'D20', 'Comprobantes', 'Comprobantes', 'CPT');
)";
}

// Records every request; raises `falla` after recording it, when set.
class MotorGrabador : public ZepaKit2::MotorReportes {
 public:
  void Emitir(ZepaKit2::SolicitudReporte& s) override {
    pedidos.push_back(s);
    if (falla) throw *falla;
  }
  std::vector<ZepaKit2::SolicitudReporte> pedidos;
  std::optional<vb::Error> falla;
};

class FormPrueba : public ::testing::Test {
 protected:
  explicit FormPrueba(bool conUnidades = true) : base(esquemaReporteUsuarios().c_str()) {
    if (conUnidades)
      base.ejecutar(
          "INSERT INTO TA_UNIDADNEGOCIO VALUES ('0003', 'Depósito'), ('0001', 'Casa Central'), "
          "(NULL, 'Sin código'), ('7', 'Sucursal'), ('0002', NULL)");
    ctx::actual().setCarpetaPrograma(programa.ruta());
    ctx::actual().setArgumentos({QStringLiteral("@server=SRVPRUEBA; @dbname=EMPRESA; @usuario=ADMIN; @Password=x;")});
    for (const char* r : {"RP_Usuarios_Grupos", "RP_Usuarios_UNEG", "RP_Usuarios_TAREAS"})
      programa.escribir(QString::fromLatin1(r) + QStringLiteral(".rpt"), "{}");
    motor = std::make_shared<MotorGrabador>();
    ZepaKit2::lanzador().setMotor(motor);
  }

  // Loads the form; fails the test when the load raised anything.
  void cargar() {
    form = std::make_unique<frmRp_Usuarios>();
    try {
      form->Form_Load();
    } catch (const vb::Error& e) {
      FAIL() << "Form_Load: " << e.Description().toStdString();
    } catch (const ui::FinPrograma&) {
      FAIL() << "Form_Load ended the program";
    }
  }
  // Shows the form and waits until it is the active window, so that focus
  // moves as it does for a person.
  void mostrar() {
    form->show();
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
  }

  CarpetaTemporal programa;
  BasePrueba base;
  std::shared_ptr<MotorGrabador> motor;
  std::unique_ptr<frmRp_Usuarios> form;
};

}  // namespace prueba
