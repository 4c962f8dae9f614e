#!/usr/bin/env bash
# The pictures of the README and of the software-centre metadata: starts `tarven --demo` without a
# desktop (under Xvfb when it is installed, else on Qt's offscreen platform) with a configuration of
# its own (English, the default colour scheme, 1366 x 768), lets the program wait until the virtual
# controller has learnt both maps and grab every main tab and every OBD sub-tab it shows
# (--screenshot-dir), and puts the PNG files into docs/img/. Each picture must stay under 200 kB.
#
#   tools/screenshots.sh [BUILD_FOLDER]      (default build-release; tarven and tarven-sim built there)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-release}
out=docs/img
limit=$((200 * 1024))

for p in tarven tarven-sim; do
    [ -x "$build/$p" ] || { echo "screenshots: $build/$p is missing (cmake --build $build --target $p)" >&2; exit 1; }
done
# Without a font the text is drawn as empty boxes; Debian's fonts-dejavu-core is enough.
if ! fc-list 2>/dev/null | grep -qi dejavu; then
    echo "screenshots: no DejaVu font found: apt-get install fonts-dejavu-core" >&2
    exit 1
fi

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
# A fresh account: nothing stored, so the default colours and window; the documents folder in there.
export HOME="$scratch/home" XDG_CONFIG_HOME="$scratch/home/.config" XDG_DATA_HOME="$scratch/home/.local/share"
export XDG_RUNTIME_DIR="$scratch/run" LC_ALL=C.UTF-8 LANG=C.UTF-8
unset LANGUAGE
mkdir -p "$HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"

args=(--demo --lang en --screenshot-dir "$scratch/img")
if command -v xvfb-run >/dev/null 2>&1; then
    xvfb-run -a -s "-screen 0 1600x900x24" env QT_QPA_PLATFORM=xcb "$build/tarven" "${args[@]}"
else
    QT_QPA_PLATFORM=offscreen "$build/tarven" "${args[@]}"
fi

shopt -s nullglob
shots=("$scratch"/img/*.png)
[ ${#shots[@]} -gt 0 ] || { echo "screenshots: no picture was taken" >&2; exit 1; }
mkdir -p "$out"
rm -f "$out"/*.png
too_big=0
for f in "${shots[@]}"; do
    size=$(stat -c %s "$f")
    printf '%-28s %7d bytes\n' "$(basename "$f")" "$size"
    [ "$size" -lt "$limit" ] || { echo "screenshots: $(basename "$f") is over 200 kB" >&2; too_big=1; }
    cp "$f" "$out/"
done
exit "$too_big"
