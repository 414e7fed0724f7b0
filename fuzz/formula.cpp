// The record-selection formula: parsing, binding to a report's columns,
// pushing down to SQL and evaluating on rows. A bad formula is the formula
// or field error; a good one pushes down with one parameter per "?" and
// evaluates on any row. The input's first line after a "\n\n" is also tried
// as a LIKE pattern, whose matching must stay linear enough not to hang.
#include "engine/formula.h"
#include "engine/errores.h"
#include "engine/sql.h"
#include "fuzz/apoyo.h"

using namespace engine;

namespace {

const std::vector<Columna>& columnas() {
  static const std::vector<Columna> c = {
      {QStringLiteral("NOMBRE"), Valor::Tipo::Texto},   {QStringLiteral("GRUPO"), Valor::Tipo::Texto},
      {QStringLiteral("IMPORTE"), Valor::Tipo::Numero}, {QStringLiteral("ALTA"), Valor::Tipo::Fecha},
      {QStringLiteral("ACTIVO"), Valor::Tipo::Logico},  {QStringLiteral("OTRO"), Valor::Tipo::Nulo},
  };
  return c;
}

std::vector<Fila> filas() {
  const QDateTime alta(QDate(2024, 3, 1), QTime(0, 0));
  return {
      {Valor::texto(QStringLiteral(" Ana ")), Valor::texto(QStringLiteral("0001")), Valor::numero(12.5),
       Valor::fecha(alta), Valor::logico(true), Valor::texto(QStringLiteral("12"))},
      {Valor(), Valor(), Valor(), Valor(), Valor(), Valor()},
      {Valor::texto(QStringLiteral("ÑANDÚ")), Valor::texto(QString()), Valor::numero(-1e300), Valor::fecha(QDateTime()),
       Valor::logico(false), Valor::numero(3)},
  };
}

bool esperado(const vb::Error& e) { return e.Number() == kErrorFormula || e.Number() == kErrorCampo; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* datos, size_t largo) {
  const QString todo = fuzz::texto(datos, largo);
  const qsizetype corte = todo.indexOf(QStringLiteral("\n\n"));
  const QString texto = corte < 0 ? todo : todo.left(corte);
  if (corte >= 0) {
    const QString patron = todo.mid(corte + 2);
    (void)coincidePatron(texto, patron);
  }

  Formula f;
  try {
    f = Formula::analizar(texto);
    f.resolver(
        [](const QString&, const QString& campo) {
          for (size_t i = 0; i < columnas().size(); ++i)
            if (columnas()[i].nombre.compare(campo, Qt::CaseInsensitive) == 0) return static_cast<int>(i);
          return -1;
        },
        [](const QString& nombre, Valor& v) {
          if (nombre.compare(QStringLiteral("Parametros"), Qt::CaseInsensitive) != 0) return false;
          v = Valor::texto(QStringLiteral("Desde: A"));
          return true;
        },
        [](int c) { return columnas()[static_cast<size_t>(c)].tipo; });
  } catch (const vb::Error& e) {
    KV_FUZZ_CHECK(esperado(e), "error %ld: %s", e.Number(), qPrintable(e.Description()));
    return 0;
  }

  // Also with bounds small enough for any formula to meet them.
  const Limites estrechos{3, 2};
  for (Dialecto d : {Dialecto::Sqlite, Dialecto::SqlServer}) {
    for (const Limites& l : {Limites{}, estrechos}) {
      try {
        const Seleccion s = separar(f, columnas(), d, l);
        KV_FUZZ_CHECK(s.donde.count(QLatin1Char('?')) == static_cast<qsizetype>(s.parametros.size()),
                      "%lld \"?\" y %lld parámetros en %s", static_cast<long long>(s.donde.count(QLatin1Char('?'))),
                      static_cast<long long>(s.parametros.size()), qPrintable(s.donde));
        KV_FUZZ_CHECK(s.parametros.size() <= l.parametros, "%zu parámetros en %s", s.parametros.size(),
                      qPrintable(s.donde));
        for (const Fila& fila : filas()) (void)s.residuo.selecciona(fila);
      } catch (const vb::Error& e) {
        KV_FUZZ_CHECK(esperado(e), "error %ld al separar: %s", e.Number(), qPrintable(e.Description()));
      }
    }
  }
  // Lists looked up select the rows the equalities they stand for select.
  const Formula listas = f.vacia() ? Formula() : Formula::desdeNodo(f.texto(), conListas(*f.raiz()));
  for (const Fila& fila : filas()) {
    int sola = -1, conLista = -1;  // -1: raised the formula's error
    try {
      sola = f.selecciona(fila);
    } catch (const vb::Error& e) {
      KV_FUZZ_CHECK(esperado(e), "error %ld al evaluar: %s", e.Number(), qPrintable(e.Description()));
    }
    try {
      conLista = listas.selecciona(fila);
    } catch (const vb::Error& e) {
      KV_FUZZ_CHECK(esperado(e), "error %ld al evaluar con listas: %s", e.Number(), qPrintable(e.Description()));
    }
    // An OR whose terms are looked up in another order may meet an error the
    // order written would have passed by, or the other way round.
    KV_FUZZ_CHECK(sola < 0 || conLista < 0 || sola == conLista, "con listas %d, sin ellas %d", conLista, sola);
  }
  return 0;
}
