#!/usr/bin/env bash
# build_and_run.sh DIST SOURCE-DIR WORKDIR WINE-RUN: builds caller.c the way a
# Visual Studio project would (MSVC target, no C runtime, the linker at its x86
# defaults, /SAFESEH included) against DIST's header and CVINSTALLER.lib, then
# runs it beside the DLL.
set -euo pipefail
dist=$1 src=$2 work=$3 wine_run=$4
rm -rf "$work" && mkdir -p "$work"

# Nothing shipped may carry a path of the machine that built it.
# Every member of an MSVC-style import library is named after the DLL alone.
members="$(llvm-ar t "$dist/CVINSTALLER.lib" | sort -u)"
if [[ $members != CVINSTALLER.dll ]]; then
    echo "FAIL: CVINSTALLER.lib has members named other than the DLL:"; echo "$members"; exit 1
fi
build_root="$(cd "$dist/.." && pwd)"
if strings -a "$dist/CVINSTALLER.lib" | grep -qF -e "$build_root" -e "${build_root//\//_}"; then
    echo "FAIL: CVINSTALLER.lib names the build folder"; exit 1
fi

# No Windows SDK here: the system import libraries come from tiny .def files,
# made by the same tool as the shipped library.
for dll in kernel32 advapi32; do
    llvm-dlltool -m i386 -k -d "$src/$dll.def" -l "$work/$dll.lib"
done
# MinGW-w64's headers stand in for the SDK's. They expect the compiler to
# announce itself as GCC (else they define __attribute__ away) and to define
# _X86_, which the SDK's own windows.h derives from _M_IX86. Code generation,
# calling convention and object format stay MSVC's.
clang --target=i686-pc-windows-msvc -fgnuc-version=4.2.1 -D_X86_ -std=c99 -O1 -Wall -Wextra -Werror -ffreestanding \
    -isystem /usr/i686-w64-mingw32/include -I"$dist" -c "$src/caller.c" -o "$work/caller.obj"
lld-link /nologo /nodefaultlib /subsystem:console /entry:start /out:"$work/caller.exe" \
    "$work/caller.obj" "$dist/CVINSTALLER.lib" "$work/kernel32.lib" "$work/advapi32.lib"
cp "$dist/CVINSTALLER.dll" "$work/"

set +e
"$wine_run" "$work/caller.exe"
rc=$?
set -e
if [[ $rc -ne 0 ]]; then
    printf 'FAIL: exit code 0x%x (bit i: the i-th export call failed)\n' "$rc"
    exit 1
fi
