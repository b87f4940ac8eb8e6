#!/usr/bin/env bash
# Generates everything under data/: config.ini, the theme files default.ini
# (the sunny meadow) and night.ini (the meadow by night), the English and
# German language, help and story files, every picture and sound of both
# themes (data/themes/meadow/, data/themes/night/) and the desktop icon
# data/meadowgunner.png, and the glyph sheet chart docs/numbers_sheet.png of
# the theme author's guide.  Running it again reproduces the same files.
#
# Debian packages it needs (it installs nothing itself):
#   python3, python3-pil, python3-numpy   drawing, texts and raw sound synthesis
#   sox                                   filtering, resampling, normalising sounds
#   fonts-dejavu-core                     DejaVu Sans Bold: the glyph sheets
#   fonts-leckerli-one                    Leckerli One: title and result banners
# e.g.  apt-get install python3 python3-pil python3-numpy sox fonts-dejavu-core fonts-leckerli-one
#
# usage: tools/make_theme.sh [--preview DIR]
#   --preview DIR  also compose mock screens (a match, the menus, the text
#                  screens, the banners mid-shimmer) of each theme into
#                  DIR/meadow and DIR/night for a look.

set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
DATA="$ROOT/data"
TOOLS="$ROOT/tools/theme"
# Debian's interpreter, which is where python3-pil and python3-numpy live
PY="${PYTHON:-/usr/bin/python3}"

PREVIEW=""
if [[ $# -gt 0 ]]; then
    if [[ $1 == --preview && $# -eq 2 ]]; then
        PREVIEW="$2"
    else
        sed -n '2,18p' "$0" >&2
        exit 2
    fi
fi

missing=()
[[ -x $PY ]] && "$PY" -c 'import PIL, numpy' 2>/dev/null || missing+=("python3-pil python3-numpy")
command -v sox >/dev/null || missing+=(sox)
[[ -f /usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf ]] || missing+=(fonts-dejavu-core)
[[ -f /usr/share/fonts/truetype/leckerli-one/LeckerliOne-Regular.ttf ]] ||
    missing+=(fonts-leckerli-one)
if [[ ${#missing[@]} -gt 0 ]]; then
    echo "make_theme.sh: please install: ${missing[*]}" >&2
    exit 1
fi

export PYTHONDONTWRITEBYTECODE=1
export PYTHONHASHSEED=0

mkdir -p "$DATA"

echo "texts ..."
"$PY" "$TOOLS/make_texts.py" "$DATA"

RAW="$(mktemp -d)"
trap 'rm -rf "$RAW"' EXIT
# Each look is drawn and voiced into its own folder; only the meadow brings the icon.
for look in meadow night; do
    THEME="$DATA/themes/$look"
    echo "$look: pictures ..."
    icon=()
    [[ $look == meadow ]] && icon=("$DATA/meadowgunner.png")
    "$PY" "$TOOLS/make_pictures.py" "$look" "$THEME" "${icon[@]}"

    echo "$look: sounds ..."
    "$PY" "$TOOLS/make_sounds.py" "$RAW/$look" "$look"
    # sound name : peak level in dB below full scale
    for entry in shot:-2 explosion:-1 sheep1:-3 sheep2:-3 sheep3:-3; do
        name="${entry%%:*}"
        level="${entry#*:}"
        # -R: repeatable, -D: no dither; 16-bit mono 11025 Hz, nothing above 3.8 kHz
        sox -R -D "$RAW/$look/$name.wav" -b 16 -c 1 "$THEME/$name.wav" \
            highpass 40 lowpass 3800 rate -v 11025 gain -n "$level"
    done
done

echo "checking ..."
"$PY" "$TOOLS/check_theme.py" "$DATA"

echo "guide picture ..."
"$PY" "$TOOLS/sheet_chart.py" "$DATA/themes/meadow/numbers.png" numbers "$ROOT/docs/numbers_sheet.png"

if [[ -n $PREVIEW ]]; then
    echo "preview ..."
    "$PY" "$TOOLS/preview.py" "$DATA" "$PREVIEW/meadow" default.ini
    "$PY" "$TOOLS/preview.py" "$DATA" "$PREVIEW/night" night.ini
fi
echo "done: $DATA"
