#pragma once
// Suite databases for the data tests: real SQLite files in a temporary
// folder, reached as the server alias LOCAL of the settings file.
#include <QString>

#include "tests/support/base_sqlite.h"
#include "tests/support/temp_folder.h"

class DB_Dll;

namespace prueba {

// Users U1 (administrator), U2, " U3 " and O'Brien; MA_CUENTAS with its
// restricted synonym SS_MA_CUENTAS holding other rows; TA_NUMEROS.
extern const char* const kEsquemaSuite;

class BaseSuite {
 public:
  // Creates `nombre`.db with the suite schema in `carpeta`, which the
  // settings file of the current context names as the server alias LOCAL.
  explicit BaseSuite(const QString& nombre = QStringLiteral("EMPRESA"));

  // Runs SQL on a database file of the folder directly, behind the
  // program's back, creating the file when it is not there.
  void ejecutar(const QString& nombre, const char* sql) const;

  // Fills the connection fields and opens without the dialog.
  void conectar(DB_Dll& d, const QString& usuario = QStringLiteral("U1"), bool validaAdmin = true) const;

  // The first column of the first row of `sql`, run on the program's
  // connection, as a number (a COUNT(*), typically).
  static long contar(const char* sql);

  QString archivo(const QString& nombre) const { return carpeta.archivo(nombre + QStringLiteral(".db")); }

  CarpetaTemporal carpeta;
  QString nombre;

 private:
  Servidores servidores_;
};

}  // namespace prueba
