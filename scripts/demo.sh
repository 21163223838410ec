#!/usr/bin/env bash
# Builds the program and starts it on demo data: ./scripts/demo.sh
#
# The first run creates a demo agenda of a small firm in $KASOVKA_DEMO_DIR
# (default ~/KasovkaDemo) with `kasovka-hostdata demo` and keeps its launch
# parameters there; later runs reuse both. Under Czech locale conventions
# (cs_CZ: decimal comma, dates dd.MM.yyyy), as the host would start it.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/deps.sh
build=${BUILD_DIR:-build}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build" --target kasovka kasovka-hostdata --parallel "${JOBS:-$(nproc)}"

demo=${KASOVKA_DEMO_DIR:-$HOME/KasovkaDemo}
parameters="$demo/parametry.txt"
if [ ! -e "$demo" ]; then
  printed=$(mktemp)
  "$build/bin/kasovka-hostdata" demo "$demo" > "$printed"
  mv "$printed" "$parameters"
elif [ ! -s "$parameters" ]; then
  echo "Složka $demo už existuje, ale nejsou v ní parametry ukázkových dat ($parameters)." >&2
  echo "Smažte ji, nebo zvolte jinou: KASOVKA_DEMO_DIR=... $0" >&2
  exit 1
fi

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "Není k dispozici grafické prostředí (DISPLAY ani WAYLAND_DISPLAY)." >&2
  echo "Spusťte skript v grafickém sezení, nebo např.: xvfb-run -a $0" >&2
  exit 1
fi

# The host passes blank-separated groups ?NAME=value?NAME; the program joins
# its arguments again, so splitting at blanks keeps values with blanks.
read -r -a arguments < "$parameters"
echo "Spouštím Kasovku nad ukázkovými daty v $demo" >&2
# Qt takes the locale conventions from LANG even when the system has not
# generated that locale.
exec env -u LC_ALL LANG=cs_CZ.UTF-8 LANGUAGE=cs "$build/bin/kasovka" "${arguments[@]}"
