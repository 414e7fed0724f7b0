#include "suite/util_general.h"

#include <QRegularExpression>
#include <QStringDecoder>
#include <QWidget>

#include "platform/ctx/programa.h"
#include "platform/ui/servicio.h"
#include "platform/vb/convert.h"
#include "platform/vb/dates.h"
#include "suite/ventana_error.h"

namespace ZepaKit2 {

namespace {

QString reemplazarSinCaso(const QString& texto, const QString& buscado, const QString& reemplazo) {
  if (buscado.isEmpty()) return texto;
  QString r = texto;
  r.replace(buscado, reemplazo, Qt::CaseInsensitive);
  return r;
}

// A regional number reads whole; anything else as Val reads it.
double leerNumero(const QString& texto) {
  const QString limpio = texto.trimmed();
  if (limpio.isEmpty()) return 0;
  if (vb::IsNumeric(limpio)) return vb::CDbl(vb::Variant(limpio));
  return vb::Val(limpio);
}

// Key stream of Codificar; changing it makes stored values unreadable.
constexpr unsigned char kClave[] = {0x4B, 0x93, 0x2E, 0xD1, 0x67, 0xA5, 0x18, 0xFC, 0x3A, 0x8E, 0x51, 0xC7};
constexpr int kLargoClave = sizeof kClave;

unsigned char sumaControl(const QByteArray& bytes) {
  unsigned int suma = static_cast<unsigned int>(bytes.size());
  for (char c : bytes) suma = suma * 31u + static_cast<unsigned char>(c);
  return static_cast<unsigned char>((suma ^ (suma >> 8) ^ 0x5Au) & 0xFFu);
}

}  // namespace

QString UtilGeneral::ValorCampo(const vb::Variant& valor) const { return valor.toText(); }

int UtilGeneral::DialogoError(const vb::Error& error, std::optional<int> botones, const QString& rutina) const {
  VentanaError ventana(error, botones.value_or(-1), rutina);
  ui::servicio().MostrarModal(ventana);
  return ventana.respuesta();
}

QString UtilGeneral::CarpetaConBarra(const QString& carpeta) const {
  QString c = carpeta.trimmed();
  if (c.isEmpty() || c.endsWith(QLatin1Char('/'))) return c;
  return c + QLatin1Char('/');
}

QString UtilGeneral::QuitarTexto(const QString& texto, const QString& buscado, const QString& reemplazo) const {
  return reemplazarSinCaso(texto, buscado, reemplazo);
}

QString UtilGeneral::Reemplazar(const QString& texto, const QString& buscado, const QString& reemplazo) const {
  return reemplazarSinCaso(texto, buscado, reemplazo);
}

QString UtilGeneral::ReemplazarTexto(const QString& texto, const QString& buscado, const QString& reemplazo) const {
  return reemplazarSinCaso(texto, buscado, reemplazo);
}

QString UtilGeneral::TextoFiltro(const QString& texto, std::optional<int> largo) const {
  if (largo && *largo < 0) throw vb::Error(vb::kInvalidProcedureCall, {}, QStringLiteral("TextoFiltro"));
  QString r = texto;
  r.remove(QChar(0));
  r = r.trimmed();
  if (largo) r.truncate(*largo);
  return r;
}

QString UtilGeneral::FormatoAncho(const QString& texto, int ancho) const {
  if (ancho < 0) throw vb::Error(vb::kInvalidProcedureCall, {}, QStringLiteral("FormatoAncho"));
  return texto.left(ancho).leftJustified(ancho, QLatin1Char(' '));
}

vb::Currency UtilGeneral::ValorNumerico(const QString& texto) const {
  const QString limpio = texto.trimmed();
  if (limpio.isEmpty()) return {};
  // CCur keeps every decimal of a regional text exactly.
  if (vb::IsNumeric(limpio)) return vb::CCur(vb::Variant(limpio));
  return vb::redondearMoneda(vb::Val(limpio));
}

std::int32_t UtilGeneral::ValorEntero(const QString& texto) const { return vb::redondearLargo(leerNumero(texto)); }

QString UtilGeneral::FechaFormula(const QString& fecha) const {
  // The same reading as IsDate, so a text that passed that check converts.
  const std::optional<QDateTime> leida = vb::leerFecha(fecha.trimmed());
  if (!leida) throw vb::Error(vb::kTypeMismatch, {}, QStringLiteral("FechaFormula"));
  const QDate dia = leida->date().isValid() ? leida->date() : QDate(1899, 12, 30);
  return QStringLiteral("Date(%1,%2,%3)")
      .arg(dia.year(), 4, 10, QLatin1Char('0'))
      .arg(dia.month(), 2, 10, QLatin1Char('0'))
      .arg(dia.day(), 2, 10, QLatin1Char('0'));
}

int UtilGeneral::EvaluarTexto(const QString& texto) const {
  static const QRegularExpression blancos(QStringLiteral("\\s+"));
  return static_cast<int>(texto.split(blancos, Qt::SkipEmptyParts).size());
}

QString UtilGeneral::Codificar(const QString& texto) const {
  if (texto.isEmpty()) return {};
  const QByteArray plano = texto.toUtf8();
  QByteArray cifrado;
  cifrado.reserve(plano.size() + 1);
  unsigned char anterior = sumaControl(plano) ^ kClave[0];
  cifrado.append(static_cast<char>(anterior));
  // Each byte is chained to the one before it, so repeated letters do not
  // show as repeated pairs.
  for (qsizetype i = 0; i < plano.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(plano[i]) ^ kClave[(i + 1) % kLargoClave] ^ anterior;
    cifrado.append(static_cast<char>(c));
    anterior = c;
  }
  return QString::fromLatin1(cifrado.toHex().toUpper());
}

QString UtilGeneral::Decodificar(const QString& texto) const {
  static const QRegularExpression hexadecimal(QStringLiteral("^(?:[0-9A-Fa-f]{2}){2,}$"));
  if (!hexadecimal.match(texto).hasMatch()) return texto;
  const QByteArray cifrado = QByteArray::fromHex(texto.toLatin1());
  QByteArray plano;
  plano.reserve(cifrado.size() - 1);
  for (qsizetype i = 1; i < cifrado.size(); ++i) {
    const unsigned char c =
        static_cast<unsigned char>(cifrado[i]) ^ kClave[i % kLargoClave] ^ static_cast<unsigned char>(cifrado[i - 1]);
    plano.append(static_cast<char>(c));
  }
  if ((static_cast<unsigned char>(cifrado[0]) ^ kClave[0]) != sumaControl(plano)) return texto;
  // A leading U+FEFF is part of the text, not a byte order mark to drop.
  QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
  const QString r = utf8.decode(plano);
  if (utf8.hasError()) return texto;
  return r;
}

void UtilGeneral::PrepararForm(QWidget* form, bool centrar) {
  if (!form) throw vb::Error(vb::kObjectVariableNotSet, {}, QStringLiteral("PrepararForm"));
  if (form->windowTitle().isEmpty()) form->setWindowTitle(ui::tituloPrograma());
  if (centrar) {
    const QSize pantalla = ui::servicio().Pantalla();
    const QSize propio = form->frameGeometry().size();
    form->move((pantalla.width() - propio.width()) / 2, (pantalla.height() - propio.height()) / 2);
  }
}

void UtilGeneral::AbrirForm(QWidget* form, const QString& nota) {
  if (!form) throw vb::Error(vb::kObjectVariableNotSet, {}, QStringLiteral("AbrirForm"));
  abiertos_.removeIf([](const FormAbierto& f) { return f.form.isNull(); });
  for (auto& f : abiertos_) {
    if (f.form == form) {
      f.nota = nota;
      return;
    }
  }
  abiertos_.append({form, nota});
}

void UtilGeneral::CerrarForm(QWidget* form, const QString&) {
  if (!form) throw vb::Error(vb::kObjectVariableNotSet, {}, QStringLiteral("CerrarForm"));
  abiertos_.removeIf([form](const FormAbierto& f) { return f.form.isNull() || f.form == form; });
}

QList<QWidget*> UtilGeneral::FormsAbiertos() const {
  QList<QWidget*> r;
  for (const auto& f : abiertos_)
    if (f.form) r.append(f.form.data());
  return r;
}

UtilGeneral& util() { return ctx::actual().instancia<UtilGeneral>(); }

}  // namespace ZepaKit2
