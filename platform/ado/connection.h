#pragma once
// ADO Connection. Copies share one connection, as object references do, so
// many recordsets can work on it. The provider is chosen by the connection
// string (see docs/servidores.md):
//   "Provider=SQLOLEDB;Server=SRV;Database =EMPRESA;UId=u;Pwd=p;"
//   "Provider=OraOLEDB.Oracle.1;Data Source=ORCL;User Id=u;Password=p;"
//   "Provider=Microsoft.Jet.OLEDB.4.0;Data Source =/datos/base.mdb;"
//   no provider (or MSDASQL): the attributes go to unixODBC as they are.
// Failures raise vb::Error with the OLE DB number; the driver's diagnostics
// are in Errors().
#include <QString>
#include <functional>
#include <memory>
#include <vector>

#include "platform/ado/constantes.h"
#include "platform/ado/errors.h"
#include "platform/vb/variant.h"

namespace ado {

class Recordset;
namespace detalle {
struct ConexionImpl;
}

class Connection {
 public:
  Connection();
  explicit Connection(std::shared_ptr<detalle::ConexionImpl> impl) : impl_(std::move(impl)) {}
  ~Connection();
  Connection(const Connection&) = default;
  Connection& operator=(const Connection&) = default;

  // Connection string and user/password given here win over those set before.
  void Open(const QString& cadena = {}, const QString& usuario = {}, const QString& clave = {}, long opciones = -1);
  void Close();
  ObjectStateEnum State() const;

  // Runs every statement of the text; rows it returns are discarded.
  void Execute(const QString& sql, long& registrosAfectados, long opciones = -1);
  void Execute(const QString& sql);

  // Stops the statement running on this connection, any recordset's, at its
  // first chance: it fails with kErrorCancelada, and so does the next row of
  // a recordset that streams. Safe from the wait below and from another
  // thread; nothing happens on a closed connection.
  void Cancel();
  // Called every few hundredths of a second while a statement of this
  // connection runs (SQLite: also inside one long step, such as a sort;
  // ODBC: between rows), so a long query can keep the windows alive and call
  // Cancel(). It must not use this connection. Empty: none.
  void setEnEspera(std::function<void()> espera);

  long BeginTrans();
  void CommitTrans();
  void RollbackTrans();

  // Tables and views (20, column TABLE_NAME) or columns (4, COLUMN_NAME).
  // Restrictions: tables {catalogue, schema, table, type}, columns
  // {catalogue, schema, table, column}; Empty, Null or "" restrict nothing.
  Recordset OpenSchema(long esquema, const std::vector<vb::Variant>& restricciones = {});

  QString ConnectionString() const;
  void setConnectionString(const QString& cadena);
  long CommandTimeout() const;
  void setCommandTimeout(long segundos);
  long ConnectionTimeout() const;
  void setConnectionTimeout(long segundos);
  long IsolationLevel() const;
  void setIsolationLevel(long nivel);
  QString DefaultDatabase() const;
  void setDefaultDatabase(const QString& nombre);
  long CursorLocation() const;
  void setCursorLocation(long ubicacion);
  QString Provider() const;

  ado::Errors& errors();
  const ado::Errors& errors() const;
  // ADO spelling, for code that reads like the routines.
  ado::Errors& Errors() { return errors(); }

  // True when both refer to the same connection.
  bool mismaQue(const Connection& otra) const { return impl_ == otra.impl_; }
  std::shared_ptr<detalle::ConexionImpl> impl() const { return impl_; }

 private:
  std::shared_ptr<detalle::ConexionImpl> impl_;
};

}  // namespace ado
