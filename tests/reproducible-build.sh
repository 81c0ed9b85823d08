#!/usr/bin/env bash
# Builds Trelvane.exe a second time, from scratch in another folder, and compares it
# byte for byte with the tested one: no time stamps or build paths may leak in.
# usage: reproducible-build.sh SOURCE_DIR EXE BUILD_TYPE TOOLCHAIN_FILE
set -euo pipefail
source_dir="$1"
exe="$2"
build_type="$3"
toolchain_file="$4"
work="$(mktemp -d "${TMPDIR:-/tmp}/trelvane-repro.XXXXXX")"
trap 'rm -rf "$work"' EXIT
cmake -S "$source_dir" -B "$work" -DCMAKE_TOOLCHAIN_FILE="$toolchain_file" \
  -DCMAKE_BUILD_TYPE="$build_type" -DBUILD_TESTING=OFF >"$work.log" 2>&1
cmake --build "$work" --target Trelvane --parallel "$(nproc)" >>"$work.log" 2>&1
rm -f "$work.log"
if cmp "$exe" "$work/Trelvane.exe"; then
  echo "identical: $(sha256sum <"$exe" | cut -d' ' -f1)"
else
  echo "the second build differs from $exe" >&2
  exit 1
fi
