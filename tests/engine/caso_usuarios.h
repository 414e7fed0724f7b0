#pragma once
// Shared by the engine tests of whole requests: a users table of seven rows
// (and `extra` more, 40 to a group) in a real SQLite file, and the users
// report grouped by group over it, to PDF.
#include <QByteArray>
#include <QString>

#include "engine/motor.h"
#include "tests/engine/apoyo.h"
#include "tests/support/temp_folder.h"

namespace prueba {

inline QByteArray baseUsuarios(int extra = 0) {
  QByteArray s =
      "BEGIN;\n"
      "CREATE TABLE TA_USUARIOS (NOMBRE VARCHAR(20) COLLATE NOCASE, GRUPO VARCHAR(20) COLLATE NOCASE,"
      " UNEGOCIO CHAR(4) COLLATE NOCASE, ESGRUPO BIT, ALTA DATETIME, SUELDO FLOAT);\n"
      "INSERT INTO TA_USUARIOS VALUES ('ana', 'VENTAS', '0001', 0, '2024-01-05 00:00:00', 1500.5),"
      " ('beto', 'VENTAS', '0003', 0, '2024-02-01 00:00:00', 900),"
      " ('carla', 'ADMIN', '0001', 0, '2024-03-10 00:00:00', 2000),"
      " ('dario', 'ADMIN', '0002', 0, '2024-03-11 00:00:00', 10),"
      " ('VENTAS', NULL, '0001', 1, NULL, NULL),"
      " ('elena', 'ventas', '0003', 0, '2024-04-01 00:00:00', 300),"
      " ('O''Brien', 'ADMIN', '0003', 0, '2024-04-02 00:00:00', 5);\n";
  if (extra > 0)
    s += "INSERT INTO TA_USUARIOS WITH RECURSIVE c(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM c WHERE i < " +
         QByteArray::number(extra - 1) +
         ") SELECT printf('u%05d', i), printf('G%03d', i / 40), '0001', 0, '2024-01-01 00:00:00', i FROM c;\n";
  return s + "COMMIT;\n";
}

inline const char* kReporte = R"({
  "titulo": "Usuarios por Grupo",
  "consulta": "SELECT NOMBRE, GRUPO, UNEGOCIO, ESGRUPO, ALTA, SUELDO FROM TA_USUARIOS",
  "campos": { "Ta_usuarios.nombre": "NOMBRE" },
  "orden": ["NOMBRE"],
  "grupos": [ { "campo": "GRUPO", "encabezado": "Grupo: {GRUPO}", "pie": "Usuarios del grupo: {cuenta}" } ],
  "columnas": [
    { "campo": "NOMBRE", "titulo": "Usuario", "ancho": 50 },
    { "campo": "UNEGOCIO", "titulo": "Unidad", "ancho": 20, "alineacion": "centro" },
    { "campo": "ALTA", "titulo": "Alta", "ancho": 30, "formato": "dd/MM/yyyy" },
    { "campo": "SUELDO", "titulo": "Sueldo", "ancho": 30, "formato": "0.00" }
  ],
  "formulas": { "Parametros": "", "Nombreempresa": "Korvane SA" },
  "pie": "{Nombreempresa}",
  "final": "Total de usuarios: {cuenta}"
})";

struct Caso {
  CarpetaTemporal carpeta;
  QString base, reporte;
  ado::Connection cn;

  explicit Caso(int extra = 0, const QByteArray& reporteTexto = kReporte) {
    base = crearBase(carpeta.archivo("empresa.db"), baseUsuarios(extra));
    reporte = carpeta.escribir("RP_Usuarios_Grupos.rpt", reporteTexto);
    cn = abrirBase(base);
  }

  engine::SolicitudReporte solicitud(const QString& formula = {}) const {
    engine::SolicitudReporte s;
    s.archivo = reporte;
    s.formula = formula;
    s.conexion = "DSN_QUE_NO_EXISTE";
    s.conexionAbierta = cn;
    s.asignaciones = {"Parametros = ' U.Neg.:0001-0003'", "", "", "", ""};
    s.destino = engine::Destino::Pdf;
    s.archivoPdf = carpeta.archivo("salida.pdf");
    s.opcionC = false;
    return s;
  }
};

}  // namespace prueba
