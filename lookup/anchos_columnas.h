#pragma once
// The column-width file of the list lookup ("CONSULTASLEN.QZX"): one line per
// table, two quoted fields as the runtime's Write wrote them, the table and
// its widths in twips each followed by "|" ("TABLA","1440|2880|").
#include <QString>
#include <QStringList>
#include <vector>

// The fields of one line; a field without its closing quote runs to the end.
QStringList camposLinea(const QString& linea);

// Widest column a width file may ask for, in twips, when the caller names no
// narrower bound. A file written by hand or broken can hold any number.
inline constexpr int kAnchoMaximoColumna = 999999;

// The widths of the first `columnas` columns from the second field of a line:
// the text before each "|" read as a number (a text that is no number gives
// 0). A line with fewer widths gives fewer: the columns after them keep their
// own. A width above `maximo` is `maximo` (a column never wider than the
// screen); a negative one is -1, no width at all: that column keeps its own.
std::vector<int> anchosLinea(const QString& anchos, int columnas, int maximo = kAnchoMaximoColumna);
