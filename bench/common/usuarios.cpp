#include "bench/common/usuarios.h"

#include <QDate>

#include "bench/common/tabla_sqlite.h"

namespace banco {

void crearUsuarios(const QString& ruta, int filas) {
  crearTabla(ruta,
             "CREATE TABLE TA_USUARIOS (NOMBRE VARCHAR(30) COLLATE NOCASE, GRUPO VARCHAR(20) COLLATE NOCASE,"
             " UNEGOCIO CHAR(4), ESGRUPO BIT, ALTA DATETIME, SUELDO FLOAT)",
             "INSERT INTO TA_USUARIOS VALUES (?, ?, ?, 0, ?, ?)", filas, [](int i, Fila& f) {
               f.texto(1, QString("usuario%1").arg(i, 6, 10, QChar('0')));
               f.texto(2, QString("GRUPO %1").arg(i % 250, 3, 10, QChar('0')));
               f.texto(3, QString("%1").arg(i % 7, 4, 10, QChar('0')));
               f.texto(4, QDate(2020, 1, 1).addDays(i % 1500).toString("yyyy-MM-dd 00:00:00"));
               f.real(5, (i % 9973) * 1.25);
             });
}

const char* const kReporteUsuarios = R"({
  "titulo": "Usuarios por Grupo",
  "consulta": "SELECT NOMBRE, GRUPO, UNEGOCIO, ESGRUPO, ALTA, SUELDO FROM TA_USUARIOS",
  "orden": ["NOMBRE"],
  "grupos": [ { "campo": "GRUPO", "encabezado": "Grupo: {GRUPO}", "pie": "Usuarios del grupo: {cuenta}" } ],
  "columnas": [
    { "campo": "NOMBRE", "titulo": "Usuario", "ancho": 50 },
    { "campo": "UNEGOCIO", "titulo": "Unidad", "ancho": 20 },
    { "campo": "ALTA", "titulo": "Alta", "ancho": 30, "formato": "dd/MM/yyyy" },
    { "campo": "SUELDO", "titulo": "Sueldo", "ancho": 30, "formato": "#,##0.00" }
  ],
  "formulas": { "Parametros": "" }
})";

}  // namespace banco
