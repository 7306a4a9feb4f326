#!/bin/bash
# Moves the host's flat host/src and host/include/host into folders by layer, with git
# mv, and rewrites the includes of the host's private headers to their new folders.
# Run from the repository's top; safe to run again (what is moved already stays).
# A file the table below does not name is reported and left where it is: give it a
# layer here, and run again. tools/check_layers.py then checks the includes.
#
# Public headers:  host/include/host/X.h  ->  host/include/LAYER/host/X.h
#   (each host/include/LAYER is on the include path, so "host/X.h" still finds them,
#   and installed they all land in include/zuzided/host as before)
# Sources and private headers:  host/src/X  ->  host/src/LAYER/X
#   (private headers are included as "LAYER/X.h" from host/src)
set -euo pipefail
cd "$(git rev-parse --show-toplevel)"

declare -A LAYER=(
  # base: the object model every other layer stands on
  [Types.h]=base [Classes.h]=base [Classes.cpp]=base [HeldValue.h]=base [ObjectMemory.cpp]=base
  # paint: pictures, brushes, the canvas, text, paths
  [Graphics.h]=paint [Graphics.cpp]=paint [Canvas.h]=paint [Canvas.cpp]=paint
  [TextLayout.h]=paint [TextLayout.cpp]=paint [TextShaping.h]=paint [TextShaping.cpp]=paint
  [PathData.cpp]=paint [AlphaShape.h]=paint [AlphaShape.cpp]=paint
  [WebdingsSymbols.h]=paint [WebdingsSymbols.cpp]=paint [PaintGeometry.h]=paint
  # core: the control tree, layout, forms, the application and its platform, timers
  [Objects.h]=core [Objects.cpp]=core [Controls.h]=core [Controls.cpp]=core
  [Layout.h]=core [Layout.cpp]=core [Forms.h]=core [Forms.cpp]=core [FormPainter.h]=core [FormPainter.cpp]=core [FormOptions.h]=core
  [Application.cpp]=core [Platform.h]=core [Timers.h]=core [Timers.cpp]=core
  [Effects.h]=core [Effects.cpp]=core [Accessibility.h]=core [Accessibility.cpp]=core
  [Dialogs.h]=core [Styles.h]=core [Styles.cpp]=core
  # input: raw platform input into the host's mouse and key dispatch
  [InputRouter.h]=input [PointerDispatch.h]=input [PointerDispatch.cpp]=input [InputRouter.cpp]=input [Keys.h]=input
  [WindowGesture.h]=input [WindowGesture.cpp]=input
  # controls: the primitive controls
  [Shapes.h]=controls [Shapes.cpp]=controls [StdCtrls.h]=controls [StdCtrls.cpp]=controls
  [Buttons.h]=controls [Buttons.cpp]=controls [ImageList.h]=controls [ImageList.cpp]=controls
  # stored: class registry and descriptions, the text format, reader, writer, palette
  [Registry.h]=stored [Registry.cpp]=stored [Streaming.h]=stored [FormText.h]=stored
  [FormParser.cpp]=stored [FormReader.cpp]=stored [FormWriter.cpp]=stored
  [HostProps.h]=stored [HostClasses.cpp]=stored [FormProperties.cpp]=stored
  [ClassDescriptions.cpp]=stored [Packages.h]=stored [Packages.cpp]=stored
)

unplaced=()
for path in host/src/*.cpp host/src/*.h host/include/host/*.h; do
  [ -e "$path" ] || continue
  name=$(basename "$path")
  layer=${LAYER[$name]:-}
  if [ -z "$layer" ]; then
    unplaced+=("$path")
    continue
  fi
  case "$path" in
    host/include/*) dest=host/include/$layer/host ;;
    *) dest=host/src/$layer ;;
  esac
  mkdir -p "$dest"
  git mv "$path" "$dest/$name"
done

# Private headers: "X.h" -> "LAYER/X.h" wherever the host's sources name them.
for private in host/src/*/*.h; do
  name=$(basename "$private")
  layer=$(basename "$(dirname "$private")")
  grep -rlE "#include \"$name\"" host/src | while read -r f; do
    sed -i -E "s|#include \"$name\"|#include \"$layer/$name\"|" "$f"
  done
done

if [ ${#unplaced[@]} -gt 0 ]; then
  echo "not placed in a layer (add them to tools/move_host_to_layers.sh):" "${unplaced[@]}" >&2
  exit 1
fi
