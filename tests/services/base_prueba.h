#pragma once
// A real SQLite database reached the way the program reaches a server: a
// settings folder whose CN000pr.INI names the server alias "sqlite:<folder>",
// and the database file <folder>/<base>.db built from an SQL script. Also the
// scripted answers to the error dialog. Header-only, so the start-up tests
// can share it.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <functional>
#include <source_location>

#include "data/db_dll.h"
#include "platform/ctx/programa.h"
#include "tests/support/base_sqlite.h"
#include "tests/support/datos/conexion.h"
#include "tests/support/guion_ui.h"
#include "tests/support/temp_folder.h"

namespace prueba {

// The tables the services read, as the suite declares them.
inline const char* const kEsquemaSuite = R"(
CREATE TABLE TA_CONFIGURACION (
  Grupo TEXT COLLATE NOCASE, Clave TEXT COLLATE NOCASE, Valor TEXT COLLATE NOCASE,
  ValorAux TEXT COLLATE NOCASE DEFAULT 'AUXDEF', PoliticaNegocio INTEGER DEFAULT 0);
CREATE TABLE TA_USUARIOS (
  Nombre TEXT COLLATE NOCASE, UNegocio TEXT COLLATE NOCASE, VerProforma INTEGER,
  Administrador INTEGER DEFAULT 0, EsGrupo INTEGER DEFAULT 0);
CREATE TABLE TA_REPORTES (
  NOMBRE TEXT COLLATE NOCASE, Archivo TEXT COLLATE NOCASE, Archivo2 TEXT COLLATE NOCASE,
  Archivo3 TEXT COLLATE NOCASE, Archivo4 TEXT COLLATE NOCASE);
CREATE TABLE TA_CPTE (Codigo TEXT COLLATE NOCASE, SISTEMA TEXT COLLATE NOCASE);
CREATE VIEW V_TA_CPTE AS SELECT Codigo, SISTEMA FROM TA_CPTE;
)";

class BasePrueba {
 public:
  explicit BasePrueba(const char* esquema = kEsquemaSuite, QString base = QStringLiteral("EMPRESA"))
      : config_("[Servidores]\nSRVPRUEBA=sqlite:" + datos_.ruta().toUtf8() + "\n"), base_(std::move(base)) {
    if (esquema) ejecutar(esquema);
  }

  QString servidor() const { return QStringLiteral("SRVPRUEBA"); }
  const QString& base() const { return base_; }
  QString archivo() const { return datos_.archivo(base_ + QStringLiteral(".db")); }
  const CarpetaTemporal& config() const { return config_.carpeta(); }

  // Adds lines (sections and keys) to the settings file.
  void agregarIni(const QString& lineas) const { config_.agregar((lineas + QStringLiteral("\n")).toUtf8()); }

  // Runs a script on the file directly (creating it), as another program
  // or user would.
  void ejecutar(const char* sql) const { crearBase(archivo(), sql); }
  void ejecutar(const QString& sql) const { ejecutar(sql.toUtf8().constData()); }

  // The rows of a query read directly, each row its columns joined by "|"
  // (NULL written as "<null>").
  QStringList filas(const char* sql) const {
    QStringList r;
    sqlite3* h = nullptr;
    if (sqlite3_open(archivo().toUtf8().constData(), &h) != SQLITE_OK) return r;
    sqlite3_stmt* st = nullptr;
    EXPECT_EQ(sqlite3_prepare_v2(h, sql, -1, &st, nullptr), SQLITE_OK) << sqlite3_errmsg(h);
    while (st && sqlite3_step(st) == SQLITE_ROW) {
      QStringList cols;
      for (int i = 0; i < sqlite3_column_count(st); ++i) {
        const auto* t = sqlite3_column_text(st, i);
        cols << (t ? QString::fromUtf8(reinterpret_cast<const char*>(t)) : QStringLiteral("<null>"));
      }
      r << cols.join(QLatin1Char('|'));
    }
    sqlite3_finalize(st);
    sqlite3_close(h);
    return r;
  }

  // Opens the program's connection on the database, without the access dialog.
  void conectar() const {
    conectarSinDialogo(db(), servidor(), base_, QStringLiteral("ADMIN"), QStringLiteral("x"), false);
  }

 private:
  CarpetaTemporal datos_;
  Servidores config_;
  QString base_;
};

// The next error dialog is answered with the button `boton` ("Reintentar",
// "Ignorar", "Cancelar"); its routine must be `rutina`. `antes`, when given,
// runs while the dialog is up (another user acting meanwhile).
inline void responderError(const QString& boton, const QString& rutina, std::function<void()> antes = {},
                           QString* descripcion = nullptr,
                           std::source_location donde = std::source_location::current()) {
  guion().esperarModal(
      [=](QDialog& d) {
        auto* r = d.findChild<QLabel*>(QStringLiteral("lblRutina"));
        EXPECT_TRUE(r && r->text().contains(rutina))
            << "rutina: " << (r ? r->text().toStdString() : "ninguna") << " en vez de " << rutina.toStdString();
        if (descripcion) {
          auto* l = d.findChild<QLabel*>(QStringLiteral("lblDescripcion"));
          *descripcion = l ? l->text() : QString();
        }
        if (antes) antes();
        auto* b = d.findChild<QPushButton*>(QStringLiteral("cmd") + boton);
        ASSERT_NE(b, nullptr) << boton.toStdString();
        QTest::mouseClick(b, Qt::LeftButton);
      },
      QStringLiteral("frmDialogoError"), donde);
}

}  // namespace prueba
