#pragma once
// A laid-out report: pages of drawing primitives in decipoints (1/720 inch),
// painted the same way to the preview, the printer and PDF files.
#include <QFont>
#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <memory>
#include <vector>

namespace engine {

constexpr double kUnidadesPorPulgada = 720.0;
constexpr double kUnidadesPorMm = kUnidadesPorPulgada / 25.4;

// Stands for the page count inside a text until the count is known.
constexpr char16_t kMarcaTotal = u'\uFFFC';

enum Letra : unsigned char { kNormal = 0, kNegrita = 1, kTitulo = 2, kCursiva = 3, kCantidadLetras = 4 };

struct Primitiva {
  enum class Clase : unsigned char { Texto, Linea };
  Clase clase = Clase::Texto;
  unsigned char letra = kNormal;
  bool conTotal = false;  // the text holds kMarcaTotal
  QPointF origen;         // Texto: left end of the baseline; Linea: start
  QPointF fin;            // Linea: end
  QString texto;
};

struct Pagina {
  std::vector<Primitiva> elementos;
};

// The fonts of a report, sized in decipoints so that metrics taken while
// laying out hold on every device the pages are painted to.
class Letras {
 public:
  Letras() = default;
  Letras(const QString& familia, double puntos);
  const QFont& fuente(int letra) const { return fuentes_[letra]; }
  double alto(int letra) const { return altos_[letra]; }
  double ascenso(int letra) const { return ascensos_[letra]; }
  // A text's width: summed from a table of advances for Latin letters (the
  // fonts have no kerning), measured by Qt for anything else.
  double ancho(int letra, const QString& s) const;

 private:
  static constexpr int kTabla = 0x250;
  std::shared_ptr<const std::vector<float>> avances_[kCantidadLetras];
  QFont fuentes_[kCantidadLetras];
  double altos_[kCantidadLetras] = {};
  double ascensos_[kCantidadLetras] = {};
};

// A laid-out report: its pages are found first and composed when painted,
// so that only the page being painted is ever held as primitives.
class Documento {
 public:
  virtual ~Documento() = default;

  QString titulo;
  QSizeF tamano;  // page size in decipoints
  Letras letras;

  virtual int paginas() const = 0;    // pages laid out so far
  virtual bool completo() const = 0;  // the last page has been laid out
  virtual long filas() const = 0;     // detail rows laid out so far
  // The primitives of page `indice` (0-based, below paginas()), into `pagina`.
  virtual void componer(int indice, Pagina& pagina) const = 0;
};

}  // namespace engine
