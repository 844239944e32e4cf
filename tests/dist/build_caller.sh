#!/usr/bin/env bash
# build_caller.sh DIST CALLER.c WORKDIR WINE-RUN CC: compiles CALLER.c with CC
# (the flavour's MinGW C compiler) and only DIST on the include and library
# paths, puts the DLL beside it and runs it.
set -euo pipefail
dist=$1 src=$2 work=$3 wine_run=$4 cc=$5
rm -rf "$work" && mkdir -p "$work"
"$cc" -std=c99 -Wall -Wextra -Werror -I"$dist" "$src" -L"$dist" -lcvinstaller -o "$work/caller.exe"
cp "$dist/CVINSTALLER.dll" "$work/"
# Every export it references must resolve by its plain name at load time.
"$wine_run" "$work/caller.exe"
