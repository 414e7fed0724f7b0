#!/usr/bin/env bash
# Takes the pictures of this folder as a person would see them: the form on
# the demo database in a real window under Xvfb, and the first page of the
# report by business unit rendered from its PDF. Needs xvfb, x11-apps (xwd),
# netpbm and poppler-utils; run scripts/run once first (it builds the program
# and creates the demo database).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
dir="${KV_BUILD_DIR:-$top/build/release}"
export KORVANE_CONFIG_DIR="$dir/demo/config"
parametros="@Server=DEMO;@DbName=KORVANE;@Usuario=ADMIN;@Password=demo"
pantalla=:${KV_PANTALLA:-97}

Xvfb "$pantalla" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill "$xvfb" 2>/dev/null || true' EXIT
sleep 1
env -u QT_QPA_PLATFORM DISPLAY="$pantalla" "$dir/rp_usuarios" "$parametros" >/dev/null 2>&1 &
programa=$!
for _ in $(seq 50); do
  if DISPLAY="$pantalla" xwd -name "Reporte de Usuarios" -silent >/dev/null 2>&1; then break; fi
  sleep 0.2
done
sleep 1
DISPLAY="$pantalla" xwd -name "Reporte de Usuarios" -silent | xwdtopnm 2>/dev/null | pnmtopng > "$top/docs/rp_usuarios-formulario.png"
kill "$programa" 2>/dev/null || true

pdf=$(mktemp --suffix=.pdf)
QT_QPA_PLATFORM=offscreen "$dir/rp_usuarios" "$parametros" --agrupar=unidad --unidades=0001,0002,0003 \
  "--destino=pdf:$pdf" >/dev/null
pdftoppm -png -r 70 -f 1 -l 1 -singlefile "$pdf" "$top/docs/rp_usuarios-reporte"
rm -f "$pdf"
echo "docs/rp_usuarios-formulario.png docs/rp_usuarios-reporte.png"
