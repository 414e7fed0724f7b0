#!/usr/bin/python3
"""Reads a spreadsheet back for the tests, as a spreadsheet program would:
an XLSX through openpyxl, a CSV through the csv module with ";" between
fields. Prints JSON: the sheet's name, its frozen cell, and its rows, each
cell [kind, value] (n number, f date and time in ISO form, s text) or null."""
import csv
import datetime
import io
import json
import sys


def celda(v):
    if v is None or v == "":
        return None
    if isinstance(v, bool):
        return ["b", v]
    if isinstance(v, (int, float)):
        return ["n", v]
    if isinstance(v, datetime.datetime):
        return ["f", v.isoformat()]
    if isinstance(v, datetime.date):
        return ["f", datetime.datetime.combine(v, datetime.time()).isoformat()]
    return ["s", str(v)]


ruta = sys.argv[1]
if ruta.lower().endswith(".xlsx"):
    import openpyxl
    libro = openpyxl.load_workbook(ruta)
    hoja = libro.active
    salida = {"hoja": hoja.title, "congelada": hoja.freeze_panes, "titulo": libro.properties.title,
              "filas": [[celda(v) for v in fila] for fila in hoja.iter_rows(values_only=True)]}
else:
    with open(ruta, "rb") as f:
        datos = f.read()
    texto = datos.decode("utf-8-sig")
    salida = {"bom": datos.startswith(b"\xef\xbb\xbf"),
              "filas": [[celda(v) for v in fila] for fila in csv.reader(io.StringIO(texto, newline=""), delimiter=";")]}
json.dump(salida, sys.stdout, ensure_ascii=False)
