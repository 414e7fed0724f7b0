#include "services/arma_formula.h"

#include <cfloat>
#include <cmath>
#include <optional>

#include "platform/vb/convert.h"
#include "platform/vb/dates.h"
#include "platform/vb/strings.h"
#include "suite/util_general.h"

namespace ModGlobal {

namespace {

using vb::Trim;

enum TipoCampo : std::int16_t {
  kEntero = 2,
  kSimple = 4,
  kDoble = 5,
  kMoneda = 6,
  kFecha = 7,
  kEnteroGrande = 20,
};

bool esNumero(std::int16_t tipo) {
  return tipo == kEntero || tipo == kSimple || tipo == kDoble || tipo == kMoneda || tipo == kEnteroGrande;
}

// -1, 0 or 1 as desde is below, equal to or above hasta, each converted to
// the field's own kind of number as the platform converts it.
int compararNumeros(std::int16_t tipo, const QString& desde, const QString& hasta) {
  const vb::Variant d(desde), h(hasta);
  auto signo = [](auto a, auto b) { return a < b ? -1 : (b < a ? 1 : 0); };
  switch (tipo) {
    case kEntero: return signo(vb::CInt(d), vb::CInt(h));
    // The big integer is read as a 32-bit integer, as the suite always did.
    case kEnteroGrande: return signo(vb::CLng(d), vb::CLng(h));
    case kMoneda: return signo(vb::CCur(d), vb::CCur(h));
    case kSimple: {
      auto simple = [](const vb::Variant& v) {
        const double x = vb::CDbl(v);
        if (std::fabs(x) > FLT_MAX) throw vb::Error(vb::kOverflow);
        return static_cast<float>(x);
      };
      return signo(simple(d), simple(h));
    }
    default: return signo(vb::CDbl(d), vb::CDbl(h));
  }
}

// The message of the range's fault, or an empty text when it passes.
QString revisar(const FiltroRango& r) {
  const auto& u = ZepaKit2::util();
  if (r.Tipo == kFecha) {
    const QString desde = Trim(u.QuitarTexto(r.Desde, QString(QChar(0))));
    const QString hasta = Trim(u.QuitarTexto(r.Hasta, QString(QChar(0))));
    std::optional<QDateTime> fd, fh;
    if (!desde.isEmpty()) {
      fd = vb::leerFecha(desde);
      if (!fd) return QStringLiteral("Fecha Desde Incorrecta , Campo : ") + r.Campo;
    }
    if (!hasta.isEmpty()) {
      fh = vb::leerFecha(hasta);
      if (!fh) return QStringLiteral("Fecha Hasta Incorrecta , Campo : ") + r.Campo;
    }
    if (fd && fh && *fh < *fd) return QStringLiteral("Fecha Desde Mayor que Hasta , Campo : ") + r.Campo;
    return {};
  }
  const QString desde = Trim(r.Desde), hasta = Trim(r.Hasta);
  if (desde.isEmpty() || hasta.isEmpty()) return {};
  const bool mayor =
      esNumero(r.Tipo) ? compararNumeros(r.Tipo, desde, hasta) > 0 : vb::StrComp(desde, hasta, vb::vbTextCompare) > 0;
  return mayor ? QStringLiteral("Desde Mayor que Hasta, Campo : ") + r.Campo : QString();
}

// A value as it goes between the quotes of a text constant: the formula
// language reads a doubled quote as one, so a name such as O'Brien selects
// itself instead of ending the constant early.
QString constante(const QString& valor) { return QString(valor).replace(QLatin1Char('\''), QStringLiteral("''")); }

QString fragmento(const FiltroRango& r) {
  const auto& u = ZepaKit2::util();
  const QString y = QStringLiteral(" AND ");
  QString f;
  if (r.Tipo == kFecha) {
    const QString desde = Trim(u.QuitarTexto(r.Desde, QString(QChar(0))));
    const QString hasta = Trim(u.QuitarTexto(r.Hasta, QString(QChar(0))));
    if (!desde.isEmpty()) f = r.Campo + QStringLiteral(" >= ") + u.FechaFormula(desde) + QStringLiteral(" ");
    if (!hasta.isEmpty())
      f += (Trim(f).isEmpty() ? QString() : y) + r.Campo + QStringLiteral(" <= ") + u.FechaFormula(hasta) +
           QStringLiteral(" ");
    return f;
  }

  QString p, s, q;
  if (r.Tipo == kDoble) {
    p = QStringLiteral("tonumber(");
    s = QStringLiteral(")");
  } else if (!esNumero(r.Tipo)) {
    q = QStringLiteral("'");
    if (!r.SinTrim) {
      p = QStringLiteral("TrimLeft(TrimRight(");
      s = QStringLiteral("))");
    }
  }
  const QString campo = p + r.Campo + s;

  if (r.Tipo == kDoble) {
    if (!Trim(r.Desde).isEmpty()) f = campo + QStringLiteral(" >= ") + r.Desde + QStringLiteral(" ");
    if (!Trim(r.Hasta).isEmpty())
      f += (Trim(f).isEmpty() ? QString() : y) + campo + QStringLiteral(" <= ") + r.Hasta + QStringLiteral(" ");
    return f;
  }

  const bool comodinDesde = r.Desde.contains(QLatin1Char('*'));
  const bool comodinHasta = r.Hasta.contains(QLatin1Char('*'));
  if (comodinDesde)
    f = QStringLiteral(" (") + campo + QStringLiteral(" LIKE '") + constante(r.Desde) + QStringLiteral("' ");
  else if (!Trim(r.Desde).isEmpty())
    f = campo + QStringLiteral(" >= ") + q + (q.isEmpty() ? r.Desde : constante(r.Desde)) + q + QStringLiteral(" ");
  if (comodinHasta) {
    if (!Trim(f).isEmpty()) f += comodinDesde ? QStringLiteral(" OR ") : y;
    f += campo + QStringLiteral(" LIKE '") + constante(r.Hasta) + QStringLiteral("' ");
  } else if (!Trim(r.Hasta).isEmpty()) {
    f += (Trim(f).isEmpty() ? QString() : y) + campo + QStringLiteral(" <= ") + q +
         (q.isEmpty() ? r.Hasta : constante(r.Hasta)) + q + QStringLiteral(" ");
  }
  if (comodinDesde) f += QStringLiteral(")");
  return f;
}

}  // namespace

void ArmaFormula(const std::vector<FiltroRango>& rangos, QString& formula, QString* mensaje) {
  if (rangos.empty()) throw vb::Error(vb::kSubscriptOutOfRange);
  QString resultado;
  bool hayFragmento = false;
  for (const FiltroRango& r : rangos) {
    QString operador = Trim(r.Operador);
    if (operador.isEmpty()) operador = QStringLiteral("AND");
    if (!vb::igualesTexto(operador, QStringLiteral("AND")) && !vb::igualesTexto(operador, QStringLiteral("OR"))) {
      if (mensaje) *mensaje = QStringLiteral("Operador logico incorrecto");
      return;
    }
    const QString falla = revisar(r);
    if (!falla.isEmpty()) {
      if (mensaje) *mensaje = falla;
      return;
    }
    const QString f = fragmento(r);
    if (Trim(f).isEmpty()) continue;
    resultado = hayFragmento ? resultado + QStringLiteral(" ") + operador + QStringLiteral(" ") + f : f;
    hayFragmento = true;
  }
  formula = resultado;
}

}  // namespace ModGlobal
