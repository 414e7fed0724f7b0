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
      if (a < 0) { simple = false; break; }
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
      if (!f.contains(QLatin1Char(','))) l.setNumberOptions(QLocale::OmitGroupSeparator);
      else l.setNumberOptions({});
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

Maquetador::Maquetador(const DefinicionReporte& d, Entorno entorno, FuenteFilas& filas)
    : d_(d), entorno_(std::move(entorno)), filas_(filas), letras_(d.familia, d.tamanoLetra) {
  const QSizeF mm = QPageSize(d.papel).size(QPageSize::Millimeter);
  tamano_ = d.orientacion == QPageLayout::Landscape ? QSizeF(mm.height(), mm.width()) : mm;
  tamano_ *= kUnidadesPorMm;
  margen_ = d.margenMm * kUnidadesPorMm;
  linea_ = letras_.alto(kNormal) * 1.15;
  lineaGrupo_ = letras_.alto(kNegrita) * 1.5;
  cuentas_.assign(d.grupos.size(), 0);

  // Column widths: fixed ones as given, the rest share what is left; when
  // they do not fit the page, fixed widths shrink in proportion.
  const double disponible = tamano_.width() - 2 * margen_;
  const double minimoAuto = 15 * kUnidadesPorMm;
  double fijos = 0;
  int autos = 0;
  for (const ColumnaReporte& c : d.columnas) {
    if (c.anchoMm > 0) fijos += c.anchoMm * kUnidadesPorMm;
    else ++autos;
  }
  double factor = 1;
  if (fijos > 0 && fijos + autos * minimoAuto > disponible) factor = std::max(0.05, (disponible - autos * minimoAuto) / fijos);
  const double anchoAuto = autos ? std::max(0.0, (disponible - fijos * factor) / autos) : 0;
  double x = margen_;
  for (const ColumnaReporte& c : d.columnas) {
    const double a = c.anchoMm > 0 ? c.anchoMm * kUnidadesPorMm * factor : anchoAuto;
    xs_.push_back(x);
    anchos_.push_back(a);
    x += a;
  }
}

Documento Maquetador::documentoVacio() const {
  Documento doc;
  doc.titulo = d_.titulo;
  doc.tamano = tamano_;
  doc.letras = letras_;
  return doc;
}

