#!/usr/bin/env bash
# The osm command against ogr2ogr on a synthetic extract of one whole LOD 8 cell (1,024 areas
# of lakes with islands, ponds, roads, rivers and millions of buildings), about 50 MB as
# .osm.pbf. GDAL cannot write PBF, so the extract is written as OSM XML by osm_extract.py and
# converted by osmium (Debian's osmium-tool). Both read the lines and multipolygons layers with
# the cell as the spatial filter; ogr2ogr copies them into memory, marlith3 writes every file.
# Writes $OUT/osm.json for bench/report.py.
# Usage: bench/osm_bench.sh MARLITH3 OUT [BUILDINGS]
set -euo pipefail
marlith=$(realpath "$1")
out=$(realpath -m "$2")
buildings=${3:-4200000}
here=$(dirname "$(realpath "$0")")
if ! command -v osmium >/dev/null; then
    sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get install -y -qq --no-install-recommends osmium-tool >/dev/null
fi
mkdir -p "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
python3 "$here/osm_extract.py" /dev/stdout "$buildings" |
    osmium cat -F osm -o "$work/cell.osm.pbf" --overwrite
# The same water and roads without the buildings: what the areas job itself takes.
python3 "$here/osm_extract.py" /dev/stdout 0 | osmium cat -F osm -o "$work/bare.osm.pbf" --overwrite
bytes=$(stat -c %s "$work/cell.osm.pbf")
# Cell 401, 122: west, south, east, north.
spat=(7.96875 46.7578125 8.4375 47.109375)

# Seconds and peak KiB of one run, the best of three.
measure() {
    local best_s=999999 best_k=0
    for _ in 1 2 3; do
        rm -rf "$work/out"
        /usr/bin/time -f '%e %M' -o "$work/time" "$@" >"$work/log" 2>&1 || {
            cat "$work/log" >&2
            exit 1
        }
        read -r s k <"$work/time"
        if awk "BEGIN{exit !($s < $best_s)}"; then best_s=$s best_k=$k; fi
    done
    echo "$best_s $best_k"
}
read -r ogr_s ogr_k < <(measure ogr2ogr -f Memory "$work/copy" "$work/cell.osm.pbf" lines \
    multipolygons -spat "${spat[@]}")
read -r osm_s osm_k < <(measure "$marlith" osm "$work/cell.osm.pbf" --output-folder \
    "$work/out" --cell 401 122)
files=$(ls "$work/out" | wc -l)
summary=$(head -n 2 "$work/log")
read -r bare_s bare_k < <(measure "$marlith" osm "$work/bare.osm.pbf" --output-folder \
    "$work/out" --cell 401 122)
lwm=$(ls "$work/out" | grep -c '^LWM_' || true)
python3 - "$out/osm.json" <<PY
import json, sys
json.dump({"pbf_bytes": $bytes, "buildings": $buildings, "ogr2ogr_s": $ogr_s,
           "ogr2ogr_kib": $ogr_k, "osm_s": $osm_s, "osm_kib": $osm_k, "bare_s": $bare_s, "files": $files,
           "lwm_files": $lwm, "summary": """$summary"""}, open(sys.argv[1], "w"), indent=1)
PY
cat "$out/osm.json"
