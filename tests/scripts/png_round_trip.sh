#!/usr/bin/env bash
# png_round_trip.sh CLI SAMPLE_TOOL [SCALE]: on a fresh installation of that scale, every sprite
# and tile member is extracted as PNGs and as sheets and packed again, and the sprite files must
# equal the members byte for byte: as written, after ImageMagick turned every PNG into true
# colour (PNG24, PNG32), which makes the packing map colours back. ImageMagick must also read
# every PNG as the BMP of the same sub-image shows: same size, same colours pixel for pixel.
# Exits 77 (skipped) without ImageMagick.
set -euo pipefail
cli="$1" sample="$2" scale="${3:-1}"
convert_tool=$(command -v convert-im6.q16 || command -v convert || true)
mogrify_tool=$(command -v mogrify-im6.q16 || command -v mogrify || true)
if [ -z "$convert_tool" ] || [ -z "$mogrify_tool" ]; then
  echo "ImageMagick is missing: skipped"
  exit 77
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$sample" "$work/DATA" --scale "$scale" >/dev/null
mkdir "$work/program"
run() { "$cli" --data "$work/DATA" --program-dir "$work/program" "$@"; }
run extract pal --all >/dev/null
failures=0
fail() { echo "FAILED: $*"; failures=$((failures + 1)); }

# kind (shp|til), its sets' word (icons|tiles), its folder
for kinds in "shp icons ICONS" "til tiles TILES"; do
  read -r kind sets folder <<<"$kinds"
  pictures="$work/DATA/TOVRIN_PFP/$folder/BMPFILES"
  members="$work/members-$folder"
  # The members as extracted (BMPs too, for ImageMagick to compare with).
  run extract "$kind" --all --format bmp >/dev/null
  mkdir -p "$members" && mv "$work/DATA/TOVRIN_PFP/$folder/"*.SHP "$members/"
  mv "$pictures" "$work/bmp-$folder"
  for format in png sheet; do
    for conversion in none PNG24 PNG32; do
      rm -rf "$pictures"
      run extract "$kind" --all --format "$format" >/dev/null
      rm "$work/DATA/TOVRIN_PFP/$folder/"*.SHP  # extraction copies the members out too
      if [ "$format" = png ] && [ "$conversion" = none ]; then
        # Every PNG as ImageMagick reads it equals its BMP: size, colours, pixels (the pictures
        # of one member read by one process, one after another).
        for member in "$members"/*.SHP; do
          name=$(basename "$member" .SHP)
          pngs=$(cd "$pictures" && ls "$name"_?????.PNG 2>/dev/null || true)
          [ -n "$pngs" ] || continue
          # shellcheck disable=SC2086  # the names hold no blanks
          [ "$(cd "$pictures" && "$convert_tool" $pngs -alpha off -format '%wx%h ' -write info:- rgb:- | md5sum)" = \
            "$(cd "$work/bmp-$folder" && "$convert_tool" ${pngs//.PNG/.BMP} -format '%wx%h ' -write info:- rgb:- | md5sum)" ] ||
            fail "the PNGs of $name are not read as its BMPs"
        done
      fi
      if [ "$conversion" != none ]; then
        # (xargs: the largest installation has more PNGs than one command line takes)
        find "$pictures" -name '*.PNG' -print0 | xargs -0 "$mogrify_tool" \
          -define png:format="${conversion,,}" \
          -define png:color-type="$([ "$conversion" = PNG24 ] && echo 2 || echo 6)"
      fi
      run repack "$sets" --all >/dev/null || fail "repack $sets from $format ($conversion)"
      for member in "$members"/*.SHP; do
        cmp -s "$member" "$work/DATA/TOVRIN_PFP/$folder/$(basename "$member")" ||
          fail "$(basename "$member") from $format ($conversion)"
      done
      echo "$kind: $(find "$members" -name '*.SHP' | wc -l) members packed again from $format ($conversion)"
    done
  done
done
[ "$failures" -eq 0 ]
