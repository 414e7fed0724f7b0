#pragma once
// The connection's Errors collection: one entry per driver diagnostic of the
// last failing operation (and the warnings of the last one that succeeded).
#include <QString>
#include <vector>

#include "platform/ado/constantes.h"

namespace ado {

class Error {
 public:
  Error() = default;
  Error(long numero, QString descripcion, QString origen, QString estadoSql, long nativo)
      : numero_(numero),
        descripcion_(std::move(descripcion)),
        origen_(std::move(origen)),
        estadoSql_(std::move(estadoSql)),
        nativo_(nativo) {}

  long Number() const { return numero_; }
  const QString& Description() const { return descripcion_; }
  const QString& Source() const { return origen_; }
  const QString& SQLState() const { return estadoSql_; }
  long NativeError() const { return nativo_; }

 private:
  long numero_ = 0;
  QString descripcion_;
  QString origen_;
  QString estadoSql_;
  long nativo_ = 0;
};

class Errors {
 public:
  long Count() const { return static_cast<long>(lista_.size()); }
  // Error 3265 for a position outside 0..Count-1.
  const Error& Item(long indice) const;
  const Error& Item(int indice) const { return Item(static_cast<long>(indice)); }
  const Error& operator[](long indice) const { return Item(indice); }
  void Clear() { lista_.clear(); }

  void agregar(Error e) { lista_.push_back(std::move(e)); }
  auto begin() const { return lista_.begin(); }
  auto end() const { return lista_.end(); }

 private:
  std::vector<Error> lista_;
};

// The OLE DB number a SQL state stands for: 23xxx integrity, 42S02 no such
// table, 42xxx / 37000 statement errors, anything else the general failure.
long numeroPorEstado(const QString& estadoSql);

}  // namespace ado
