#pragma once
// Spreadsheets written by the program, read back by a real reader: Debian's
// openpyxl for XLSX, Python's csv module for CSV (tests/support/leer_hoja.py).
// Header-only: the script is found through the test program's KV_SOURCE_DIR.
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <vector>

namespace prueba {

struct Celda {
  QString tipo;  // "n" number, "f" date (valor in ISO form), "s" text, "b" logical; empty for a blank cell
  QJsonValue valor;
  QString texto() const { return valor.isString() ? valor.toString() : QString(); }
};

struct Hoja {
  QJsonObject datos;  // "hoja", "congelada", "titulo" (XLSX); "bom" (CSV)
  std::vector<std::vector<Celda>> filas;
};

inline Hoja leerHoja(const QString& ruta) {
  Hoja h;
  QProcess p;
  p.start(QStringLiteral("/usr/bin/python3"), {QStringLiteral(KV_SOURCE_DIR "/tests/support/leer_hoja.py"), ruta});
  if (!p.waitForFinished(60000) || p.exitCode() != 0) {
    ADD_FAILURE() << "no se pudo leer " << ruta.toStdString() << ": " << p.readAllStandardError().toStdString();
    return h;
  }
  h.datos = QJsonDocument::fromJson(p.readAllStandardOutput()).object();
  for (const QJsonValue& fila : h.datos.value(QStringLiteral("filas")).toArray()) {
    std::vector<Celda> celdas;
    for (const QJsonValue& c : fila.toArray()) {
      if (c.isNull())
        celdas.push_back({});
      else
        celdas.push_back({c.toArray().at(0).toString(), c.toArray().at(1)});
    }
    h.filas.push_back(std::move(celdas));
  }
  return h;
}

}  // namespace prueba
