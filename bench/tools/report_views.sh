#!/usr/bin/env bash
# Prints every view of season files through the report command into one
# folder, one file per view, format and settings, so that two builds can be
# compared with diff -r: a change to the standings or the recalculation
# pass that should not change a result must leave the folder identical.
#
#   report_views.sh REPORT_EXE OUT_FOLDER FILE.ptr...
#
# To check a change, give compare_reports.sh the report command built before
# the change and the one built after, with samples/*.ptr, the seasons
# write_seasons writes (built beside the benchmarks: 12 to 88 teams and the
# file tests' seasons) and a loader corpus (fuzz_seeds, grown by fuzz_loader).
#
# Views: every league entry, every division entry of it (or none), every
# scope override (none, official, league, interleague); settings: the
# defaults, hidden magic off with five percentage digits, and ordering by
# wins with the games-played rule.
set -euo pipefail
report=$1
out=$2
shift 2
mkdir -p "$out"
settings_dir=$(mktemp -d)
trap 'rm -rf "$settings_dir"' EXIT
printf '[Option]\r\nMagic=0\r\nPct=5\r\n' >"$settings_dir/quiet.ini"
printf '[Rank]\r\nMain=1\r\nSub=1\r\nGame=2\r\n' >"$settings_dir/wins.ini"

count=0
run() { # name args...
    local name=$1
    shift
    local status=0
    "$report" show "$@" >"$out/$name.out" 2>"$out/$name.err" || status=$?
    echo "$status" >"$out/$name.status"
    count=$((count + 1))
}

for file in "$@"; do
    base=$(basename "$file" .ptr)
    for format in json text; do
        run "$base-stored-$format" "$file" --format "$format"
    done
    league=0
    while "$report" show "$file" --league "$league" >/dev/null 2>&1; do
        divisions=(none)
        division=0
        while "$report" show "$file" --league "$league" --division "$division" >/dev/null 2>&1; do
            divisions+=("$division")
            division=$((division + 1))
            if [ "$division" -gt 20 ]; then break; fi
        done
        for division in "${divisions[@]}"; do
            view=(--league "$league")
            if [ "$division" != none ]; then view+=(--division "$division"); fi
            for scope in none official league interleague; do
                scoped=("${view[@]}")
                if [ "$scope" != none ]; then scoped+=(--scope "$scope"); fi
                for settings in default quiet wins; do
                    extra=()
                    if [ "$settings" != default ]; then extra=(--settings "$settings_dir/$settings.ini"); fi
                    for format in json text; do
                        run "$base-l$league-d$division-$scope-$settings-$format" "$file" \
                            "${scoped[@]}" "${extra[@]}" --format "$format"
                    done
                done
            done
        done
        league=$((league + 1))
    done
done
echo "$count views written to $out"
