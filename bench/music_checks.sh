#!/usr/bin/env bash
# The music's figures: renders every piece as the build does, keeping the samples (--music-pcm),
# and prints per piece its length, peak, samples at full scale, RMS against the effects' typical
# level (the median of their RMS levels), the step across the loop's seam (last sample to first;
# for the jingles, which do not loop, only their faded end) against the piece's median and
# 95th-percentile steps between neighbouring samples, the OGG file's size, and the
# generator's time. With OUT_DIR it also draws a spectrogram of each piece there (sox).
#
#   bench/music_checks.sh [OUT_DIR]   (needs build/tools/cinder-arc-assets and sox)
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
gen=$root/build/tools/cinder-arc-assets
out=${1:-}
command -v sox > /dev/null || { echo "sox is missing (apt-get install sox)" >&2; exit 1; }
[ -x "$gen" ] || { echo "$gen: build it first (make)" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

start=$EPOCHREALTIME
"$gen" --assets "$root/assets" --out "$work/game" --music-pcm "$work/pcm"
end=$EPOCHREALTIME
awk -v s="$start" -v e="$end" 'BEGIN { printf "generator (artwork, sounds, stage, music): %.2f s\n", e - s }'

rms() { sox "$1" -n stats 2>&1 | awk '/RMS lev dB/ { print $4 }'; }
typical=$(for f in "$work"/game/sfx/*.wav; do rms "$f"; done | sort -g | awk '{ v[NR] = $1 } END { print (v[int((NR + 1) / 2)] + v[int(NR / 2) + 1]) / 2 }')
echo "effects' typical RMS (median of 14): $typical dBFS"

for wav in "$work"/pcm/*.wav; do
    name=$(basename "$wav" .wav)
    ogg=$work/game/music/$name.ogg
    # The samples as numbers, one a line, after the 44-byte header; the steps between
    # neighbours go to a file of their own to be sorted.
    tail -c +45 "$wav" | od -An -v -td2 -w2 > "$work/samples"
    awk 'NR > 1 { d = $1 - last; print d < 0 ? -d : d } { last = $1 }' "$work/samples" | sort -n > "$work/steps"
    median=$(awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }' "$work/steps")
    p95=$(awk '{ v[NR] = $1 } END { print v[int(NR * 0.95)] }' "$work/steps")
    awk -v name="$name" -v typical="$typical" -v ogg_bytes="$(stat -c %s "$ogg")" -v median="$median" -v p95="$p95" '
        NR == 1 { first = $1 }
        { a = $1 < 0 ? -$1 : $1; if (a > peak) peak = a; if (a >= 32767) full++; sum += $1 * $1; last = $1 }
        END {
            seam = first - last; seam = seam < 0 ? -seam : seam
            rms = 10 * log(sum / NR / 32768 / 32768) / log(10)
            printf "%-9s %5.1f s  peak %6.2f dBFS  full-scale samples %d  RMS %6.2f dBFS (%+.1f dB to the effects)  seam step %d (median step %d, p95 %d)  ogg %d kB\n",
                   name, NR / 44100, 20 * log(peak / 32768) / log(10), full + 0, rms, rms - typical, seam,
                   median, p95, ogg_bytes / 1000
        }' "$work/samples"
    if [ -n "$out" ]; then
        mkdir -p "$out"
        sox "$wav" -n spectrogram -x 1200 -y 400 -z 90 -t "$name" -o "$out/$name.png"
    fi
done
du -cb "$work"/game/music/*.ogg | awk 'END { printf "music folder: %.0f kB\n", $1 / 1000 }'
