#!/usr/bin/env bash
# threads_same_output.sh CLI SAMPLE_TOOL [SCALE] [THREADS]: on two fresh installations of that
# scale, `extract til --all` and `extract shp --all` (then `repack tiles --all` and
# `repack icons --all`) run on one thread in the first and on THREADS (default 3) in the second;
# the two trees, and what the commands printed, must be the same byte for byte.
set -euo pipefail
cli="$1" sample="$2" scale="${3:-2}" threads="${4:-3}"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for side in one many; do
  "$sample" "$work/$side/DATA" --scale "$scale" >/dev/null
  mkdir "$work/$side/program"
done
run() {
  local side="$1" count="$2"
  shift 2
  "$cli" --data "$work/$side/DATA" --program-dir "$work/$side/program" --threads "$count" "$@" |
    sed "s|$work/$side/||g" >>"$work/$side.out"
}
for side in one many; do
  count=1
  [ "$side" = many ] && count="$threads"
  run "$side" "$count" extract pal --all
  for command in "extract til --all" "extract shp --all" "repack tiles --all" "repack icons --all"; do
    # shellcheck disable=SC2086
    run "$side" "$count" $command
  done
done
diff -r "$work/one/DATA" "$work/many/DATA"
diff "$work/one.out" "$work/many.out"
echo "the same files and messages on 1 and $threads threads: $(find "$work/one/DATA/TOVRIN_PFP" -type f | wc -l) files"
