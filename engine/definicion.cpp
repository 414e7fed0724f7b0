#include "engine/definicion.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QSet>
#include <vector>

#include "engine/errores.h"
#include "platform/vb/error_sistema.h"

namespace engine {

namespace {

[[noreturn]] void invalido(const QString& archivo, const QString& que) {
  lanzar(kErrorArchivoReporte, QStringLiteral("El archivo de reporte %1 no es válido: %2").arg(archivo, que));
}

void soloClaves(const QJsonObject& o, const QStringList& validas, const QString& donde, const QString& archivo) {
  for (auto it = o.begin(); it != o.end(); ++it)
    if (!validas.contains(it.key()))
      invalido(archivo, QStringLiteral("clave desconocida \"%1\" en %2 (válidas: %3)")
                            .arg(it.key(), donde, validas.join(QStringLiteral(", "))));
}

QString texto(const QJsonObject& o, const char* clave, const QString& donde, const QString& archivo,
              bool obligatorio = false) {
  const QJsonValue v = o.value(QLatin1String(clave));
  if (v.isUndefined() || v.isNull()) {
    if (obligatorio) invalido(archivo, QStringLiteral("falta \"%1\" en %2").arg(QLatin1String(clave), donde));
    return {};
  }
  if (!v.isString())
    invalido(archivo, QStringLiteral("\"%1\" en %2 debe ser un texto").arg(QLatin1String(clave), donde));
  return v.toString();
}

double numero(const QJsonObject& o, const char* clave, double defecto, double minimo, double maximo,
              const QString& donde, const QString& archivo) {
  const QJsonValue v = o.value(QLatin1String(clave));
  if (v.isUndefined() || v.isNull()) return defecto;
  if (!v.isDouble() || v.toDouble() < minimo || v.toDouble() > maximo)
    invalido(archivo, QStringLiteral("\"%1\" en %2 debe ser un número entre %3 y %4")
                          .arg(QLatin1String(clave), donde)
                          .arg(minimo)
                          .arg(maximo));
  return v.toDouble();
}

// Line and column of a byte offset, for JSON syntax errors.
QString lineaColumna(const QByteArray& s, int offset) {
  int linea = 1, columna = 1;
  for (int i = 0; i < offset && i < s.size(); ++i) {
    if (s[i] == '\n') {
      ++linea;
      columna = 1;
    } else {
      ++columna;
    }
  }
  return QStringLiteral("línea %1, columna %2").arg(linea).arg(columna);
}

// The first key written twice in one object of a well-formed JSON text, with
// its line and column; empty when there is none. The JSON reader keeps one of
// the two silently, and a hand-written file means one of them.
QString claveRepetida(const QByteArray& s) {
  struct Nivel {
    bool objeto;
    QSet<QString> claves;
  };
  std::vector<Nivel> niveles;
  bool esperaClave = false;
  for (int i = 0; i < s.size(); ++i) {
    const char c = s[i];
    if (c == '{' || c == '[') {
      niveles.push_back({c == '{', {}});
      esperaClave = c == '{';
    } else if (c == '}' || c == ']') {
      if (!niveles.empty()) niveles.pop_back();
      esperaClave = false;
    } else if (c == ',') {
      esperaClave = !niveles.empty() && niveles.back().objeto;
    } else if (c == '"') {
      const int inicio = i;
      for (++i; i < s.size() && s[i] != '"'; ++i)
        if (s[i] == '\\') ++i;
      if (!esperaClave) continue;
      esperaClave = false;
      const QByteArray crudo = s.mid(inicio, i - inicio + 1);
      // A key with escapes is read as the JSON reader reads it.
      const QString clave = crudo.contains('\\') ? QJsonDocument::fromJson("[" + crudo + "]").array().at(0).toString()
                                                 : QString::fromUtf8(crudo.mid(1, crudo.size() - 2));
      if (!niveles.back().claves.contains(clave)) {
        niveles.back().claves.insert(clave);
        continue;
      }
      return QStringLiteral("la clave \"%1\" está repetida en %2").arg(clave, lineaColumna(s, inicio));
    }
  }
  return {};
}

// A text with {...} whose "{" is never closed would print it as it is.
void comprobarLlaves(const QString& plantilla, const QString& donde, const QString& archivo) {
  const qsizetype abre = plantilla.lastIndexOf(QLatin1Char('{'));
  if (abre >= 0 && plantilla.indexOf(QLatin1Char('}'), abre + 1) < 0)
    invalido(archivo, QStringLiteral("en %1 falta la \"}\" que cierra \"%2\"").arg(donde, plantilla.mid(abre)));
}

OrdenReporte leerOrden(const QString& s) {
  OrdenReporte o;
  QString t = s.trimmed();
  static const QRegularExpression desc(QStringLiteral("\\s+(DESC|ASC)$"), QRegularExpression::CaseInsensitiveOption);
  const auto m = desc.match(t);
  if (m.hasMatch()) {
    o.descendente = m.captured(1).compare(QLatin1String("DESC"), Qt::CaseInsensitive) == 0;
    t = t.left(m.capturedStart()).trimmed();
  }
  o.campo = t;
  return o;
}

}  // namespace

int DefinicionReporte::formula(const QString& nombre) const {
  for (size_t i = 0; i < formulas.size(); ++i)
    if (formulas[i].first.compare(nombre, Qt::CaseInsensitive) == 0) return int(i);
  return -1;
}

DefinicionReporte cargarDefinicion(const QString& archivo) {
  QFileInfo info(archivo);
  if (archivo.trimmed().isEmpty()) lanzar(vb::kFileNotFound, QStringLiteral("No se indicó el archivo de reporte"));
  if (!info.exists())
    lanzar(vb::kFileNotFound, QStringLiteral("No se encuentra el archivo de reporte %1").arg(archivo));
  if (info.isDir())
    lanzar(kErrorArchivoReporte, QStringLiteral("El archivo de reporte %1 es una carpeta").arg(archivo));
  QFile f(archivo);
  if (!f.open(QIODevice::ReadOnly))
    lanzar(vb::kPathFileAccessError, QStringLiteral("No se puede leer el archivo de reporte %1: %2")
                                         .arg(archivo, vb::textoErrorSistema(f.errorString())));
  // A hand-written file is small; anything huge is not one of ours.
  if (f.size() > 16 * 1024 * 1024) invalido(archivo, QStringLiteral("es demasiado grande para ser un reporte"));
  return leerDefinicion(f.readAll(), archivo);
}

DefinicionReporte leerDefinicion(const QByteArray& contenido, const QString& archivo) {
  QJsonParseError e;
  const QJsonDocument doc = QJsonDocument::fromJson(contenido, &e);
  if (e.error != QJsonParseError::NoError)
    invalido(
        archivo,
        QStringLiteral("error de sintaxis JSON en %1: %2").arg(lineaColumna(contenido, e.offset), e.errorString()));
  if (!doc.isObject()) invalido(archivo, QStringLiteral("debe contener un objeto JSON { ... }"));
  if (const QString repetida = claveRepetida(contenido); !repetida.isEmpty()) invalido(archivo, repetida);
  const QJsonObject o = doc.object();
  const QString raiz = QStringLiteral("el reporte");
  soloClaves(o,
             {QStringLiteral("titulo"), QStringLiteral("consulta"), QStringLiteral("campos"), QStringLiteral("orden"),
              QStringLiteral("grupos"), QStringLiteral("columnas"), QStringLiteral("formulas"),
              QStringLiteral("encabezado"), QStringLiteral("pie"), QStringLiteral("final"), QStringLiteral("papel"),
              QStringLiteral("letra"), QStringLiteral("comentario")},
             raiz, archivo);

  DefinicionReporte d;
  d.archivo = archivo;
  d.titulo = texto(o, "titulo", raiz, archivo);
  d.consulta = texto(o, "consulta", raiz, archivo, true).trimmed();
  while (d.consulta.endsWith(QLatin1Char(';'))) d.consulta = d.consulta.chopped(1).trimmed();
  if (d.consulta.isEmpty()) invalido(archivo, QStringLiteral("\"consulta\" está vacía"));
  d.pie = texto(o, "pie", raiz, archivo);
  d.final = o.contains(QLatin1String("final")) ? texto(o, "final", raiz, archivo)
                                               : QStringLiteral("Total de registros: {cuenta}");

  if (o.contains(QLatin1String("campos"))) {
    if (!o.value(QLatin1String("campos")).isObject())
      invalido(archivo, QStringLiteral("\"campos\" debe ser un objeto"));
    const QJsonObject c = o.value(QLatin1String("campos")).toObject();
    for (auto it = c.begin(); it != c.end(); ++it) {
      if (!it.value().isString() || it.value().toString().trimmed().isEmpty())
        invalido(archivo,
                 QStringLiteral("el campo \"%1\" de \"campos\" debe nombrar una columna de la consulta").arg(it.key()));
      d.alias.emplace_back(it.key().trimmed(), it.value().toString().trimmed());
    }
  }

  if (o.contains(QLatin1String("orden"))) {
    if (!o.value(QLatin1String("orden")).isArray())
      invalido(archivo, QStringLiteral("\"orden\" debe ser una lista de campos"));
    for (const QJsonValue& v : o.value(QLatin1String("orden")).toArray()) {
      if (!v.isString() || v.toString().trimmed().isEmpty())
        invalido(archivo, QStringLiteral("cada elemento de \"orden\" debe ser el nombre de un campo"));
      d.orden.push_back(leerOrden(v.toString()));
    }
  }

  if (o.contains(QLatin1String("grupos"))) {
    if (!o.value(QLatin1String("grupos")).isArray()) invalido(archivo, QStringLiteral("\"grupos\" debe ser una lista"));
    int n = 0;
    for (const QJsonValue& v : o.value(QLatin1String("grupos")).toArray()) {
      const QString donde = QStringLiteral("el grupo %1").arg(++n);
      GrupoReporte g;
      if (v.isString()) {
        g.campo = v.toString().trimmed();
      } else if (v.isObject()) {
        const QJsonObject go = v.toObject();
        soloClaves(go, {QStringLiteral("campo"), QStringLiteral("encabezado"), QStringLiteral("pie")}, donde, archivo);
        g.campo = texto(go, "campo", donde, archivo, true).trimmed();
        g.encabezado = go.contains(QLatin1String("encabezado")) ? texto(go, "encabezado", donde, archivo) : QString();
        g.pie =
            go.contains(QLatin1String("pie")) ? texto(go, "pie", donde, archivo) : QStringLiteral("Cantidad: {cuenta}");
        if (!go.contains(QLatin1String("encabezado"))) g.encabezado = QLatin1Char('{') + g.campo + QLatin1Char('}');
      } else {
        invalido(archivo, QStringLiteral("%1 debe ser un campo o un objeto").arg(donde));
      }
      if (g.campo.isEmpty()) invalido(archivo, QStringLiteral("%1 no nombra su campo").arg(donde));
      if (v.isString()) {
        g.encabezado = QLatin1Char('{') + g.campo + QLatin1Char('}');
        g.pie = QStringLiteral("Cantidad: {cuenta}");
      }
      d.grupos.push_back(g);
    }
  }

  if (!o.value(QLatin1String("columnas")).isArray() || o.value(QLatin1String("columnas")).toArray().isEmpty())
    invalido(archivo, QStringLiteral("\"columnas\" debe ser una lista con al menos una columna"));
  int n = 0;
  for (const QJsonValue& v : o.value(QLatin1String("columnas")).toArray()) {
    const QString donde = QStringLiteral("la columna %1").arg(++n);
    if (!v.isObject()) invalido(archivo, QStringLiteral("%1 debe ser un objeto").arg(donde));
    const QJsonObject co = v.toObject();
    soloClaves(co,
               {QStringLiteral("campo"), QStringLiteral("titulo"), QStringLiteral("ancho"),
                QStringLiteral("alineacion"), QStringLiteral("formato")},
               donde, archivo);
    ColumnaReporte c;
    c.campo = texto(co, "campo", donde, archivo, true).trimmed();
    if (c.campo.isEmpty()) invalido(archivo, QStringLiteral("%1 no nombra su campo").arg(donde));
    c.titulo = co.contains(QLatin1String("titulo")) ? texto(co, "titulo", donde, archivo) : c.campo;
    c.anchoMm = numero(co, "ancho", 0, 0, 2000, donde, archivo);
    const QString al = texto(co, "alineacion", donde, archivo).trimmed().toLower();
    if (al.isEmpty())
      c.alineacion = Alineacion::Automatica;
    else if (al == QLatin1String("izquierda"))
      c.alineacion = Alineacion::Izquierda;
    else if (al == QLatin1String("derecha"))
      c.alineacion = Alineacion::Derecha;
    else if (al == QLatin1String("centro"))
      c.alineacion = Alineacion::Centro;
    else
      invalido(archivo, QStringLiteral("la alineación \"%1\" de %2 no es izquierda, centro ni derecha").arg(al, donde));
    c.formato = texto(co, "formato", donde, archivo);
    d.columnas.push_back(c);
  }

  if (o.contains(QLatin1String("formulas"))) {
    if (!o.value(QLatin1String("formulas")).isObject())
      invalido(archivo, QStringLiteral("\"formulas\" debe ser un objeto"));
    const QJsonObject fo = o.value(QLatin1String("formulas")).toObject();
    for (auto it = fo.begin(); it != fo.end(); ++it) {
      if (!it.value().isString())
        invalido(archivo, QStringLiteral("el valor de la fórmula \"%1\" debe ser un texto").arg(it.key()));
      if (it.key().trimmed().isEmpty()) invalido(archivo, QStringLiteral("una fórmula no tiene nombre"));
      d.formulas.emplace_back(it.key().trimmed(), it.value().toString());
    }
  }

  if (o.contains(QLatin1String("encabezado"))) {
    d.encabezadoDado = true;
    const QJsonValue v = o.value(QLatin1String("encabezado"));
    if (v.isString()) {
      d.encabezado << v.toString();
    } else if (v.isArray()) {
      for (const QJsonValue& l : v.toArray()) {
        if (!l.isString()) invalido(archivo, QStringLiteral("cada línea de \"encabezado\" debe ser un texto"));
        d.encabezado << l.toString();
      }
    } else {
      invalido(archivo, QStringLiteral("\"encabezado\" debe ser un texto o una lista de textos"));
    }
  }

  if (o.contains(QLatin1String("papel"))) {
    if (!o.value(QLatin1String("papel")).isObject()) invalido(archivo, QStringLiteral("\"papel\" debe ser un objeto"));
    const QJsonObject po = o.value(QLatin1String("papel")).toObject();
    const QString donde = QStringLiteral("\"papel\"");
    soloClaves(po, {QStringLiteral("tamano"), QStringLiteral("orientacion"), QStringLiteral("margen")}, donde, archivo);
    const QString t = texto(po, "tamano", donde, archivo).trimmed().toLower();
    if (t.isEmpty() || t == QLatin1String("a4"))
      d.papel = QPageSize::A4;
    else if (t == QLatin1String("carta") || t == QLatin1String("letter"))
      d.papel = QPageSize::Letter;
    else if (t == QLatin1String("oficio") || t == QLatin1String("legal"))
      d.papel = QPageSize::Legal;
    else if (t == QLatin1String("a3"))
      d.papel = QPageSize::A3;
    else if (t == QLatin1String("a5"))
      d.papel = QPageSize::A5;
    else
      invalido(archivo, QStringLiteral("el tamaño de papel \"%1\" no es A4, A3, A5, carta ni oficio").arg(t));
    const QString orient = texto(po, "orientacion", donde, archivo).trimmed().toLower();
    if (orient.isEmpty() || orient == QLatin1String("vertical"))
      d.orientacion = QPageLayout::Portrait;
    else if (orient == QLatin1String("horizontal"))
      d.orientacion = QPageLayout::Landscape;
    else
      invalido(archivo, QStringLiteral("la orientación \"%1\" no es vertical ni horizontal").arg(orient));
    d.margenMm = numero(po, "margen", 10, 0, 50, donde, archivo);
  }

  if (o.contains(QLatin1String("letra"))) {
    if (!o.value(QLatin1String("letra")).isObject()) invalido(archivo, QStringLiteral("\"letra\" debe ser un objeto"));
    const QJsonObject lo = o.value(QLatin1String("letra")).toObject();
    const QString donde = QStringLiteral("\"letra\"");
    soloClaves(lo, {QStringLiteral("familia"), QStringLiteral("tamano")}, donde, archivo);
    const QString fam = texto(lo, "familia", donde, archivo).trimmed();
    if (!fam.isEmpty()) d.familia = fam;
    d.tamanoLetra = numero(lo, "tamano", 9, 5, 24, donde, archivo);
  }

  for (const QString& l : d.encabezado) comprobarLlaves(l, QStringLiteral("\"encabezado\""), archivo);
  comprobarLlaves(d.pie, QStringLiteral("\"pie\""), archivo);
  comprobarLlaves(d.final, QStringLiteral("\"final\""), archivo);
  for (size_t i = 0; i < d.grupos.size(); ++i) {
    comprobarLlaves(d.grupos[i].encabezado, QStringLiteral("el encabezado del grupo %1").arg(i + 1), archivo);
    comprobarLlaves(d.grupos[i].pie, QStringLiteral("el pie del grupo %1").arg(i + 1), archivo);
  }
  return d;
}

int buscarColumna(const std::vector<Columna>& columnas, const QString& nombre) {
  for (size_t i = 0; i < columnas.size(); ++i)
    if (columnas[i].nombre.compare(nombre, Qt::CaseInsensitive) == 0) return int(i);
  return -1;
}

QStringList marcadores(const QString& plantilla) {
  QStringList r;
  qsizetype i = 0;
  while ((i = plantilla.indexOf(QLatin1Char('{'), i)) >= 0) {
    const qsizetype fin = plantilla.indexOf(QLatin1Char('}'), i + 1);
    if (fin < 0) break;
    r << plantilla.mid(i + 1, fin - i - 1).trimmed();
    i = fin + 1;
  }
  return r;
}

void validarCampos(DefinicionReporte& d, const std::vector<Columna>& columnas) {
  const auto falta = [&](const QString& campo, const QString& donde) {
    QStringList nombres;
    for (const Columna& c : columnas) nombres << c.nombre;
    lanzar(kErrorCampo, QStringLiteral("El archivo de reporte %1 nombra en %2 el campo \"%3\", que la consulta no "
                                       "tiene (campos de la consulta: %4)")
                            .arg(d.archivo, donde, campo, nombres.join(QStringLiteral(", "))));
  };
  for (size_t i = 0; i < d.columnas.size(); ++i) {
    d.columnas[i].indice = buscarColumna(columnas, d.columnas[i].campo);
    if (d.columnas[i].indice < 0) falta(d.columnas[i].campo, QStringLiteral("la columna %1").arg(i + 1));
  }
  for (size_t i = 0; i < d.grupos.size(); ++i) {
    d.grupos[i].indice = buscarColumna(columnas, d.grupos[i].campo);
    if (d.grupos[i].indice < 0) falta(d.grupos[i].campo, QStringLiteral("el grupo %1").arg(i + 1));
  }
  for (OrdenReporte& o : d.orden) {
    o.indice = buscarColumna(columnas, o.campo);
    if (o.indice < 0) falta(o.campo, QStringLiteral("\"orden\""));
  }
  for (const auto& [formula, columna] : d.alias)
    if (buscarColumna(columnas, columna) < 0) falta(columna, QStringLiteral("\"campos\" (%1)").arg(formula));

  // Placeholders: special names, formula fields, and (in group texts) columns.
  static const QStringList especiales = {QStringLiteral("titulo"), QStringLiteral("fecha"),   QStringLiteral("hora"),
                                         QStringLiteral("pagina"), QStringLiteral("paginas"), QStringLiteral("cuenta")};
  const auto conocido = [&](QString m, bool conColumnas) {
    if (m.startsWith(QLatin1Char('@'))) m = m.mid(1);
    for (const QString& e : especiales)
      if (m.compare(e, Qt::CaseInsensitive) == 0) return true;
    if (d.formula(m) >= 0) return true;
    const int indice = conColumnas ? buscarColumna(columnas, m) : -1;
    if (indice >= 0) d.columnasTextos.emplace_back(m, indice);
    return indice >= 0;
  };
  const auto revisar = [&](const QString& plantilla, const QString& donde, bool conColumnas) {
    for (const QString& m : marcadores(plantilla))
      if (!conocido(m, conColumnas)) falta(m, donde);
  };
  for (const QString& l : d.encabezado) revisar(l, QStringLiteral("\"encabezado\""), false);
  revisar(d.pie, QStringLiteral("\"pie\""), false);
  revisar(d.final, QStringLiteral("\"final\""), false);
  for (size_t i = 0; i < d.grupos.size(); ++i) {
    revisar(d.grupos[i].encabezado, QStringLiteral("el encabezado del grupo %1").arg(i + 1), true);
    revisar(d.grupos[i].pie, QStringLiteral("el pie del grupo %1").arg(i + 1), true);
  }
}

}  // namespace engine
