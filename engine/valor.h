#pragma once
// A value inside the report engine: what a row field, a formula constant or a
// formula result holds. Kept small and separate from vb::Variant because the
// engine handles hundreds of thousands of them per report.
#include <QDateTime>
#include <QString>
#include <variant>

namespace engine {

class Valor {
 public:
  enum class Tipo { Nulo, Logico, Numero, Texto, Fecha };

  Valor() = default;  // null
  static Valor logico(bool b) {
    Valor v;
    v.v_ = b;
    return v;
  }
  static Valor numero(double d) {
    Valor v;
    v.v_ = d;
    return v;
  }
  static Valor texto(QString s) {
    Valor v;
    v.v_ = std::move(s);
    return v;
  }
  static Valor fecha(QDateTime f) {
    Valor v;
    v.v_ = std::move(f);
    return v;
  }

  Tipo tipo() const { return static_cast<Tipo>(v_.index()); }
  bool esNulo() const { return v_.index() == 0; }
  bool comoLogico() const { return std::get<bool>(v_); }
  double comoNumero() const { return std::get<double>(v_); }
  const QString& comoTexto() const { return std::get<QString>(v_); }
  const QDateTime& comoFecha() const { return std::get<QDateTime>(v_); }

  // The text a report cell shows when no format is given.
  QString mostrar() const;

  friend bool operator==(const Valor& a, const Valor& b) { return a.v_ == b.v_; }

 private:
  std::variant<std::monostate, bool, double, QString, QDateTime> v_;
};

// Case-insensitive text order, as the database's collation compares
// (trailing blanks are significant, as they are in the formula language).
int compararTexto(const QString& a, const QString& b);

// Orders two values of the same kind; nulls sort first. Values of different
// kinds order by kind, so sorting never fails.
int compararValores(const Valor& a, const Valor& b);

// The formula language's trimming: blanks only, as the database trims.
QString recortarIzquierda(const QString& s);
QString recortarDerecha(const QString& s);

// A number the way the formula language and the report cells write it: no
// exponent, no trailing zeros, point as separator.
QString numeroComoTexto(double d);

}  // namespace engine
