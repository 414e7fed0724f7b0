#pragma once
// The users schema the provider tests build their SQLite files from.
#include "tests/support/base_sqlite.h"

namespace prueba {

// The users table and a view over it, as the suite's schema declares them.
inline const char* kEsquemaUsuarios = R"(
CREATE TABLE TA_USUARIOS (
  CODIGO INTEGER PRIMARY KEY,
  NOMBRE VARCHAR(30) COLLATE NOCASE NOT NULL UNIQUE,
  GRUPO CHAR(4) COLLATE NOCASE,
  Administrador SMALLINT DEFAULT 0,
  SALDO MONEY,
  TASA REAL,
  ACTIVO BIT,
  ALTA DATETIME,
  NOTAS TEXT COLLATE NOCASE);
INSERT INTO TA_USUARIOS VALUES (1, 'ANA', 'ADM', 1, 10.5, 0.25, 1, '2024-01-15 08:30:00', NULL);
INSERT INTO TA_USUARIOS VALUES (2, 'beto', 'VEN', 0, NULL, NULL, 0, '2024-03-01 00:00:00', 'ñandú');
INSERT INTO TA_USUARIOS VALUES (3, 'Carla', 'VEN', 0, 3, 1.5, 1, NULL, 'Ñandú');
CREATE VIEW V_TA_ACTIVOS AS SELECT CODIGO, NOMBRE FROM TA_USUARIOS WHERE ACTIVO = 1;
CREATE TABLE TA_CONFIGURACION (Grupo VARCHAR(20) COLLATE NOCASE, Clave VARCHAR(50) COLLATE NOCASE,
  Valor VARCHAR(255) COLLATE NOCASE, ValorAux VARCHAR(255) COLLATE NOCASE DEFAULT 'AUX', PoliticaNegocio BIT DEFAULT 0);
INSERT INTO TA_CONFIGURACION VALUES ('DATOS', 'RUTA', 'C:\x', NULL, 0);
)";

}  // namespace prueba
