#pragma once
// What the objects need of a driver. Each provider (sqlite/, odbc/) turns
// the program's SQL and its own diagnostics into these calls; nothing above
// this header knows which driver is underneath.
#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "platform/ado/constantes.h"
#include "platform/ado/errors.h"
#include "platform/vb/variant.h"

namespace ado::detalle {

struct Columna {
  QString nombre;
  DataTypeEnum tipo = adVarWChar;
  long tamano = 0;
  QString tablaBase;    // table the value comes from; empty for expressions or when unknown
  QString columnaBase;  // its column in that table
};

// A running statement that delivers its rows forward, one at a time.
class Cursor {
 public:
  virtual ~Cursor() = default;
  virtual const std::vector<Columna>& columnas() const = 0;
  // Moves to the next row; false once past the last one.
  virtual bool siguiente() = 0;
  // Column i of the current row, as the program sees it.
  virtual vb::Variant valor(int i) = 0;
  // Column i as stored, for comparing in an optimistic update.
  virtual vb::Variant crudo(int i) { return valor(i); }
  // Column i as the text valor(i).toText() gives, written into destino in
  // the memory it already has; false where the cursor cannot do it more
  // cheaply than through valor(i).
  virtual bool texto(int /*i*/, QString& /*destino*/) { return false; }
};

struct TablaEsquema {
  QString catalogo, esquema, nombre, tipo;  // tipo: "TABLE", "VIEW", "SYSTEM TABLE"
};

struct ColumnaEsquema {
  QString catalogo, esquema, tabla, nombre;
  long ordinal = 0;
  bool tieneDefecto = false;
  vb::Variant defecto = vb::Variant::Null();
  bool admiteNulos = true;
  DataTypeEnum tipo = adVarWChar;
  long tamano = 0;
};

// An open session with a driver. Failures fill the Errors collection it was
// given and raise vb::Error (see fallar()).
class Enlace {
 public:
  virtual ~Enlace() = default;
  virtual QString proveedor() const = 0;
  // The program's SQL (SQL Server dialect). nullptr when the statement
  // returns no rows; it has then run completely. Each "?" outside quotes
  // takes the next of `parametros`, bound by the driver, never written into
  // the text; a count that does not match the marks is an error.
  virtual std::unique_ptr<Cursor> consultar(const QString& sql, const std::vector<vb::Variant>& parametros = {}) = 0;
  // Every statement of the text; the records affected, -1 when none reports any.
  virtual long ejecutar(const QString& sql) = 0;
  // One statement already in the driver's dialect, "?" for each parameter.
  // When it affects other than exactly one row it is undone; the count is returned.
  virtual long escribirFila(const QString& sql, const std::vector<vb::Variant>& parametros) = 0;
  // The row just inserted into `tabla` by escribirFila, when the driver can find it.
  virtual std::unique_ptr<Cursor> releerInsertada(const QString& tabla, const std::vector<QString>& columnas) {
    (void)tabla;
    (void)columnas;
    return nullptr;
  }
  // The value as escribirFila stores it, so that it compares equal to crudo() later.
  virtual vb::Variant normalizar(const vb::Variant& v) const { return v; }
  // Appended after "col = ?" when comparing values for an optimistic update.
  virtual QString comparacionExacta() const { return {}; }

  virtual void iniciarTransaccion() = 0;
  virtual void confirmar() = 0;
  virtual void deshacer() = 0;

  // Stops the statement running on this session at its first chance; it
  // then fails with kErrorCancelada, and so does the next row of a statement
  // open between rows. Safe from the wait below and from another thread.
  virtual void cancelar() = 0;
  // Called every few hundredths of a second while the driver works on a
  // statement (SQLite: throughout, also inside one long step; ODBC: between
  // rows), so a long statement keeps the program's windows alive. It may
  // process window events and call cancelar(), never use this session.
  virtual void setEnEspera(std::function<void()> espera) = 0;

  virtual void setTiempoComando(long segundos) = 0;
  virtual void setAislamiento(long nivel) = 0;
  virtual QString baseDatos() const = 0;
  virtual void setBaseDatos(const QString& nombre) = 0;

  virtual std::vector<TablaEsquema> tablas() = 0;
  // Columns of one table, or of all when `tabla` is empty.
  virtual std::vector<ColumnaEsquema> columnas(const QString& tabla) = 0;
};

// Replaces the collection with the diagnostics and raises the first as a
// run-time error. An empty list raises the general failure with `sinDetalle`.
[[noreturn]] void fallar(Errors& errores, std::vector<Error> diagnosticos, const QString& sinDetalle = {});
// A run-time error of our own with one entry in the collection.
[[noreturn]] void fallarCon(Errors& errores, long numero, const QString& descripcion, const QString& origen,
                            const QString& estadoSql = {}, long nativo = 0);

}  // namespace ado::detalle
