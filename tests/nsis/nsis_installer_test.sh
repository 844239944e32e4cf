#!/usr/bin/env bash
# Builds a real NSIS installer around the README's NSIS block, runs it
# silently with the test stand-ins registered, and checks what every call
# answered and did.
#   nsis_installer_test.sh <wine-run> <wine prefix> <README.md> <installer.nsi> <bin dir> <scratch dir>
set -uo pipefail

WINE_RUN="$1"
PREFIX="$2"
README="$3"
NSI="$4"
BIN_DIR="$5"
WORK="$6"

PROFILE='cvi-nsis-profile'
# shellcheck source=../support/script_checks.sh
source "$(dirname "${BASH_SOURCE[0]}")/../support/script_checks.sh"

rm -rf "$WORK" && mkdir -p "$WORK"

# The README's block, whole, and its four calls alone for the repeats.
sed -n '/^```nsis$/,/^```$/{/^```/d;p}' "$README" >"$WORK/readme_block.nsh"
grep '^System::Call ' "$WORK/readme_block.nsh" >"$WORK/readme_calls.nsh"
[[ $(wc -l <"$WORK/readme_calls.nsh") -eq 4 ]] || { echo "FAIL: the README's nsis block has not four calls"; exit 1; }
cp "$NSI" "$WORK/installer.nsi"
cp "$BIN_DIR/CVINSTALLER.dll" "$WORK/"
makensis -V2 "$WORK/installer.nsi" || { echo "FAIL: makensis"; exit 1; }

# One registry batch before and one after: each Wine start costs seconds.
cat >"$WORK/clean.reg" <<REG
REGEDIT4

[-HKEY_LOCAL_MACHINE\\SOFTWARE\\ExampleMail]
[-HKEY_LOCAL_MACHINE\\SOFTWARE\\Wow6432Node\\ExampleMail]
[-HKEY_LOCAL_MACHINE\\SOFTWARE\\Wow6432Node\\Microsoft\\InetStp]
[-HKEY_CURRENT_USER\\Software\\CVINSTALLER-tests\\adsi]
[-HKEY_CURRENT_USER\\Software\\CVINSTALLER-tests\\mapi-profiles\\$PROFILE]
REG
{ cat "$WORK/clean.reg"; cat <<'REG'

[HKEY_LOCAL_MACHINE\SOFTWARE\Wow6432Node\Microsoft\InetStp]
[HKEY_CURRENT_USER\Software\CVINSTALLER-tests\adsi\Filters]
"FilterLoadOrder"="sspifilt,ASP.NET_2.0.50727"
REG
} >"$WORK/setup.reg"
"$WINE_RUN" regedit /s "$(winpath "$WORK/setup.reg")" >/dev/null 2>&1

# The process the README's first call ends, under the name it names.
cp "$BIN_DIR/sleeper.exe" "$WORK/cvmta.exe"
"$WINE_RUN" "$WORK/cvmta.exe" 60 >/dev/null 2>&1 &
target=$!
# Wait until its Wine process is up (the loader's command line or, without
# qemu, the Windows path), then a moment more: a process still starting has
# no name in the process list yet.
for _ in $(seq 60); do
    pgrep -f 'wine [^ ]*cvmta\.exe|\\cvmta\.exe' >/dev/null && break
    sleep 0.5
done
sleep 1

SECONDS=0
CVI_MAPI_PROVIDER="Z:$BIN_DIR/mapi_provider.dll" "$WINE_RUN" "$WORK/cvinstaller_nsis_test.exe" /S >"$WORK/installer.out" 2>&1
rc=$?
[[ $rc -eq 0 ]] || fail "the installer exited with $rc"
echo "the installer ran for ${SECONDS} s"

for _ in $(seq 20); do kill -0 "$target" 2>/dev/null || break; sleep 0.5; done
if kill -0 "$target" 2>/dev/null; then
    fail "cvmta.exe is still running"
else
    wait "$target"
    target_rc=$?
    [[ $target_rc -ne 7 ]] || fail "cvmta.exe ran to its end instead of being ended"
fi

results="$(tr -d '\r' <"$WORK/results.txt" 2>/dev/null)"
[[ -n $results ]] || fail "the installer wrote no results"
echo "$results"
result() { sed -n "s/^$1=//p" <<<"$results"; }
expect() {  # name expected
    local got
    got="$(result "$1")"
    [[ "$got" == "$2" ]] || fail "$1 gave '$got', expected '$2'"
}
expect KillProcessByFileName 1
expect RegistryKeyExists 1
expect SetRegistryWord3264 1
mapi_dir="$(result InitMAPIDir)"
[[ "${mapi_dir,,}" == 'c:\windows\system32\mapisvc.inf' ]] || fail "InitMAPIDir filled '$mapi_dir'"
now="$(date +%s)"
(( $(result GetTimeAsLong) > now - 600 && $(result GetTimeAsLong) <= now + 600 )) || fail "GetTimeAsLong is off"
expect CreateEmptyKey3264 0
expect SetRegistryString3264 0
expect GetADSIStatus 1
expect IIS_CheckNetFilters 2
expect CheckForASPNETISAPI 0
expect MSI_SetMAPIProperties 0
expect CreateProfile 1
expect ProfileExists "1 exists=1"
expect ProfileExistsNone "1 exists=0"
expect Repeated "20 1 1 1 $mapi_dir"
expect StackTop stack-mark
expect StackBelow "(empty)"

# The library was unloaded after each call, so the plug-in folder went with the installer.
plugins="$(result PluginsDir)"
plugins_unix="$PREFIX/drive_c/$(sed 's/^[Cc]:\\//; s/\\/\//g' <<<"$plugins")"
[[ -d "$(dirname "$plugins_unix")" ]] || fail "no folder $(dirname "$plugins_unix") to look in"
[[ ! -e "$plugins_unix" ]] || fail "$plugins is left behind: $(ls "$plugins_unix")"

# What the calls wrote, each in its registry view.
view64="$("$WINE_RUN" reg query 'HKLM\SOFTWARE\ExampleMail' /s /reg:64 2>/dev/null | tr -d '\r')"
view32="$("$WINE_RUN" reg query 'HKLM\SOFTWARE\ExampleMail' /s /reg:32 2>/dev/null | tr -d '\r')"
grep -Eq '^ +Port +REG_DWORD +0x19$' <<<"$view64" || fail "64-bit view: no Port=25 ($view64)"
grep -q 'Host' <<<"$view64" && fail "64-bit view: Host written there"
grep -Eq '^ +Host +REG_SZ +mail\.example\.test$' <<<"$view32" || fail "32-bit view: no Host ($view32)"
grep -Eq '^ +\(Default\) +REG_SZ +empty key$' <<<"$view32" || fail "32-bit view: no Empty key default ($view32)"
grep -q 'Port' <<<"$view32" && fail "32-bit view: Port written there"

"$WINE_RUN" regedit /s "$(winpath "$WORK/clean.reg")" >/dev/null 2>&1
verdict
echo "all NSIS installer checks passed"
