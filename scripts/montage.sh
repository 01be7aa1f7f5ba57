#!/bin/bash
# One picture per campaign of every level that has a solution: five moments of
# the solution (half a second in, a quarter, half, three quarters of the way
# and its last frame; the very first frame shows the camera still on its way)
# rendered by tumbo-sim --shot, a row per level, joined with
# ImageMagick's montage into docs/montage-<Campaign>.png.
# Usage: scripts/montage.sh [BUILD_DIR] [OUT_DIR]   (build and docs by default)
# Run from anywhere; the shots are taken from the source tree (media/ is read
# from there). Needs the imagemagick package.
set -u
src=$(cd "$(dirname "$0")/.." && pwd)
bin=$(cd "${1:-$src/build}" && pwd) || exit 1
out=${2:-$src/docs}
sim=$bin/tools/tumbo-sim
moments=5
[ -x "$sim" ] || { echo "montage.sh: no $sim (build tumbo-sim first)" >&2; exit 1; }
command -v montage >/dev/null || { echo "montage.sh: ImageMagick's montage is missing (apt-get install imagemagick)" >&2; exit 1; }
mkdir -p "$out" || exit 1
out=$(cd "$out" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$src" || exit 1
status=0
made=0

for dir in $(find campaigns -mindepth 1 -maxdepth 1 -type d -printf '%f\n' | LC_ALL=C sort); do
  tiles=()
  for level in $(find "campaigns/$dir" -mindepth 1 -maxdepth 1 -type f -printf '%f\n' | sort -n); do
    keys=tests/data/solutions/$dir/$level.keys
    [ -f "$keys" ] || continue
    # How long the solution takes, then the shots along it.
    end=$(timeout 120 "$sim" "campaigns/$dir/$level" --frames 7200 --every 100000 --keys "$keys" | tail -n 1)
    case "$end" in
      *result=levelcompleted) ;;
      *) echo "montage.sh: $dir/$level: the solution ends with '$end'; left out" >&2; status=1; continue ;;
    esac
    frames=${end#*frames=}
    frames=${frames%% *}
    shots=()
    files=()
    first=$((frames > 60 ? 30 : 1))
    for ((k = 0; k < moments; k++)); do
      f=$((first + (frames - first) * k / (moments - 1)))
      file=$work/$dir-$level-$k.png
      shots+=(--shot "$f:$file")
      files+=("$f:$file")
    done
    if ! timeout 300 "$sim" "campaigns/$dir/$level" --frames "$frames" --every 100000 --keys "$keys" --level "$level" "${shots[@]}" \
      >/dev/null; then
      echo "montage.sh: $dir/$level: tumbo-sim could not take its shots" >&2
      status=1
      continue
    fi
    for fl in "${files[@]}"; do
      tiles+=(-label "$dir $level: frame ${fl%%:*} of $frames" "${fl#*:}")
    done
  done
  [ ${#tiles[@]} -gt 0 ] || continue
  picture=$out/montage-$dir.png
  if timeout 300 montage "${tiles[@]}" -tile "${moments}x" -geometry 320x240+4+4 -background '#202020' \
    -fill '#e0e0e0' -pointsize 14 -title "$dir" -depth 8 "$picture"; then
    echo "$picture"
    made=$((made + 1))
  else
    echo "montage.sh: montage failed for $dir" >&2
    status=1
  fi
done
[ $made -gt 0 ] || { echo "montage.sh: no level with a solution under campaigns/" >&2; status=1; }
exit $status
