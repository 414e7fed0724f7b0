#pragma once
// General text and field utilities of the suite library, and its error dialog.
#include <QList>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <concepts>
#include <cstdint>
#include <optional>

#include "platform/vb/error.h"
#include "platform/vb/variant.h"

namespace ZepaKit2 {

class UtilGeneral {
 public:
  // A field value as text; Null (and Empty) read as "".
  QString ValorCampo(const vb::Variant& valor) const;
  // Anything with Value(), such as a recordset field.
  template <class Campo>
  requires requires(const Campo& c) {
    { c.Value() } -> std::convertible_to<vb::Variant>;
  }
  QString ValorCampo(const Campo& campo) const { return ValorCampo(vb::Variant(campo.Value())); }
  // The same into destino, for fields that can write their text in place (ado::Field).
  template <class Campo>
  requires requires(const Campo& c, QString& s) { c.leerTexto(s); }
  void ValorCampo(const Campo& campo, QString& destino) const { campo.leerTexto(destino); }

  // Shows the error (number, description, routine) and returns the pressed
  // button's answer code: "Reintentar" 4, "Ignorar" 5, "Cancelar" 2; Esc and
  // the close box answer 2. Without botones the dialog offers those three;
  // with a message-box button code (ui::vbAbortRetryIgnore, ...) it offers
  // the message box's buttons for it.
  int DialogoError(const vb::Error& error, std::optional<int> botones = std::nullopt, const QString& rutina = {}) const;

  // The folder ending with "/"; an empty folder stays empty, so a file name
  // appended to it stays relative to the current folder.
  QString CarpetaConBarra(const QString& carpeta) const;

  // Every occurrence of buscado replaced, ignoring case (as every text search
  // of the suite does). An empty buscado changes nothing.
  QString QuitarTexto(const QString& texto, const QString& buscado, const QString& reemplazo = {}) const;
  QString Reemplazar(const QString& texto, const QString& buscado, const QString& reemplazo) const;
  QString ReemplazarTexto(const QString& texto, const QString& buscado, const QString& reemplazo) const;

  // The text to place between the quotes of a formula or statement: NUL
  // characters dropped, blanks trimmed, then cut to largo characters when
  // given. Quotes inside are left as they are, like every value the suite
  // writes into its formulas. A negative largo is error 5.
  QString TextoFiltro(const QString& texto, std::optional<int> largo = std::nullopt) const;

  // Exactly ancho characters: a longer text is cut, a shorter one is filled
  // with blanks on the right, so that the first ancho characters of
  // "FormatoAncho(code, n) + ..." read back, trimmed, as the code itself.
  // A negative width is error 5.
  QString FormatoAncho(const QString& texto, int ancho) const;

  // Lenient readers: a text in the regional format reads whole; otherwise
  // the number at its start is taken (point as decimal separator), and a text
  // with no number gives 0. Only an amount out of range is an error (6).
  vb::Currency ValorNumerico(const QString& texto) const;
  std::int32_t ValorEntero(const QString& texto) const;  // rounded half to even

  // The formula language's date literal "Date(yyyy,mm,dd)" for a date text in
  // the regional format; a time part is dropped. Not a date: error 13.
  QString FechaFormula(const QString& fecha) const;

  // The number of words of the text (runs of characters between blanks).
  int EvaluarTexto(const QString& texto) const;

  // A pair for storing names and passwords in settings files. They obscure
  // the text (no plain text in the file), they do not encrypt it: anyone with
  // this code can read it back. The encoded form holds only 0-9 and A-F.
  // Decodificar gives back a text that is not an encoded form unchanged, so
  // a value typed into the file by hand still works.
  QString Codificar(const QString& texto) const;
  QString Decodificar(const QString& texto) const;

  // The suite look of a form: a form without a title takes the program's
  // title; centrar places it in the middle of the screen.
  void PrepararForm(QWidget* form, bool centrar = false);
  // The library keeps a list of the suite forms that are open: AbrirForm at
  // load adds the form, CerrarForm at unload removes it. The text is a note
  // kept with the form (the suite passes an empty one).
  void AbrirForm(QWidget* form, const QString& nota = {});
  void CerrarForm(QWidget* form, const QString& nota = {});
  QList<QWidget*> FormsAbiertos() const;

 private:
  struct FormAbierto {
    QPointer<QWidget> form;
    QString nota;
  };
  QList<FormAbierto> abiertos_;
};

// The single instance of the program context.
UtilGeneral& util();

}  // namespace ZepaKit2
