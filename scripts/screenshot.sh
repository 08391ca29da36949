#!/bin/sh
# Takes docs/screenshot.png, the picture that the desktop's software centres show: the
# built program under openbox on an X server of its own, after "Calculer", the pointer
# resting on the result. Run ./scripts/setup.sh first.
set -eu
cd "$(dirname "$0")/.."
work=$(mktemp -d)
cp build/app/morphocalcule build/app/Corpidex.hlp "$work/"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
xvfb=$!
trap 'kill $program $openbox $xvfb 2>/dev/null; rm -rf "$work"' EXIT INT TERM
program=""
openbox=""
while [ ! -s "$work/display" ]; do sleep 0.1; done
DISPLAY=":$(cat "$work/display")"
export DISPLAY
openbox --sm-disable &
openbox=$!
sleep 1
LC_ALL=fr_FR.UTF-8 "$work/morphocalcule" &
program=$!
until window=$(xdotool search --onlyvisible --class TPrincipale 2>/dev/null | head -n 1) &&
    [ -n "$window" ]; do sleep 0.1; done
xdotool windowactivate --sync "$window" mousemove --window "$window" 30 30 click 1
xdotool mousemove --window "$window" 100 185
sleep 1.5 # the tooltip shows after the pointer has rested
# The frame's extents: left, right, top, bottom.
set -- $(xprop -id "$window" _NET_FRAME_EXTENTS | tr -dc '0-9 ')
left=$1 top=$3
x=$(xwininfo -id "$window" | awk '/Absolute upper-left X/ {print $4}')
y=$(xwininfo -id "$window" | awk '/Absolute upper-left Y/ {print $4}')
width=$(($(xwininfo -id "$window" | awk '/Width/ {print $2}') + $1 + $2))
height=$(($(xwininfo -id "$window" | awk '/Height/ {print $2}') + $3 + $4))
import -window root -crop "${width}x${height}+$((x - left))+$((y - top))" +repage docs/screenshot.png
echo "docs/screenshot.png: ${width}x${height}"
