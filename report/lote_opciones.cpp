#include "report/lote_opciones.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace lote {

namespace {

// The lookup option's companions, each with the number of values it takes.
struct Companera {
  const char* nombre;
  int valores;
};
constexpr Companera kConsulta[] = {{"--consulta", 1}, {"--campo", 1}, {"--clave", 1}, {"--where", 1},
                                   {"--devolver", 1}, {"--arbol", 0}, {"--checks", 0}};

QStringList lista(const QString& valor) {
  QStringList r;
  for (const QString& v : valor.split(QLatin1Char(','), Qt::SkipEmptyParts))
    if (!v.trimmed().isEmpty()) r << v.trimmed();
  return r;
}

std::optional<int> agrupamiento(const QString& v) {
  const QString t = v.trimmed().toLower();
  if (t == QLatin1String("grupo") || t == QLatin1String("0")) return 0;
  if (t == QLatin1String("unidad") || t == QLatin1String("1")) return 1;
  if (t == QLatin1String("tarea") || t == QLatin1String("2")) return 2;
  return std::nullopt;
}

// A dash of any kind: "-", the ones a word processor puts in ("–", "—") and
// the minus sign.
bool esGuion(QChar c) { return c.category() == QChar::Punctuation_Dash || c == QChar(0x2212); }

// A user name goes into a one-line field as it is given.
bool tieneSaltoDeLinea(const QString& v) {
  for (QChar c : v)
    if (c == QLatin1Char('\n') || c == QLatin1Char('\r') || c == QChar(0x2028) || c == QChar(0x2029) ||
        c == QChar(0x85))
      return true;
  return false;
}

// The parameter text may come in several arguments, as a shell splits it
// at its blanks; only the first of a key counts, so an argument that gives a
// key again is a second parameter text. The key it repeats, or empty.
QString claveRepetida(const QStringList& anteriores, const QString& argumento) {
  static const QRegularExpression clave(QStringLiteral("@\\w+(?=\\s*=)"));
  QStringList dadas;
  for (const QString& a : anteriores)
    for (auto it = clave.globalMatch(a); it.hasNext();) dadas << it.next().captured().toLower();
  for (auto it = clave.globalMatch(argumento); it.hasNext();) {
    const QString k = it.next().captured();
    if (dadas.contains(k.toLower())) return k;
  }
  return {};
}

// A file destination, "pdf:", "xlsx:" or "csv:" and the file's name.
std::optional<std::pair<Destino, QString>> destinoArchivo(const QString& t) {
  static const std::pair<const char*, Destino> kPrefijos[] = {
      {"pdf:", Destino::Pdf}, {"xlsx:", Destino::Xlsx}, {"csv:", Destino::Csv}};
  for (const auto& [prefijo, destino] : kPrefijos)
    if (t.startsWith(QLatin1String(prefijo), Qt::CaseInsensitive))
      return std::pair{destino, t.mid(qsizetype(qstrlen(prefijo))).trimmed()};
  return std::nullopt;
}

}  // namespace

