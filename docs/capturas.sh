#!/usr/bin/env bash
# Takes the pictures of this folder as a person would see them: the form on
# the demo database in a real window under Xvfb, the preview its "Pantalla"
# button opens (at "Ancho de página", the page across the window), and the
# first page of the report by business unit rendered from its PDF. Needs
# xvfb, xdotool, imagemagick (import) and poppler-utils, as the journey tests
# do; run scripts/run once first (it builds the program and creates the demo
# database).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
dir="${KV_BUILD_DIR:-$top/build/release}"
# A settings folder of its own, naming only the demo's alias: a zoom the
# preview remembered for this user does not change the pictures.
KORVANE_CONFIG_DIR=$(mktemp -d)
export KORVANE_CONFIG_DIR
printf '[Servidores]\nDEMO=sqlite:%s\n' "$dir/demo/datos" > "$KORVANE_CONFIG_DIR/CN000pr.INI"
parametros="@Server=DEMO;@DbName=KORVANE;@Usuario=ADMIN;@Password=demo"
pantalla=:${KV_PANTALLA:-97}

# The visible window titled $1, waited for.
ventana() {
  local id=""
  for _ in $(seq 50); do
    id=$(DISPLAY="$pantalla" xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1) && [[ -n "$id" ]] && break
    sleep 0.2
  done
  [[ -n "$id" ]] || { echo "no apareció la ventana \"$1\"" >&2; exit 1; }
  echo "$id"
}

# Grabs the window titled $1, once drawn, into $2.
capturar() {
  local id
  id=$(ventana "$1")
  sleep 1
  DISPLAY="$pantalla" import -window "$id" "png:$2"
}

Xvfb "$pantalla" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill "$xvfb" 2>/dev/null || true; rm -rf "$KORVANE_CONFIG_DIR"' EXIT
sleep 1
env -u QT_QPA_PLATFORM DISPLAY="$pantalla" "$dir/rp_usuarios" "$parametros" >/dev/null 2>&1 &
programa=$!
capturar "Reporte de Usuarios" "$top/docs/rp_usuarios-formulario.png"
# "Pantalla", the first button of the form's tool bar.
form=$(ventana "Reporte de Usuarios")
DISPLAY="$pantalla" xdotool mousemove --window "$form" 35 28 click 1
capturar "Usuarios por Grupo" "$top/docs/rp_usuarios-vista-previa.png"
kill "$programa" 2>/dev/null || true

pdf=$(mktemp --suffix=.pdf)
QT_QPA_PLATFORM=offscreen "$dir/rp_usuarios" "$parametros" --agrupar=unidad --unidades=0001,0002,0003 \
  "--destino=pdf:$pdf" >/dev/null
pdftoppm -png -r 70 -f 1 -l 1 -singlefile "$pdf" "$top/docs/rp_usuarios-reporte"
rm -f "$pdf"
echo "docs/rp_usuarios-formulario.png docs/rp_usuarios-vista-previa.png docs/rp_usuarios-reporte.png"
