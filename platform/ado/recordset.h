#pragma once
// ADO Recordset. A forward-only, read-only recordset on a server-side cursor
// streams its rows from the driver; any other cursor (or a client-side cursor
// location) reads all rows at Open, so RecordCount, MoveLast and going back
// work. Optimistic (3) and pessimistic (2) lock types allow AddNew / Update,
// which write to the one table the statement reads; an Update of a row that
// someone else changed since it was read fails with kErrorFilaCambiada.
#include <cstdio>
#ifdef EOF
#undef EOF  // Recordset::EOF is ADO's name; the C macro is not used here.
#endif
#include <QString>
#include <memory>
#include <vector>

#include "platform/ado/connection.h"
#include "platform/ado/field.h"

namespace ado {

namespace detalle {
class RecordsetImpl;
}

class Recordset {
 public:
  Recordset();
  ~Recordset();
  Recordset(Recordset&&) noexcept;
  Recordset& operator=(Recordset&&) noexcept;
  Recordset(const Recordset&) = delete;
  Recordset& operator=(const Recordset&) = delete;

  // A statement that returns no rows runs and leaves the recordset closed,
  // as ADO does. Error 3705 when already open.
  void Open(const QString& origen, const Connection& conexion, long tipoCursor = adOpenForwardOnly,
            long tipoBloqueo = adLockReadOnly, long opciones = -1);
  // The same with bound parameters: each "?" of the statement (outside
  // quotes) takes the next value, in order, as the driver's own parameter:
  // never written into the SQL text, so quotes and the like in a value are
  // only data. Null and Empty bind SQL NULL (compare them with IS NULL).
  // A count of values that does not match the marks is an error
  // (kErrorFaltaParametro when values are missing). Name the vector's type
  // for a single value: Open(sql, cn, std::vector<vb::Variant>{v}).
  //   rs.Open("SELECT * FROM TA_USUARIOS WHERE NOMBRE = ? AND ALTA >= ?", cn,
  //           {vb::Variant("O'Brien"), vb::Variant(desde)});
  void Open(const QString& origen, const Connection& conexion, const std::vector<vb::Variant>& parametros,
            long tipoCursor = adOpenForwardOnly, long tipoBloqueo = adLockReadOnly, long opciones = -1);
  void Close();
  ObjectStateEnum State() const;
  // Stops the recordset's statement, as Connection::Cancel does for its
  // connection (SQLite interrupts every statement of the connection).
  void Cancel();

  bool BOF() const;
  bool EOF() const;
  void MoveFirst();
  void MoveNext();
  void MovePrevious();
  void MoveLast();
  // -1 for a forward-only server-side cursor, as ADO gives.
  long RecordCount() const;
  // Up to `filas` records (all when negative) from the current one, as
  // resultado[campo][fila]; the cursor moves past them.
  std::vector<std::vector<vb::Variant>> GetRows(long filas = -1);

  void AddNew();
  void Update();
  void CancelUpdate();
  // 1 editing, 2 adding a record, 0 nothing pending (ADO's EditModeEnum).
  long EditMode() const;

  ado::Fields& fields() const;
  ado::Fields& Fields() const { return fields(); }
  Field& Fields(long indice) const { return fields().Item(indice); }
  Field& Fields(int indice) const { return fields().Item(static_cast<long>(indice)); }
  Field& Fields(const QString& nombre) const { return fields().Item(nombre); }
  Field& Fields(const char* nombre) const { return fields().Item(nombre); }

  long CursorType() const;
  long LockType() const;
  long CursorLocation() const;
  // Before Open: the location to use; by default the connection's.
  void setCursorLocation(long ubicacion);
  QString Source() const;
  Connection ActiveConnection() const;

  // Opens a recordset over rows already read (schema rowsets).
  static Recordset desdeFilas(const Connection& conexion, std::vector<QString> nombres, std::vector<DataTypeEnum> tipos,
                              std::vector<long> tamanos, std::vector<std::vector<vb::Variant>> filas);

 private:
  std::unique_ptr<detalle::RecordsetImpl> impl_;
  long ubicacion_ = 0;  // 0: the connection's
};

}  // namespace ado
