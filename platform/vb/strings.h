#pragma once
// Text functions with the platform's rules: positions are 1-based, 0 means
// "not found", and a negative length is error 5. A text comparison ignores
// letter case by folding each character (so "MENÚ" matches "menú" and "Ñ"
// matches "ñ") but keeps accents: "a" and "á" stay different.
#include <QString>

namespace vb {

enum Comparacion : int {
  vbBinaryCompare = 0,  // code by code
  vbTextCompare = 1,    // letter case ignored
};

// Only blanks (spaces) are removed, not tabs or line breaks.
QString Trim(const QString& s);
QString LTrim(const QString& s);
QString RTrim(const QString& s);

QString UCase(const QString& s);
QString LCase(const QString& s);
long Len(const QString& s);

QString Left(const QString& s, long largo);
QString Right(const QString& s, long largo);
// From the 1-based position inicio to the end, or at most largo characters.
// Error 5 when inicio < 1 or largo < 0.
QString Mid(const QString& s, long inicio);
QString Mid(const QString& s, long inicio, long largo);
// A run of largo blanks.
QString Space(long largo);
// largo copies of the first character of c (error 5 when c is empty).
QString StringDe(long largo, const QString& c);

// 1-based position of buscado in s from inicio on, 0 when absent. An empty
// buscado is found at inicio (when inicio is within s or just past it).
// Error 5 when inicio < 1.
long InStr(const QString& s, const QString& buscado, Comparacion comp = vbBinaryCompare);
long InStr(long inicio, const QString& s, const QString& buscado, Comparacion comp = vbBinaryCompare);
// The last occurrence that starts at or before inicio (-1: the whole text).
long InStrRev(const QString& s, const QString& buscado, long inicio = -1, Comparacion comp = vbBinaryCompare);

// Every occurrence of buscado, left to right without overlaps, becomes
// reemplazo. As the platform does, the result starts at inicio (the part
// before it is dropped); cuantos = -1 replaces all. An empty buscado leaves
// the text as it is.
QString Replace(const QString& s, const QString& buscado, const QString& reemplazo, long inicio = 1, long cuantos = -1,
                Comparacion comp = vbBinaryCompare);

// -1, 0 or 1 as a sorts before, equal to or after b.
int StrComp(const QString& a, const QString& b, Comparacion comp = vbBinaryCompare);

// True when a and b are equal, letter case ignored.
bool igualesTexto(const QString& a, const QString& b);

// The Like operator: * any run, ? one character, # one digit, [abc] [a-z]
// [!abc] one character of (or not of) a set. Error 93 for an unclosed "[".
bool Like(const QString& texto, const QString& patron, Comparacion comp = vbBinaryCompare);

}  // namespace vb
