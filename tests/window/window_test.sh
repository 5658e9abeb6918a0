#!/usr/bin/env bash
# The real game in a real window, on a virtual X display: the window's title, its client size in
# each display mode (F2 steps 2 -> 1 -> 0 -> 2), a screenshot of the title scene, and Escape
# ending the game with exit code 0.
# Usage: window_test.sh MARLOVEK_BINARY SOURCE_DIR OUTPUT_DIR   (run under xvfb-run)
set -u
game=$1 source=$2 out=$3
mkdir -p "$out"
cd "$source" || exit 1
export SDL_AUDIODRIVER=dummy   # no sound card here; the game runs silent either way
fail() { echo "window test: $*"; kill "$pid" 2>/dev/null; exit 1; }

"$game" 2>"$out/stderr.txt" &
pid=$!
wid=$(timeout 10 xdotool search --sync --name '^ - Marlovek - $' | head -n 1)
[ -n "$wid" ] || fail "no window titled ' - Marlovek - '"
title=$(xdotool getwindowname "$wid")
[ "$title" = " - Marlovek - " ] || fail "title is '$title'"

size() { xwininfo -id "$wid" | awk '/Width:/{w=$2} /Height:/{h=$2} END{print w "x" h}'; }
expect_size() {
    local want=$1 got
    for _ in $(seq 50); do got=$(size); [ "$got" = "$want" ] && return 0; sleep 0.1; done
    fail "client size $got, expected $want ($2)"
}
key() { xdotool windowfocus --sync "$wid" 2>/dev/null; xdotool key --clearmodifiers "$1"; }

expect_size 640x480 "mode 2 at start"
sleep 2.5   # the title's fade-in (52 frames) and part of the logo's
if command -v import >/dev/null; then
    import -window "$wid" "$out/title.png" || fail "no screenshot"
    # The title scene is sea, sea bed and logo: many colours, never a blank picture.
    colours=$(identify -format '%k' "$out/title.png")
    [ "$colours" -ge 16 ] || fail "the screenshot has only $colours colours"
fi
key F2; expect_size 320x240 "F2 from mode 2 gives mode 1"
key F1; expect_size 640x480 "F1 from mode 1 gives mode 2"
key Escape
for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$pid" 2>/dev/null && fail "Escape did not end the game"
wait "$pid"; code=$?
[ "$code" -eq 0 ] || fail "exit code $code after Escape"
echo "window test: passed"
