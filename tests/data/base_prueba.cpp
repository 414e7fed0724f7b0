#include "tests/data/base_prueba.h"

#include "data/db_dll.h"
#include "platform/ado/recordset.h"
#include "tests/support/datos/conexion.h"

namespace prueba {

const char* const kEsquemaSuite = R"(
CREATE TABLE TA_USUARIOS (nombre VARCHAR(30) COLLATE NOCASE PRIMARY KEY, Administrador INT, Activo INT);
INSERT INTO TA_USUARIOS VALUES ('U1', 1, 1), ('U2', 0, 1), (' U3 ', NULL, 0), ('O''Brien', 0, 1);
CREATE TABLE MA_CUENTAS (Codigo VARCHAR(10) COLLATE NOCASE, Nombre VARCHAR(40) COLLATE NOCASE);
INSERT INTO MA_CUENTAS VALUES ('100', 'Caja'), ('200', 'Bancos');
CREATE TABLE SS_MA_CUENTAS (Codigo VARCHAR(10) COLLATE NOCASE, Nombre VARCHAR(40) COLLATE NOCASE);
INSERT INTO SS_MA_CUENTAS VALUES ('100', 'Caja restringida');
CREATE TABLE TA_NUMEROS (Codigo INT PRIMARY KEY, Importe REAL, Texto VARCHAR(20) COLLATE NOCASE);
INSERT INTO TA_NUMEROS VALUES (3, 1.5, 'tres'), (7, 2.25, ''), (12, -4, NULL);
CREATE TABLE TA_VACIA (Codigo INT);
)";

BaseSuite::BaseSuite(const QString& n)
    : nombre(n), servidores_("[Servidores]\r\nLOCAL=sqlite:" + carpeta.ruta().toUtf8() + "\r\n") {
  ejecutar(nombre, kEsquemaSuite);
}

void BaseSuite::ejecutar(const QString& n, const char* sql) const { crearBase(archivo(n), sql); }

void BaseSuite::conectar(DB_Dll& d, const QString& usuario, bool validaAdmin) const {
  conectarSinDialogo(d, QStringLiteral("LOCAL"), nombre, usuario, QStringLiteral("clave"), validaAdmin);
}

long BaseSuite::contar(const char* sql) {
  ado::Recordset rs;
  rs.Open(QString::fromUtf8(sql), db().gCnn);
  return rs.Fields(0).Value().toLong();
}

}  // namespace prueba
