#include "tests/data/base_prueba.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QFile>

#include "data/db_dll.h"
#include "platform/ado/recordset.h"
#include "platform/ctx/programa.h"

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

BaseSuite::BaseSuite(const QString& n) : nombre(n) {
  ctx::actual().setCarpetaConfiguracion(carpeta.ruta());
  carpeta.escribir(QStringLiteral("CN000pr.INI"),
                   (QStringLiteral("[Servidores]\r\nLOCAL=sqlite:") + carpeta.ruta() + QStringLiteral("\r\n")).toUtf8());
  crear(nombre, kEsquemaSuite);
}

void BaseSuite::crear(const QString& n, const char* sql) const { ejecutar(n, sql); }

void BaseSuite::ejecutar(const QString& n, const char* sql) const {
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(QFile::encodeName(archivo(n)).constData(), &db), SQLITE_OK);
  char* error = nullptr;
  const int rc = sqlite3_exec(db, sql, nullptr, nullptr, &error);
  EXPECT_EQ(rc, SQLITE_OK) << (error ? error : "");
  sqlite3_free(error);
  sqlite3_close(db);
}

void BaseSuite::agregarIni(const QString& lineas) const {
  QFile f(carpeta.archivo(QStringLiteral("CN000pr.INI")));
  ASSERT_TRUE(f.open(QIODevice::Append));
  f.write(lineas.toUtf8());
}

void BaseSuite::conectar(DB_Dll& d, const QString& usuario, bool validaAdmin) const {
  d.gServidor = QStringLiteral("LOCAL");
  d.gDBName = nombre;
  d.gUsuario = usuario;
  d.gUserPassWord = QStringLiteral("clave");
  d.OpenServerADODB(false, 3, QString(), validaAdmin);
  ASSERT_TRUE(d.gOpenFlag);
  ASSERT_EQ(d.gCnn.State(), ado::adStateOpen);
}

long BaseSuite::contar(const char* sql) {
  ado::Recordset rs;
  rs.Open(QString::fromUtf8(sql), db().gCnn);
  return rs.Fields(0).Value().toLong();
}

}  // namespace prueba
