#!/usr/bin/env bash
# Reads every DXF of the given folders with GDAL's DXF driver (ogrinfo, Debian package gdal-bin),
# a third independent reader: each must open with no error or warning and show its features.
# Exit status 77 (skipped) when ogrinfo is not installed.
#   gdal.sh FOLDER...
set -uo pipefail
if ! command -v ogrinfo >/dev/null; then
    echo "SKIPPED: GDAL's ogrinfo is not installed (Debian: apt-get install gdal-bin)"
    exit 77
fi
files=0 failures=0
for folder in "$@"; do
    for dxf in "$folder"/*.dxf; do
        [ -e "$dxf" ] || continue
        files=$((files + 1))
        out=$(ogrinfo -al -so "$dxf" 2>&1)
        status=$?
        if [ $status -ne 0 ] || grep -qiE '^(ERROR|Warning)' <<<"$out" ||
            ! grep -q "Feature Count:" <<<"$out"; then
            echo "$dxf: GDAL cannot read it (status $status):"
            head -5 <<<"$out"
            failures=$((failures + 1))
        fi
    done
done
echo "$files DXF files read by GDAL: $failures failures"
[ $files -gt 0 ] && [ $failures -eq 0 ]