Opciones leerOpciones(const QStringList& argumentos, Lectura lectura) {
  Opciones o;
  const bool completa = lectura == Lectura::Completa;
  const bool hayConsulta = argumentos.contains(QStringLiteral("--consulta"));
  auto fallar = [&o](const QString& texto) {
    if (o.error.isEmpty()) o.error = texto;
  };
  for (int i = 0; i < argumentos.size(); ++i) {
    const QString& a = argumentos[i];
    if (!a.startsWith(QLatin1String("--"))) {
      if (completa && !a.isEmpty() && esGuion(a.front()))
        fallar(QStringLiteral("Opción desconocida: %1 (las opciones empiezan con dos guiones: --desde=NOMBRE)").arg(a));
      else if (const QString repetida = completa ? claveRepetida(o.resto, a) : QString(); !repetida.isEmpty())
        fallar(QStringLiteral("Sobra el texto \"%1\": %2 ya estaba en el texto de parámetros, que es uno solo")
                   .arg(a, repetida));
      else
        o.resto << a;
      continue;
    }
    if (hayConsulta) {
      bool es = false;
      for (const Companera& c : kConsulta) {
        if (a != QLatin1String(c.nombre)) continue;
        es = true;
        o.consulta << a;
        for (int k = 0; k < c.valores && i + 1 < argumentos.size(); ++k) o.consulta << argumentos[++i];
      }
      if (es) continue;
    }
    const qsizetype igual = a.indexOf(QLatin1Char('='));
    const QString nombre = igual < 0 ? a : a.left(igual);
    const QString valor = igual < 0 ? QString() : a.mid(igual + 1);
    auto conValor = [&]() {
      if (igual < 0) fallar(QStringLiteral("Falta el valor de %1 (%1=...)").arg(nombre));
      return igual >= 0;
    };
    if (nombre == QLatin1String("--help")) {
      o.ayuda = true;
    } else if (nombre == QLatin1String("--registro")) {
      if (!conValor()) continue;
      if (valor.trimmed().isEmpty())
        fallar(QStringLiteral("--registro necesita el nombre del archivo (--registro=ARCHIVO)"));
      else
        o.registro = QFileInfo(valor.trimmed()).absoluteFilePath();
    } else if (nombre == QLatin1String("--solicitud")) {
      o.lote = o.solicitud = true;
    } else if (nombre == QLatin1String("--desde") || nombre == QLatin1String("--hasta")) {
      o.lote = true;
      if (!conValor()) continue;
      if (tieneSaltoDeLinea(valor))
        fallar(QStringLiteral("%1 no admite saltos de línea").arg(nombre));
      else
        (nombre == QLatin1String("--desde") ? o.desde : o.hasta) = valor;
    } else if (nombre == QLatin1String("--unidades")) {
      o.lote = true;
      if (conValor()) o.unidades = lista(valor);
    } else if (nombre == QLatin1String("--tareas")) {
      o.lote = true;
      if (conValor()) o.tareas = lista(valor);
    } else if (nombre == QLatin1String("--agrupar")) {
      o.lote = true;
      if (conValor()) {
        o.agrupar = agrupamiento(valor);
        if (!o.agrupar) fallar(QStringLiteral("--agrupar admite grupo, unidad o tarea, no \"%1\"").arg(valor));
      }
    } else if (nombre == QLatin1String("--destino")) {
      o.lote = true;
      if (!conValor()) continue;
      const QString t = valor.trimmed();
      if (t.compare(QLatin1String("pantalla"), Qt::CaseInsensitive) == 0) {
        o.destino = Destino::Pantalla;
      } else if (t.compare(QLatin1String("impresora"), Qt::CaseInsensitive) == 0) {
        o.destino = Destino::Impresora;
      } else if (const auto archivo = destinoArchivo(t)) {
        if (archivo->second.isEmpty()) {
          const QString prefijo = t.left(t.indexOf(QLatin1Char(':')) + 1).toLower();
          fallar(QStringLiteral("--destino=%1 necesita el nombre del archivo (--destino=%1ARCHIVO)").arg(prefijo));
        } else {
          o.destino = archivo->first;
          o.archivoPdf = QFileInfo(archivo->second).absoluteFilePath();
        }
      } else {
        fallar(
            QStringLiteral("--destino admite pantalla, impresora, pdf:ARCHIVO, xlsx:ARCHIVO o csv:ARCHIVO, no \"%1\"")
                .arg(valor));
      }
    } else {
      fallar(QStringLiteral("Opción desconocida: %1").arg(a));
    }
  }
  if (!o.consulta.isEmpty() && o.lote) fallar(QStringLiteral("--consulta no se combina con las opciones del reporte"));
  return o;
}

QString textoAyuda() {
  return QStringLiteral(
      "Uso: rp_usuarios [\"@Server=...;@DbName=...;@Usuario=...;@Password=...\"] [opciones]\n"
      "\n"
      "Sin opciones abre la ventana \"Reporte de Usuarios\" (sin pantalla escribe el reporte\n"
      "por omisión en un PDF y dice dónde). Con opciones llena el mismo formulario sin\n"
      "ventana y pide el reporte, para usarlo desde guiones y tareas programadas:\n"
      "\n"
      "  --desde=NOMBRE --hasta=NOMBRE      rango de nombres de usuario (admite *)\n"
      "  --unidades=0001,0003               unidades de negocio a seleccionar, por código\n"
      "  --tareas=D30,D4020                 tareas del menú a marcar, por clave; se marcan\n"
      "                                     como lo haría el usuario (con sus hijas directas)\n"
      "  --agrupar=grupo|unidad|tarea       agrupamiento (opciones 0, 1 y 2); por omisión grupo\n"
      "  --destino=pantalla|impresora|pdf:ARCHIVO|xlsx:ARCHIVO|csv:ARCHIVO\n"
      "                                     sin opción: un PDF nuevo en una carpeta que solo\n"
      "                                     usted puede escribir (se dice cuál al terminar);\n"
      "                                     xlsx y csv: una fila por línea de detalle,\n"
      "                                     para abrir con una planilla de cálculo;\n"
      "                                     pantalla solo con --solicitud (nadie mira la ventana)\n"
      "  --solicitud                        muestra la solicitud (Reporte, Formula,\n"
      "                                     Parametro1 a Parametro5) en vez de enviarla\n"
      "  --consulta TABLA|SELECT... [--arbol] [--checks] [--campo COLUMNA]\n"
      "             [--devolver COL1,COL2] [--clave TEXTO] [--where CONDICION]\n"
      "                                     abre una consulta y muestra lo elegido\n"
      "  --registro=ARCHIVO                 anota en ARCHIVO cada error que el programa\n"
      "                                     trata por su cuenta (número, descripción, rutina)\n"
      "  --help                             esta ayuda\n"
      "\n"
      "Sin ventana, cada mensaje se escribe en la salida de errores con la respuesta que\n"
      "toma (No, Cancelar o Anular; Aceptar cuando es el único botón). Estado de salida:\n"
      "0 hecho, 1 no se pudo hacer lo pedido (sin conexión, unidad o tarea inexistente,\n"
      "error del reporte), 2 opciones mal escritas.\n");
}

}  // namespace lote
