#pragma once
// Fields of the current record: by position, or by name ignoring case.
#include <QString>
#include <memory>
#include <vector>

#include "platform/ado/constantes.h"
#include "platform/vb/variant.h"

namespace ado {

namespace detalle {
class RecordsetImpl;
}

class Field {
 public:
  const QString& Name() const { return nombre_; }
  // The value in the current record; Null stays Null. Error 3021 when there
  // is no current record (BOF or EOF).
  vb::Variant Value() const;
  // Value() as text (Null as ""), written into destino: a read of many rows
  // that keeps one string per field reuses its memory row after row.
  void leerTexto(QString& destino) const;
  // Changes the value in the current record of an updatable recordset; the
  // change reaches the database on Update (or on a move to another record).
  void setValue(const vb::Variant& v);
  Field& operator=(const vb::Variant& v) {
    setValue(v);
    return *this;
  }
  // The value as read, before any change not yet saved.
  vb::Variant OriginalValue() const;
  DataTypeEnum Type() const { return tipo_; }
  long DefinedSize() const { return tamano_; }
  long Index() const { return indice_; }

  Field(detalle::RecordsetImpl* rs, long indice, QString nombre, DataTypeEnum tipo, long tamano)
      : rs_(rs), indice_(indice), nombre_(std::move(nombre)), tipo_(tipo), tamano_(tamano) {}
  Field(const Field&) = delete;
  Field& operator=(const Field&) = delete;

 private:
  detalle::RecordsetImpl* rs_;
  long indice_;
  QString nombre_;
  DataTypeEnum tipo_;
  long tamano_;
};

class Fields {
 public:
  long Count() const { return static_cast<long>(lista_.size()); }
  // Error 3265 when there is no field at that position or with that name.
  Field& Item(long indice) const;
  Field& Item(int indice) const { return Item(static_cast<long>(indice)); }
  Field& Item(const QString& nombre) const;
  Field& Item(const char* nombre) const { return Item(QString::fromUtf8(nombre)); }
  Field& operator[](long indice) const { return Item(indice); }
  Field& operator[](int indice) const { return Item(static_cast<long>(indice)); }
  Field& operator[](const QString& nombre) const { return Item(nombre); }
  // Position of a field by name ignoring case, or -1.
  long indiceDe(const QString& nombre) const;

  void agregar(std::unique_ptr<Field> f) { lista_.push_back(std::move(f)); }
  void vaciar() { lista_.clear(); }

 private:
  std::vector<std::unique_ptr<Field>> lista_;
};

}  // namespace ado
