#pragma once
// An image list: ordered images of one size, each with a tag, that trees and
// lists show by their 1-based position. A list that a control is using
// cannot be cleared nor resized, so that no control is left pointing at
// images that are gone.
#include <QIcon>
#include <QObject>
#include <QPixmap>
#include <QString>
#include <vector>

class ListaImagenes : public QObject {
  Q_OBJECT
 public:
  explicit ListaImagenes(QObject* parent = nullptr, int lado = 16);

  // Error numbers the list raises, as the platform's image list numbers them.
  static constexpr long kErrorLecturaConImagenes = 35611;  // resized while it holds images
  static constexpr long kErrorEnlazada = 35617;            // changed while a control uses it
  static constexpr long kErrorIndiceFuera = 35600;         // no image at that position

  int ImageWidth() const { return lado_; }
  int ImageHeight() const { return lado_; }
  // Images are square: 16 or 32 pixels (anything else is error 380). Only
  // an empty list, unbound, can change size.
  void setImageWidth(int lado) { setLado(lado); }
  void setImageHeight(int lado) { setLado(lado); }

  void Clear();
  // Adds the picture at the end, scaled to the list's size; returns its
  // position (1-based). A null picture is error 481.
  int Add(const QIcon& picture, const QString& tag = {});
  int Count() const { return static_cast<int>(imagenes_.size()); }

  // 1-based, error 35600 outside 1..Count().
  QString Tag(int indice) const;
  void setTag(int indice, const QString& tag);
  const QIcon& Picture(int indice) const;

  // Controls that use the list register here (the tree does it when the
  // list becomes its image list).
  void vincular(const QObject* control);
  void desvincular(const QObject* control);
  bool enUso() const { return !usuarios_.empty(); }

 private:
  struct Imagen {
    QIcon icono;
    QString tag;
  };
  void setLado(int lado);
  const Imagen& imagen(int indice) const;

  int lado_;
  std::vector<Imagen> imagenes_;
  std::vector<const QObject*> usuarios_;
};
