# Shared by scripts/fuzz-check and scripts/fuzz-long; source it from the repository's top.

# Every target, named after its fuzz/<target>_fuzzer.cpp, so a new fuzzer is run without
# being listed here.
fuzz_all_targets() {
    local f
    for f in fuzz/*_fuzzer.cpp; do
        f=${f#fuzz/}
        echo "${f%_fuzzer.cpp}"
    done
}

fuzz_build() {
    cmake --preset fuzz >/dev/null
    cmake --build --preset fuzz --target fuzzers
}

# Limits a single input must keep within, for every kind of run.
fuzz_limits=(-timeout=20 -rss_limit_mb=2048 -max_len=4096)

# The files of the given folders, those that exist, one a line.
fuzz_inputs() {
    local dir
    for dir in "$@"; do
        [ -d "$dir" ] && find "$dir" -maxdepth 1 -type f ! -name '.*' ! -name 'README*' | sort
    done
    return 0
}

# libFuzzer's option for the words of a target's format, for the targets that have them, so
# that mutations make tags and elements rather than waiting for them byte by byte.
fuzz_dict() {
    case $1 in
        overpass_answer | osm_extract) echo "-dict=$PWD/fuzz/dicts/osm_xml.dict" ;;
        osm_rules) echo "-dict=$PWD/fuzz/dicts/osm_rules.dict" ;;
    esac
}
