#!/usr/bin/env bash
# Checks that two builds of the report command print every view of the given
# season files byte for byte alike (report_views.sh lists the views).
#
#   compare_reports.sh BEFORE_REPORT_EXE AFTER_REPORT_EXE FILE...
#
# Exit status 0 when every view matches, 1 with the differing views listed.
# Files that do not load are compared too: the same refusal is a match.
set -euo pipefail
before=$1
after=$2
shift 2
here=$(dirname "$0")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$here/report_views.sh" "$before" "$work/before" "$@" >/dev/null
"$here/report_views.sh" "$after" "$work/after" "$@"
if diff -rq "$work/before" "$work/after"; then
    echo "identical"
else
    exit 1
fi
