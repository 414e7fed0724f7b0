#pragma once
// Elements found by their key (`QStringView claveVista() const`): an open
// addressing table of the elements' positions in their own container, with
// each key's hash beside it. The keys stay in the elements, so that none is
// stored twice, and growing the table never hashes a key again. Eight bytes
// a slot, at most three quarters of them in use.
//
//   const quint32 h = TablaPorClave::hashDe(clave);
//   if (tabla.buscar(clave, h, nodos) < 0) { nodos.push_back(...); tabla.insertar(h, nodos.size() - 1); }
#include <QHash>
#include <QString>
#include <algorithm>
#include <cstdint>
#include <vector>

class TablaPorClave {
 public:
  static quint32 hashDe(QStringView clave) { return static_cast<quint32>(qHash(clave)); }

  // The position among `elementos` of the one with that key; -1 for none.
  template <class Elementos>
  qsizetype buscar(QStringView clave, quint32 h, const Elementos& elementos) const {
    if (ocupadas_ == 0) return -1;
    for (size_t i = h & mascara_;; i = (i + 1) & mascara_) {
      const Ranura& r = ranuras_[i];
      if (r.posicion == 0) return -1;
      if (r.hash == h && elementos[r.posicion - 1].claveVista() == clave) return qsizetype(r.posicion) - 1;
    }
  }

  // The key at that position must not be in the table yet. Nothing changes
  // when it throws.
  void insertar(quint32 h, size_t posicion) {
    if ((ocupadas_ + 1) * 4 > ranuras_.size() * 3) crecer();
    colocar({h, static_cast<quint32>(posicion + 1)});
    ++ocupadas_;
  }

  void vaciar() {
    ranuras_ = {};
    mascara_ = 0;
    ocupadas_ = 0;
  }

 private:
  struct Ranura {
    quint32 hash = 0;
    quint32 posicion = 0;  // 1-based; 0 for a free slot
  };

  void colocar(Ranura r) {
    size_t i = r.hash & mascara_;
    while (ranuras_[i].posicion) i = (i + 1) & mascara_;
    ranuras_[i] = r;
  }

  void crecer() {
    std::vector<Ranura> nuevas(std::max<size_t>(16, ranuras_.size() * 2));
    std::swap(nuevas, ranuras_);
    mascara_ = ranuras_.size() - 1;
    for (const Ranura& r : nuevas)
      if (r.posicion) colocar(r);
  }

  std::vector<Ranura> ranuras_;  // a power of two of them
  size_t mascara_ = 0;
  size_t ocupadas_ = 0;
};
