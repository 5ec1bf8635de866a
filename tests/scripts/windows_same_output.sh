#!/usr/bin/env bash
# windows_same_output.sh LINUX_CLI LINUX_SAMPLE WINDOWS_CLI WINDOWS_SAMPLE: makes the sample
# installation with each sample tool and runs the same commands with each command line, the
# Windows programs under Wine: making the sample, listing, palettes, extracting (BMP, PNG,
# sheet), repacking an edited set, inserting sprite files, unit descriptions out and in,
# restoring, checking and rendering. The two trees must be the same byte for byte, and so must
# what the commands printed, once each side's own folder is taken out of it and '\' read as '/'.
set -euo pipefail
linux_cli="$1" linux_sample="$2" windows_cli="$3" windows_sample="$4"
wine=$(command -v wine64 || command -v wine || echo /usr/lib/wine/wine64)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# A path of this machine as a Windows program under Wine names it (drive Z: is the root).
windows_path() { printf 'Z:%s' "${1//\//\\}"; }

# run SIDE ARG...: the side's program on its installation; what it printed is kept with '\' as
# '/' and the side's folder as "@/".
run() {
  local side="$1"
  shift
  local root="$work/$side/" status=0
  if [ "$side" = linux ]; then
    "$linux_cli" --data "${root}DATA" --program-dir "${root}program" "$@" >"$work/said" 2>&1 ||
      status=$?
  else
    local args=() arg
    for arg in "$@"; do
      case "$arg" in
        "$work"/*) args+=("$(windows_path "$arg")") ;;
        *) args+=("$arg") ;;
      esac
    done
    "$wine" "$windows_cli" --data "$(windows_path "${root}DATA")" \
      --program-dir "$(windows_path "${root}program")" "${args[@]}" >"$work/said" 2>&1 ||
      status=$?
    root="Z:$root"
  fi
  tr '\\' '/' <"$work/said" | sed "s|$root|@/|g" >>"$work/$side.out"
  echo "== exit $status: ${*//$work\/$side\//@/}" >>"$work/$side.out"
}

for side in linux windows; do
  mkdir -p "$work/$side/program"
  if [ "$side" = linux ]; then
    "$linux_sample" "$work/$side/DATA" >"$work/said"
  else
    "$wine" "$windows_sample" "$(windows_path "$work/$side/DATA")" >"$work/said"
  fi
  tr '\\' '/' <"$work/said" | sed "s|\(Z:\)*$work/$side/|@/|g" >"$work/$side.out"
  data="$work/$side/DATA"
  run "$side" list
  run "$side" palettes
  run "$side" extract pal --all
  run "$side" palettes
  run "$side" list shp
  run "$side" extract shp --all
  run "$side" extract til --all
  run "$side" sets icons
  # One pixel of one picture edited, the same on both sides.
  printf '\007' | dd of="$data/TOVRIN_PFP/ICONS/BMPFILES/UNITICON_00001.BMP" bs=1 seek=1100 \
    conv=notrunc status=none
  run "$side" repack icons --all
  run "$side" repack tiles T_FRT_DD
  run "$side" extract til T_FRT_DD --format png
  run "$side" extract shp BUTTONS --format sheet
  run "$side" insert "$data/TOVRIN_PFP/ICONS/UNITICON.SHP" "$data/TOVRIN_PFP/TILES/T_FRT_DD.SHP"
  run "$side" render shp UNITICON --frame 1 --zoom 3 --png "$work/$side/uniticon.png"
  run "$side" extract-units
  run "$side" insert-units "$data/EXTRACTS"
  run "$side" restore
  run "$side" check
  run "$side" extract til NOSUCHTILE
  run "$side" insert "$work/$side/missing.shp"
done
rm "$work/said"
diff "$work/linux.out" "$work/windows.out"
diff -r "$work/linux" "$work/windows" --exclude='*.out'
echo "the same output and files on Linux and Windows (Wine):" \
  "$(find "$work/linux" -type f | wc -l) files, $(grep -c '^== exit' "$work/linux.out") commands"
