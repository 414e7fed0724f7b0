#pragma once
// Forms and controls were laid out in twips; the screen has 15 of them to the pixel.
#include <QRect>
#include <QSize>

namespace ui {

inline constexpr int kTwipsPorPixel = 15;

// Twips to pixels, rounded to the nearest pixel (halves away from zero).
constexpr int twips(int valor) {
  const long long t = valor;
  const long long m = kTwipsPorPixel / 2;
  return static_cast<int>(t >= 0 ? (t + m) / kTwipsPorPixel : -((-t + m) / kTwipsPorPixel));
}

// Pixels to twips.
constexpr int aTwips(int pixeles) { return pixeles * kTwipsPorPixel; }

inline QSize tamanoTwips(int ancho, int alto) { return {twips(ancho), twips(alto)}; }

// A control's Left, Top, Width and Height in twips as a pixel rectangle.
inline QRect rectTwips(int izquierda, int arriba, int ancho, int alto) {
  return {twips(izquierda), twips(arriba), twips(ancho), twips(alto)};
}

}  // namespace ui
