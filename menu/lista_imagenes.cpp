#include "menu/lista_imagenes.h"

#include <algorithm>

#include "platform/ui/icono_diferido.h"
#include "platform/vb/error.h"

namespace {

[[noreturn]] void fueraDeRango() {
  throw vb::Error(ListaImagenes::kErrorIndiceFuera, QStringLiteral("Índice fuera de los límites"));
}

}  // namespace

ListaImagenes::ListaImagenes(QObject* parent, int lado) : QObject(parent), lado_(16) { setLado(lado); }

void ListaImagenes::setLado(int lado) {
  if (lado == lado_) return;
  if (lado != 16 && lado != 32) throw vb::Error(vb::kInvalidPropertyValue);
  if (enUso())
    throw vb::Error(
        kErrorEnlazada,
        QStringLiteral("No se puede modificar la lista de imágenes mientras otro control está enlazado a ella"));
  if (!imagenes_.empty())
    throw vb::Error(kErrorLecturaConImagenes,
                    QStringLiteral("La propiedad es de sólo lectura si la lista de imágenes contiene imágenes"));
  lado_ = lado;
}

void ListaImagenes::Clear() {
  if (enUso())
    throw vb::Error(
        kErrorEnlazada,
        QStringLiteral("No se puede modificar la lista de imágenes mientras otro control está enlazado a ella"));
  imagenes_.clear();
}

namespace {

// The picture drawn from the one given, at the size asked for, the first
// time that size is shown. The controls ask for the list's size times the
// screen's ratio; the given picture is stretched when it has nothing that
// large, so every control shows the same square.
class ImagenDeLista final : public ui::IconoDiferido {
 public:
  ImagenDeLista(QIcon fuente, int lado) : fuente_(std::move(fuente)), lado_(lado) {}
  QIconEngine* clone() const override { return new ImagenDeLista(*this); }
  QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override { return {QSize(lado_, lado_)}; }

 protected:
  QImage dibujar(const QSize& tamano) const override {
    const QPixmap p = fuente_.pixmap(tamano, 1.0);
    if (p.isNull()) return {};
    const QImage imagen = p.toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
    if (imagen.size() == tamano) return imagen;
    return imagen.scaled(tamano, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  }

 private:
  QIcon fuente_;
  int lado_;
};

}  // namespace

int ListaImagenes::Add(const QIcon& picture, const QString& tag) {
  if (picture.isNull()) throw vb::Error(vb::kInvalidPicture);
  imagenes_.push_back({QIcon(new ImagenDeLista(picture, lado_)), tag});
  return Count();
}

const ListaImagenes::Imagen& ListaImagenes::imagen(int indice) const {
  if (indice < 1 || indice > Count()) fueraDeRango();
  return imagenes_[static_cast<size_t>(indice - 1)];
}

QString ListaImagenes::Tag(int indice) const { return imagen(indice).tag; }

void ListaImagenes::setTag(int indice, const QString& tag) {
  if (indice < 1 || indice > Count()) fueraDeRango();
  imagenes_[static_cast<size_t>(indice - 1)].tag = tag;
}

const QIcon& ListaImagenes::Picture(int indice) const { return imagen(indice).icono; }

void ListaImagenes::vincular(const QObject* control) {
  if (std::find(usuarios_.begin(), usuarios_.end(), control) == usuarios_.end()) usuarios_.push_back(control);
}

void ListaImagenes::desvincular(const QObject* control) {
  usuarios_.erase(std::remove(usuarios_.begin(), usuarios_.end(), control), usuarios_.end());
}
