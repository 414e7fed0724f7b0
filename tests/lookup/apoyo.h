#pragma once
// A real SQLite database with the tables the lookups read, the program
// folder in a temporary folder (mask and width files), and the service.
#include <gtest/gtest.h>

#include <QDialog>
#include <QLineEdit>
#include <QTest>
#include <QTreeView>
#include <string>

#include "lookup/lib_clscons3.h"
#include "lookup/lib_frmcons3.h"
#include "platform/ctx/programa.h"
#include "services/mascaras.h"
#include "tests/services/base_prueba.h"
#include "tests/support/guion_ui.h"
#include "tests/support/temp_folder.h"

namespace prueba {

inline const std::string& esquemaConsultas() {
  static const std::string s = std::string(kEsquemaSuite) + R"(
CREATE TABLE TA_ZONAS (ID INTEGER, CODIGO VARCHAR(10) COLLATE NOCASE, NOMBRE VARCHAR(30) COLLATE NOCASE, PRECIO REAL);
INSERT INTO TA_ZONAS VALUES (1, '01', 'Norte', 1.5), (2, '02', 'Sur', 2), (3, '12', 'Este', 3), (4, '120', 'Oeste', 4);
CREATE TABLE SOLO_ID (ID INTEGER);
CREATE TABLE VT_CLIENTES (CODIGO VARCHAR(10) COLLATE NOCASE, NOMBRE VARCHAR(200) COLLATE NOCASE,
  ZONA INTEGER, Dada_De_Baja INTEGER);
INSERT INTO VT_CLIENTES VALUES ('A01', 'Alvarez', 3, 0), ('A02', 'Benitez', 3, 0), ('B10', 'Bermudez', 1, 0),
  ('O1', 'O''Brien', 2, 0), ('C5', 'Castro', 1, 1), ('A0', 'Arce', 1, 0);
CREATE TABLE VT_MA_ARTICULOS (IDARTICULO VARCHAR(20) COLLATE NOCASE, DESCRIPCION VARCHAR(60) COLLATE NOCASE,
  PUNTOPEDIDO REAL, Stock REAL, SUSPENDIDO INTEGER, PRECIO1 REAL);
INSERT INTO VT_MA_ARTICULOS VALUES ('ART1', 'Tornillo', 10, 10, 0, 1), ('ART2', 'Tuerca', 10, 11, 0, 2),
  ('ART3', 'Arandela', 10, 9, 0, 3), ('ART4', 'Clavo', 0, 5, 0, 4);
CREATE TABLE V_MV_FALTANTES (FechaHora TEXT, IdArticulo TEXT, Descripcion TEXT, Usuario TEXT);
CREATE TABLE PLAN (CODIGO VARCHAR(20) COLLATE NOCASE, DESCRIPCION VARCHAR(40) COLLATE NOCASE);
CREATE TABLE TA_CCOSTO (CODIGO VARCHAR(20) COLLATE NOCASE, DESCRIPCION VARCHAR(40) COLLATE NOCASE);
CREATE TABLE MA_CUENTAS (CODIGO VARCHAR(20) COLLATE NOCASE, DESCRIPCION VARCHAR(40) COLLATE NOCASE);
CREATE TABLE MA_POSICIONES (IDPOSICION VARCHAR(20) COLLATE NOCASE, DESCRIPCION VARCHAR(40) COLLATE NOCASE);
)";
  return s;
}

class Consultas : public ::testing::Test {
 protected:
  Consultas() : base(esquemaConsultas().c_str()) {
    ctx::actual().setCarpetaPrograma(programa.ruta() + QStringLiteral("/"));
  }
  void SetUp() override { base.conectar(); }

  void cfg(const QString& clave, const QString& valor) {
    base.ejecutar(QStringLiteral("INSERT INTO TA_CONFIGURACION (Grupo, Clave, Valor) VALUES ('DATOS', '%1', '%2')")
                      .arg(clave, valor));
  }
  QString mascaras() const { return programa.archivo(QStringLiteral("consultas.qzx")); }
  void escribirMascaras(const QByteArray& registros) const {
    programa.escribir(QStringLiteral("consultas.qzx"), registros);
  }

  // Shows the dialog through the UI service and runs `guion` on it.
  template <class D, class F>
  void mostrar(D& dialogo, F guion) {
    prueba::guion().esperarModal([&](QDialog&) { guion(); });
    ui::servicio().MostrarModal(dialogo);
  }

  BasePrueba base;
  CarpetaTemporal programa;
};

}  // namespace prueba
