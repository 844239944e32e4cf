#!/usr/bin/env bash
# build_and_run.sh DIST SOURCE-DIR WORKDIR WINE-RUN [x86_64]: builds caller.c
# the way a Visual Studio project would (MSVC target, no C runtime, the linker
# at its x86 defaults, /SAFESEH included; or for x64) against DIST's header and
# CVINSTALLER.lib, then runs it beside the DLL.
set -euo pipefail
dist=$1 src=$2 work=$3 wine_run=$4 machine=${5:-i686}
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
# x86-64 names carry no argument size.
for dll in kernel32 advapi32; do
    if [[ $machine == x86_64 ]]; then
        sed -E 's/@[0-9]+$//' "$src/$dll.def" >"$work/$dll.def"
        llvm-dlltool -m i386:x86-64 -d "$work/$dll.def" -l "$work/$dll.lib"
    else
        llvm-dlltool -m i386 -k -d "$src/$dll.def" -l "$work/$dll.lib"
    fi
done
# MinGW-w64's headers stand in for the SDK's. They expect the compiler to
# announce itself as GCC (else they define __attribute__ away) and to define
# _X86_, which the SDK's own windows.h derives from _M_IX86. Code generation,
# calling convention and object format stay MSVC's.
# (_AMD64_ from _M_AMD64 for x86-64.)
if [[ $machine == x86_64 ]]; then
    target=(--target=x86_64-pc-windows-msvc -D_AMD64_ -isystem /usr/x86_64-w64-mingw32/include)
else
    target=(--target=i686-pc-windows-msvc -D_X86_ -isystem /usr/i686-w64-mingw32/include)
fi
clang "${target[@]}" -fgnuc-version=4.2.1 -std=c99 -O1 -Wall -Wextra -Werror -ffreestanding \
    -I"$dist" -c "$src/caller.c" -o "$work/caller.obj"
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
