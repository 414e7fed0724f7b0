#include "engine/maquetador.h"

#include <QFontMetricsF>
#include <QLocale>
#include <cmath>

namespace engine {

Letras::Letras(const QString& familia, double puntos) {
  const double tamanos[kCantidadLetras] = {puntos, puntos, puntos * 1.6, puntos};
  for (int i = 0; i < kCantidadLetras; ++i) {
    QFont f(familia);
    // Pixel sizes in decipoints and no hinting: widths measured here scale
    // linearly to any device resolution.
    f.setPixelSize(std::max(1, int(std::lround(tamanos[i] * 10))));
    f.setHintingPreference(QFont::PreferNoHinting);
    f.setStyleStrategy(QFont::ForceOutline);
    if (i == kNegrita || i == kTitulo) f.setBold(true);
    if (i == kCursiva) f.setItalic(true);
    f.setKerning(false);
    fuentes_[i] = f;
    const QFontMetricsF m(f);
    altos_[i] = m.height();
    ascensos_[i] = m.ascent();
    auto tabla = std::make_shared<std::vector<float>>(kTabla, -1.0f);
    for (int c = 0x20; c < kTabla; ++c)
      if (QChar(c).isPrint() && m.inFont(QChar(c))) (*tabla)[size_t(c)] = float(m.horizontalAdvance(QChar(c)));
    avances_[i] = std::move(tabla);
  }
}

double Letras::ancho(int letra, const QString& s) const {
  const std::vector<float>* tabla = avances_[letra].get();
  if (tabla) {
    double w = 0;
    bool simple = true;
    for (QChar c : s) {
      const ushort u = c.unicode();
      const float a = u < kTabla ? (*tabla)[u] : -1.0f;
      if (a < 0) {
        simple = false;
        break;
      }
      w += a;
    }
    if (simple) return w;
  }
  return QFontMetricsF(fuentes_[letra]).horizontalAdvance(s);
}

bool FilasEnMemoria::siguiente(Fila& fila) {
  if (i_ >= filas_.size()) return false;
  fila = filas_[i_++];
  return true;
}

QString formatear(const Valor& v, const QString& formato) {
  if (v.esNulo()) return {};
  const QString f = formato.trimmed();
  if (f.isEmpty()) return v.mostrar();
  switch (v.tipo()) {
    case Valor::Tipo::Numero: {
      const qsizetype punto = f.indexOf(QLatin1Char('.'));
      const int decimales = punto < 0 ? 0 : int(f.size() - punto - 1);
      QLocale l;
      if (!f.contains(QLatin1Char(',')))
        l.setNumberOptions(QLocale::OmitGroupSeparator);
      else
        l.setNumberOptions({});
      return l.toString(v.comoNumero(), 'f', decimales);
    }
    case Valor::Tipo::Fecha: return v.comoFecha().toString(f);
    case Valor::Tipo::Logico: {
      const QStringList partes = f.split(QLatin1Char(';'));
      if (partes.size() == 2) return v.comoLogico() ? partes[0] : partes[1];
      return v.mostrar();
    }
    default: return v.mostrar();
  }
}

namespace {

// The columns the pages show or name; the rest of each row is not kept.
std::vector<bool> columnasUsadas(const DefinicionReporte& d) {
  std::vector<bool> r;
  const auto usar = [&r](int i) {
    if (i < 0) return;
    if (size_t(i) >= r.size()) r.resize(size_t(i) + 1, false);
    r[size_t(i)] = true;
  };
  for (const ColumnaReporte& c : d.columnas) usar(c.indice);
  for (const GrupoReporte& g : d.grupos) usar(g.indice);
  for (const auto& [nombre, indice] : d.columnasTextos) usar(indice);
  // No column at all must still mean "keep none", not "keep every one".
  if (r.empty()) r.push_back(false);
  return r;
}

}  // namespace

Maquetador::Maquetador(const DefinicionReporte& d, Entorno entorno, FuenteFilas& filas)
    : d_(d), entorno_(std::move(entorno)), fuente_(filas), filas_(columnasUsadas(d)) {
  titulo = d.titulo;
  letras = Letras(d.familia, d.tamanoLetra);
  const QSizeF mm = QPageSize(d.papel).size(QPageSize::Millimeter);
  tamano = d.orientacion == QPageLayout::Landscape ? QSizeF(mm.height(), mm.width()) : mm;
  tamano *= kUnidadesPorMm;
  margen_ = d.margenMm * kUnidadesPorMm;
  linea_ = letras.alto(kNormal) * 1.15;
  lineaGrupo_ = letras.alto(kNegrita) * 1.5;

  // Column widths: fixed ones as given, the rest share what is left; when
  // they do not fit the page, fixed widths shrink in proportion.
  const double disponible = tamano.width() - 2 * margen_;
  const double minimoAuto = 15 * kUnidadesPorMm;
  double fijos = 0;
  int autos = 0;
  for (const ColumnaReporte& c : d.columnas) {
    if (c.anchoMm > 0)
      fijos += c.anchoMm * kUnidadesPorMm;
    else
      ++autos;
  }
  double factor = 1;
  if (fijos > 0 && fijos + autos * minimoAuto > disponible)
    factor = std::max(0.05, (disponible - autos * minimoAuto) / fijos);
  const double anchoAuto = autos ? std::max(0.0, (disponible - fijos * factor) / autos) : 0;
  double x = margen_;
  for (const ColumnaReporte& c : d.columnas) {
    const double a = c.anchoMm > 0 ? c.anchoMm * kUnidadesPorMm * factor : anchoAuto;
    xs_.push_back(x);
    anchos_.push_back(a);
    x += a;
  }

  // The page header is as tall on every page: measured once on a draft.
  Pagina borrador;
  encabezadoPagina(borrador, altoEncabezado_, 1);
  limite_ = tamano.height() - margen_ - letras.alto(kNormal) - linea_ * 0.6;
  Posicion inicio;
  inicio.inicios.assign(d.grupos.size(), 0);
  inicios_.push_back(std::move(inicio));
}

void Maquetador::leerHasta(long fila) {
  while (!finDatos_ && filas_.cantidad() <= fila) {
    if (!fuente_.siguiente(leida_)) {
      finDatos_ = true;
      break;
    }
    // The outermost group whose value changes: it and every inner one end and begin again.
    const int n = int(d_.grupos.size());
    int corte = 0;
    if (filas_.cantidad() > 0) {
      corte = n;
      for (int i = 0; i < n; ++i) {
        const size_t c = size_t(d_.grupos[size_t(i)].indice);
        if (compararValores(anterior_[c], leida_[c]) != 0) {
          corte = i;
          break;
        }
      }
    }
    filas_.agregar(leida_, static_cast<unsigned char>(std::min(corte, 255)));
    std::swap(anterior_, leida_);
  }
}

bool Maquetador::elemento(const Posicion& p, Elemento& e) const {
  using Tipo = Elemento::Tipo;
  const int n = int(d_.grupos.size());
  const long total = filas_.cantidad();
  if (p.fila < total) {
    const int corte = filas_.marca(p.fila);
    const int pies = p.fila > 0 ? n - corte : 0;
    if (p.paso < pies) {
      const int nivel = n - 1 - p.paso;
      e = {Tipo::Pie, nivel, p.fila - 1, p.fila - p.inicios[size_t(nivel)]};
    } else if (p.paso < pies + n - corte) {
      e = {Tipo::Encabezado, corte + p.paso - pies, p.fila, 0};
    } else {
      e = {Tipo::Detalle, 0, p.fila, 0};
    }
    return true;
  }
  // After the last row: the open groups' footers, then the report's end.
  int paso = p.paso;
  const int pies = total > 0 ? n : 0;
  if (paso < pies) {
    const int nivel = n - 1 - paso;
    e = {Tipo::Pie, nivel, total - 1, total - p.inicios[size_t(nivel)]};
    return true;
  }
  paso -= pies;
  if (total == 0) {
    if (paso == 0) {
      e = {Tipo::SinFilas, 0, -1, 0};
      return true;
    }
    --paso;
  }
  if (paso == 0 && !d_.final.trimmed().isEmpty()) {
    e = {Tipo::Final, 0, -1, total};
    return true;
  }
  return false;
}

void Maquetador::avanzar(Posicion& p, const Elemento& e) const {
  switch (e.tipo) {
    case Elemento::Tipo::Pie: p.abiertos = e.nivel; break;
    case Elemento::Tipo::Encabezado:
      p.inicios[size_t(e.nivel)] = e.fila;
      p.abiertos = e.nivel + 1;
      break;
    case Elemento::Tipo::Detalle:
      ++p.fila;
      p.paso = 0;
      return;
    default: break;
  }
  ++p.paso;
}

double Maquetador::alto(const Elemento& e) const {
  switch (e.tipo) {
    case Elemento::Tipo::Detalle: return linea_;
    case Elemento::Tipo::Encabezado:
    case Elemento::Tipo::Pie: return lineaGrupo_;
    case Elemento::Tipo::Final: return lineaGrupo_ * 1.3;
    case Elemento::Tipo::SinFilas: return linea_ * 2;
  }
  return linea_;
}

void Maquetador::texto(Pagina& p, int letra, double x, double y, double ancho, Alineacion al, const QString& s) const {
  if (s.isEmpty()) return;
  QString t = s;
  // The page count is not known yet: measure a typical one in its place.
  const bool conTotal = s.contains(QChar(kMarcaTotal));
  const QString medido = conTotal ? QString(s).replace(QChar(kMarcaTotal), QStringLiteral("000")) : s;
  double w = letras.ancho(letra, medido);
  if (w > ancho && !conTotal) {
    t = QFontMetricsF(letras.fuente(letra)).elidedText(s, Qt::ElideRight, ancho);
    w = letras.ancho(letra, t);
    if (t.isEmpty()) return;
  }
  double dx = 0;
  if (al == Alineacion::Derecha)
    dx = ancho - w;
  else if (al == Alineacion::Centro)
    dx = (ancho - w) / 2;
  Primitiva pr;
  pr.clase = Primitiva::Clase::Texto;
  pr.letra = static_cast<unsigned char>(letra);
  pr.conTotal = conTotal;
  pr.origen = QPointF(x + std::max(0.0, dx), y + letras.ascenso(letra));
  pr.texto = std::move(t);
  p.elementos.push_back(std::move(pr));
}

static void linea(Pagina& p, double x1, double y1, double x2, double y2) {
  Primitiva pr;
  pr.clase = Primitiva::Clase::Linea;
  pr.origen = QPointF(x1, y1);
  pr.fin = QPointF(x2, y2);
  p.elementos.push_back(std::move(pr));
}

QString Maquetador::expandir(const QString& plantilla, const Fila* fila, long cuenta, int pagina) const {
  if (!plantilla.contains(QLatin1Char('{'))) return plantilla;
  QString r;
  qsizetype i = 0;
  while (i < plantilla.size()) {
    const qsizetype a = plantilla.indexOf(QLatin1Char('{'), i);
    const qsizetype b = a < 0 ? -1 : plantilla.indexOf(QLatin1Char('}'), a + 1);
    if (a < 0 || b < 0) {
      r += plantilla.mid(i);
      break;
    }
    r += plantilla.mid(i, a - i);
    QString m = plantilla.mid(a + 1, b - a - 1).trimmed();
    if (m.startsWith(QLatin1Char('@'))) m = m.mid(1);
    const auto es = [&](const char* s) { return m.compare(QLatin1String(s), Qt::CaseInsensitive) == 0; };
    bool hecho = true;
    if (es("titulo"))
      r += d_.titulo;
    else if (es("fecha"))
      r += entorno_.ahora.toString(QStringLiteral("dd/MM/yyyy"));
    else if (es("hora"))
      r += entorno_.ahora.toString(QStringLiteral("HH:mm:ss"));
    else if (es("pagina"))
      r += QString::number(pagina);
    else if (es("paginas"))
      r += QChar(kMarcaTotal);
    else if (es("cuenta"))
      r += QString::number(cuenta);
    else
      hecho = false;
    if (!hecho) {
      for (const auto& [nombre, valor] : entorno_.formulas)
        if (nombre.compare(m, Qt::CaseInsensitive) == 0) {
          r += valor;
          hecho = true;
          break;
        }
    }
    if (!hecho && fila) {
      for (const ColumnaReporte& c : d_.columnas)
        if (c.campo.compare(m, Qt::CaseInsensitive) == 0 && c.indice >= 0) {
          r += formatear((*fila)[size_t(c.indice)], c.formato);
          hecho = true;
          break;
        }
      if (!hecho)
        for (const GrupoReporte& g : d_.grupos)
          if (g.campo.compare(m, Qt::CaseInsensitive) == 0 && g.indice >= 0) {
            r += (*fila)[size_t(g.indice)].mostrar();
            hecho = true;
            break;
          }
      // Any other query column a group text names.
      if (!hecho)
        for (const auto& [nombre, indice] : d_.columnasTextos)
          if (nombre.compare(m, Qt::CaseInsensitive) == 0) {
            r += (*fila)[size_t(indice)].mostrar();
            hecho = true;
            break;
          }
    }
    if (!hecho) r += plantilla.mid(a, b - a + 1);
    i = b + 1;
  }
  return r;
}

void Maquetador::encabezadoPagina(Pagina& p, double& y, int numero) const {
  const double ancho = tamano.width() - 2 * margen_;
  y = margen_;
  const QString fecha = QStringLiteral("Fecha: %1  Hora: %2")
                            .arg(entorno_.ahora.toString(QStringLiteral("dd/MM/yyyy")),
                                 entorno_.ahora.toString(QStringLiteral("HH:mm:ss")));
  const double anchoFecha = QFontMetricsF(letras.fuente(kNormal)).horizontalAdvance(fecha);
  texto(p, kTitulo, margen_, y, std::max(0.0, ancho - anchoFecha - 50), Alineacion::Izquierda, d_.titulo);
  texto(p, kNormal, margen_, y + letras.ascenso(kTitulo) - letras.ascenso(kNormal), ancho, Alineacion::Derecha, fecha);
  y += letras.alto(kTitulo) * 1.2;
  QStringList lineas;
  if (d_.encabezadoDado) {
    for (const QString& l : d_.encabezado) lineas << expandir(l, nullptr, 0, numero);
  } else {
    for (const auto& [nombre, valor] : entorno_.formulas)
      if (!valor.trimmed().isEmpty()) lineas << valor.trimmed();
  }
  for (const QString& l : lineas) {
    texto(p, kNormal, margen_, y, ancho, Alineacion::Izquierda, l);
    y += linea_;
  }
  y += linea_ * 0.3;
  linea(p, margen_, y, tamano.width() - margen_, y);
  y += linea_ * 0.3;
  const double pad = kUnidadesPorMm;
  for (size_t i = 0; i < d_.columnas.size(); ++i) {
    const ColumnaReporte& c = d_.columnas[i];
    const Alineacion al = c.alineacion == Alineacion::Automatica ? Alineacion::Izquierda : c.alineacion;
    texto(p, kNegrita, xs_[i] + pad, y, std::max(0.0, anchos_[i] - 2 * pad), al, c.titulo);
  }
  y += letras.alto(kNegrita) * 1.2;
  linea(p, margen_, y, tamano.width() - margen_, y);
  y += linea_ * 0.3;
}

void Maquetador::piePagina(Pagina& p, int numero) const {
  const double ancho = tamano.width() - 2 * margen_;
  const double y = tamano.height() - margen_ - letras.alto(kNormal);
  linea(p, margen_, y - linea_ * 0.3, tamano.width() - margen_, y - linea_ * 0.3);
  const QString derecha = QStringLiteral("Página %1 de %2").arg(numero).arg(QChar(kMarcaTotal));
  const double anchoDerecha =
      QFontMetricsF(letras.fuente(kNormal)).horizontalAdvance(QStringLiteral("Página 0000 de 0000"));
  texto(p, kNormal, margen_, y, std::max(0.0, ancho - anchoDerecha), Alineacion::Izquierda,
        expandir(d_.pie, nullptr, 0, numero));
  texto(p, kNormal, margen_, y, ancho, Alineacion::Derecha, derecha);
}

void Maquetador::continuacion(int nivel, const Fila& fila, int numero, Pagina& p, double& y) const {
  const double x = margen_ + nivel * 4 * kUnidadesPorMm;
  texto(p, kNegrita, x, y + lineaGrupo_ - letras.alto(kNegrita) * 1.1, tamano.width() - margen_ - x,
        Alineacion::Izquierda,
        expandir(d_.grupos[size_t(nivel)].encabezado, &fila, 0, numero) + QStringLiteral(" (continuación)"));
  y += lineaGrupo_;
}

void Maquetador::colocar(const Elemento& e, const Fila* fila, int numero, Pagina& p, double& y) const {
  const double pad = kUnidadesPorMm;
  const double sangria = 4 * kUnidadesPorMm;
  const double ancho = tamano.width() - 2 * margen_;
  switch (e.tipo) {
    case Elemento::Tipo::Detalle:
      for (size_t i = 0; i < d_.columnas.size(); ++i) {
        const ColumnaReporte& c = d_.columnas[i];
        const Valor& v = (*fila)[size_t(c.indice)];
        Alineacion al = c.alineacion;
        if (al == Alineacion::Automatica)
          al = v.tipo() == Valor::Tipo::Numero ? Alineacion::Derecha : Alineacion::Izquierda;
        texto(p, kNormal, xs_[i] + pad, y, std::max(0.0, anchos_[i] - 2 * pad), al, formatear(v, c.formato));
      }
      break;
    case Elemento::Tipo::Encabezado: {
      const double x = margen_ + e.nivel * sangria;
      texto(p, kNegrita, x, y + lineaGrupo_ - letras.alto(kNegrita) * 1.1, ancho - (x - margen_), Alineacion::Izquierda,
            expandir(d_.grupos[size_t(e.nivel)].encabezado, fila, 0, numero));
      break;
    }
    case Elemento::Tipo::Pie: {
      const double x = margen_ + e.nivel * sangria;
      texto(p, kCursiva, x, y + (lineaGrupo_ - letras.alto(kCursiva)) / 4, ancho - (x - margen_), Alineacion::Izquierda,
            expandir(d_.grupos[size_t(e.nivel)].pie, fila, e.cuenta, numero));
      break;
    }
    case Elemento::Tipo::Final:
      linea(p, margen_, y + lineaGrupo_ * 0.15, tamano.width() - margen_, y + lineaGrupo_ * 0.15);
      texto(p, kNegrita, margen_, y + lineaGrupo_ * 0.3, ancho, Alineacion::Izquierda,
            expandir(d_.final, nullptr, e.cuenta, numero));
      break;
    case Elemento::Tipo::SinFilas:
      texto(p, kCursiva, margen_, y + linea_ * 0.5, ancho, Alineacion::Izquierda,
            QStringLiteral("No hay registros que cumplan la selección."));
      break;
  }
  y += alto(e);
}

bool Maquetador::siguientePagina() {
  if (completo_) return false;
  Posicion p = inicios_.back();
  // The headers of the groups that go on from the page before come first.
  double y = altoEncabezado_ + p.abiertos * lineaGrupo_;
  bool vacia = true;
  Elemento e;
  for (;;) {
    leerHasta(p.fila);
    if (!elemento(p, e)) break;
    // A group header never stays alone at the foot of a page.
    const double necesita = alto(e) + (e.tipo == Elemento::Tipo::Encabezado ? linea_ : 0);
    if (!vacia && y + necesita > limite_) break;
    y += alto(e);
    avanzar(p, e);
    vacia = false;
  }
  inicios_.push_back(std::move(p));
  leerHasta(inicios_.back().fila);
  if (!elemento(inicios_.back(), e)) completo_ = true;
  return true;
}

void Maquetador::componer(int indice, Pagina& pagina) const {
  pagina.elementos.clear();
  const int numero = indice + 1;
  Posicion p = inicios_[size_t(indice)];
  const Posicion& fin = inicios_[size_t(indice) + 1];
  double y = 0;
  encabezadoPagina(pagina, y, numero);
  Fila fila;
  for (int nivel = 0; nivel < p.abiertos; ++nivel) {
    filas_.leer(p.inicios[size_t(nivel)], fila);
    continuacion(nivel, fila, numero, pagina, y);
  }
  // Rows come in order: each is unpacked once.
  long leida = -1;
  Elemento e;
  while ((p.fila < fin.fila || (p.fila == fin.fila && p.paso < fin.paso)) && elemento(p, e)) {
    if (e.fila >= 0 && e.fila != leida) {
      filas_.leer(e.fila, fila);
      leida = e.fila;
    }
    colocar(e, e.fila >= 0 ? &fila : nullptr, numero, pagina, y);
    avanzar(p, e);
  }
  piePagina(pagina, numero);
}

}  // namespace engine
