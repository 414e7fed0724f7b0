#include "platform/ado/field.h"

#include "platform/ado/recordset_impl.h"
#include "platform/vb/error.h"

namespace ado {

vb::Variant Field::Value() const { return rs_->valor(indice_); }
void Field::leerTexto(QString& destino) const { rs_->texto(indice_, destino); }
void Field::setValue(const vb::Variant& v) { rs_->asignar(indice_, v); }
vb::Variant Field::OriginalValue() const { return rs_->valorOriginal(indice_); }

namespace {
[[noreturn]] void noEncontrado() {
  throw vb::Error(kErrorElementoNoEncontrado,
                  QStringLiteral("No se encontró el elemento en la colección que corresponde al nombre o al "
                                 "ordinal solicitado."),
                  QStringLiteral("ADODB.Fields"));
}
}  // namespace

Field& Fields::Item(long indice) const {
  if (indice < 0 || indice >= Count()) noEncontrado();
  return *lista_[static_cast<size_t>(indice)];
}

long Fields::indiceDe(const QString& nombre) const {
  // A short linear search beats hashing a case-folded copy of the name.
  const QString buscado = nombre.trimmed();
  for (size_t i = 0; i < lista_.size(); ++i)
    if (lista_[i]->Name().compare(buscado, Qt::CaseInsensitive) == 0) return static_cast<long>(i);
  return -1;
}

Field& Fields::Item(const QString& nombre) const {
  const long i = indiceDe(nombre);
  if (i < 0) noEncontrado();
  return *lista_[static_cast<size_t>(i)];
}

}  // namespace ado