bool Maquetador::llenarCola() {
  while (cola_.empty() && !finalPuesto_) {
    Fila f;
    if (!finDatos_ && filas_.siguiente(f)) {
      const int n = int(d_.grupos.size());
      int k = n;
      if (!hayAnterior_) {
        k = 0;
      } else {
        for (int i = 0; i < n; ++i) {
          const size_t c = size_t(d_.grupos[size_t(i)].indice);
          if (compararValores(anterior_[c], f[c]) != 0) { k = i; break; }
        }
        for (int nivel = n - 1; nivel >= k; --nivel)
          cola_.push_back({Elemento::Tipo::Pie, nivel, anterior_, cuentas_[size_t(nivel)]});
      }
      for (int nivel = k; nivel < n; ++nivel) {
        cola_.push_back({Elemento::Tipo::Encabezado, nivel, f, 0});
        cuentas_[size_t(nivel)] = 0;
      }
      for (long& c : cuentas_) ++c;
      ++total_;
      anterior_ = f;
      hayAnterior_ = true;
      cola_.push_back({Elemento::Tipo::Detalle, 0, std::move(f), 0});
    } else {
      finDatos_ = true;
      if (hayAnterior_)
        for (int nivel = int(d_.grupos.size()) - 1; nivel >= 0; --nivel)
          cola_.push_back({Elemento::Tipo::Pie, nivel, anterior_, cuentas_[size_t(nivel)]});
      if (total_ == 0) cola_.push_back({Elemento::Tipo::SinFilas, 0, {}, 0});
      if (!d_.final.trimmed().isEmpty()) cola_.push_back({Elemento::Tipo::Final, 0, {}, total_});
      finalPuesto_ = true;
    }
  }
  return !cola_.empty();
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
  double w = letras_.ancho(letra, medido);
  if (w > ancho && !conTotal) {
    t = QFontMetricsF(letras_.fuente(letra)).elidedText(s, Qt::ElideRight, ancho);
    w = letras_.ancho(letra, t);
    if (t.isEmpty()) return;
  }
  double dx = 0;
  if (al == Alineacion::Derecha) dx = ancho - w;
  else if (al == Alineacion::Centro) dx = (ancho - w) / 2;
  Primitiva pr;
  pr.clase = Primitiva::Clase::Texto;
  pr.letra = static_cast<unsigned char>(letra);
  pr.conTotal = conTotal;
  pr.origen = QPointF(x + std::max(0.0, dx), y + letras_.ascenso(letra));
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
    if (a < 0 || b < 0) { r += plantilla.mid(i); break; }
    r += plantilla.mid(i, a - i);
    QString m = plantilla.mid(a + 1, b - a - 1).trimmed();
    if (m.startsWith(QLatin1Char('@'))) m = m.mid(1);
    const auto es = [&](const char* s) { return m.compare(QLatin1String(s), Qt::CaseInsensitive) == 0; };
    bool hecho = true;
    if (es("titulo")) r += d_.titulo;
    else if (es("fecha")) r += entorno_.ahora.toString(QStringLiteral("dd/MM/yyyy"));
    else if (es("hora")) r += entorno_.ahora.toString(QStringLiteral("HH:mm:ss"));
    else if (es("pagina")) r += QString::number(pagina);
    else if (es("paginas")) r += QChar(kMarcaTotal);
    else if (es("cuenta")) r += QString::number(cuenta);
    else hecho = false;
    if (!hecho) {
      for (const auto& [nombre, valor] : entorno_.formulas)
        if (nombre.compare(m, Qt::CaseInsensitive) == 0) { r += valor; hecho = true; break; }
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

void Maquetador::encabezadoPagina(Pagina& p, double& y, int numero) {
  const double ancho = tamano_.width() - 2 * margen_;
  y = margen_;
  const QString fecha = QStringLiteral("Fecha: %1  Hora: %2")
                            .arg(entorno_.ahora.toString(QStringLiteral("dd/MM/yyyy")), entorno_.ahora.toString(QStringLiteral("HH:mm:ss")));
  const double anchoFecha = QFontMetricsF(letras_.fuente(kNormal)).horizontalAdvance(fecha);
  texto(p, kTitulo, margen_, y, std::max(0.0, ancho - anchoFecha - 50), Alineacion::Izquierda, d_.titulo);
  texto(p, kNormal, margen_, y + letras_.ascenso(kTitulo) - letras_.ascenso(kNormal), ancho, Alineacion::Derecha, fecha);
  y += letras_.alto(kTitulo) * 1.2;
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
  linea(p, margen_, y, tamano_.width() - margen_, y);
  y += linea_ * 0.3;
  const double pad = kUnidadesPorMm;
  for (size_t i = 0; i < d_.columnas.size(); ++i) {
    const ColumnaReporte& c = d_.columnas[i];
    const Alineacion al = c.alineacion == Alineacion::Automatica ? Alineacion::Izquierda : c.alineacion;
    texto(p, kNegrita, xs_[i] + pad, y, std::max(0.0, anchos_[i] - 2 * pad), al, c.titulo);
  }
  y += letras_.alto(kNegrita) * 1.2;
  linea(p, margen_, y, tamano_.width() - margen_, y);
  y += linea_ * 0.3;
}

void Maquetador::piePagina(Pagina& p, int numero) {
  const double ancho = tamano_.width() - 2 * margen_;
  const double y = tamano_.height() - margen_ - letras_.alto(kNormal);
  linea(p, margen_, y - linea_ * 0.3, tamano_.width() - margen_, y - linea_ * 0.3);
  const QString derecha = QStringLiteral("Página %1 de %2").arg(numero).arg(QChar(kMarcaTotal));
  const double anchoDerecha = QFontMetricsF(letras_.fuente(kNormal)).horizontalAdvance(QStringLiteral("Página 0000 de 0000"));
  texto(p, kNormal, margen_, y, std::max(0.0, ancho - anchoDerecha), Alineacion::Izquierda, expandir(d_.pie, nullptr, 0, numero));
  texto(p, kNormal, margen_, y, ancho, Alineacion::Derecha, derecha);
}

void Maquetador::colocar(const Elemento& e, Pagina& p, double& y) {
  const double pad = kUnidadesPorMm;
  const double sangria = 4 * kUnidadesPorMm;
  const double ancho = tamano_.width() - 2 * margen_;
  switch (e.tipo) {
    case Elemento::Tipo::Detalle:
      for (size_t i = 0; i < d_.columnas.size(); ++i) {
        const ColumnaReporte& c = d_.columnas[i];
        const Valor& v = e.fila[size_t(c.indice)];
        Alineacion al = c.alineacion;
        if (al == Alineacion::Automatica) al = v.tipo() == Valor::Tipo::Numero ? Alineacion::Derecha : Alineacion::Izquierda;
        texto(p, kNormal, xs_[i] + pad, y, std::max(0.0, anchos_[i] - 2 * pad), al, formatear(v, c.formato));
      }
      break;
    case Elemento::Tipo::Encabezado: {
      const double x = margen_ + e.nivel * sangria;
      texto(p, kNegrita, x, y + lineaGrupo_ - letras_.alto(kNegrita) * 1.1, ancho - (x - margen_), Alineacion::Izquierda,
            expandir(d_.grupos[size_t(e.nivel)].encabezado, &e.fila, 0, paginas_));
      break;
    }
    case Elemento::Tipo::Pie: {
      const double x = margen_ + e.nivel * sangria;
      texto(p, kCursiva, x, y + (lineaGrupo_ - letras_.alto(kCursiva)) / 4, ancho - (x - margen_), Alineacion::Izquierda,
            expandir(d_.grupos[size_t(e.nivel)].pie, &e.fila, e.cuenta, paginas_));
      break;
    }
    case Elemento::Tipo::Final:
      linea(p, margen_, y + lineaGrupo_ * 0.15, tamano_.width() - margen_, y + lineaGrupo_ * 0.15);
      texto(p, kNegrita, margen_, y + lineaGrupo_ * 0.3, ancho, Alineacion::Izquierda, expandir(d_.final, nullptr, e.cuenta, paginas_));
      break;
    case Elemento::Tipo::SinFilas:
      texto(p, kCursiva, margen_, y + linea_ * 0.5, ancho, Alineacion::Izquierda,
            QStringLiteral("No hay registros que cumplan la selección."));
      break;
  }
  y += alto(e);
}

bool Maquetador::siguientePagina(Documento& doc) {
  if (doc.completo || !llenarCola()) {
    doc.completo = true;
    return false;
  }
  Pagina p;
  ++paginas_;
  double y = 0;
  encabezadoPagina(p, y, paginas_);
  const double limite = tamano_.height() - margen_ - letras_.alto(kNormal) - linea_ * 0.6;
  bool vacia = true;
  while (llenarCola()) {
    const Elemento& e = cola_.front();
    // A group header never stays alone at the foot of a page.
    const double necesita = alto(e) + (e.tipo == Elemento::Tipo::Encabezado ? linea_ : 0);
    if (!vacia && y + necesita > limite) break;
    colocar(e, p, y);
    if (e.tipo == Elemento::Tipo::Detalle) ++doc.filas;
    cola_.pop_front();
    vacia = false;
  }
  piePagina(p, paginas_);
  doc.paginas.push_back(std::move(p));
  if (!llenarCola()) doc.completo = true;
  return true;
}

}  // namespace engine
