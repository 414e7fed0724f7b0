#pragma once
// Connection strings read as ADO reads them: "key=value" pairs separated by
// ";", keys ignoring case, blanks around keys, values and "=" allowed,
// values optionally quoted ("..." or '...', a doubled quote inside) or in
// braces ({...}, kept with the braces, as ODBC drivers want them).
#include <QString>
#include <initializer_list>
#include <utility>
#include <vector>

namespace ado::detalle {

class CadenaConexion {
 public:
  // Error kErrorCadenaConexion when a piece has no "=" or a quote is not closed.
  static CadenaConexion analizar(const QString& texto);

  // The value of the first of the keys present (the last occurrence of that key), or "".
  QString valor(std::initializer_list<const char*> claves) const;
  bool tiene(std::initializer_list<const char*> claves) const;
  const std::vector<std::pair<QString, QString>>& pares() const { return pares_; }
  // The pairs written back "key=value;", leaving out the keys given.
  QString sin(std::initializer_list<const char*> claves) const;

 private:
  std::vector<std::pair<QString, QString>> pares_;
};

}  // namespace ado::detalle
