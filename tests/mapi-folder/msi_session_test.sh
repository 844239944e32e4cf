#!/usr/bin/env bash
# Installs the MAPI property package (its custom action is the README's WiX
# block) in a real Windows Installer session and checks that
# CV_MAPICOMMONFILESPATH arrived: the system folder when no MAPI
# provider answers, the provider's folder when the stand-in does. Every Wine
# start costs seconds here, so registry work is batched.
#   msi_session_test.sh <wine-run> <package.msi> <bin dir> <scratch dir>
set -uo pipefail

WINE_RUN="$1"
PACKAGE="$2"
BIN_DIR="$3"
SCRATCH="$4"

RECORD_KEY='HKCU\Software\CVINSTALLER-tests\msi-session'
ANSWERS_KEY='HKCU\Software\CVINSTALLER-tests\component-path'
PROVIDER="Z:$BIN_DIR/mapi_component_path.dll"
MAPI_FOLDER='C:\Program Files\CVI Mail\MAPI'

# shellcheck source=../support/script_checks.sh
source "$(dirname "${BASH_SOURCE[0]}")/../support/script_checks.sh"

reg_value() {  # key value [query output] -> data, or nothing
    local listing="${3-$("$WINE_RUN" reg query "$1" /v "$2" 2>/dev/null)}"
    tr -d '\r' <<<"$listing" | sed -n "s/^ *$2 *REG_[A-Z_]* *//p"
}

msiexec() {  # /i|/x log-name [VAR=value...]
    local mode="$1" log="$SCRATCH/$2"
    shift 2
    rm -f "$log"
    # The exit code says nothing under Wine; the log and the registry do.
    env "$@" "$WINE_RUN" msiexec "$mode" "$(winpath "$PACKAGE")" /qn /l*v "$(winpath "$log")" >/dev/null 2>&1
}

# Removes a package left installed by an interrupted run (or by a failed
# uninstall, which is then a failure) and the stand-in's answers.
clean() {
    if "$WINE_RUN" reg query "$RECORD_KEY" >/dev/null 2>&1; then
        [[ ${1:-} == final ]] && fail "the package did not uninstall"
        msiexec /x cleanup.log -u CVI_MAPI_PROVIDER
        "$WINE_RUN" reg delete "$RECORD_KEY" /f >/dev/null 2>&1
    fi
    "$WINE_RUN" reg delete "$ANSWERS_KEY" /f >/dev/null 2>&1
}

# install_and_check <case> <expected folder, matched case-insensitively> [VAR=value...]
install_and_check() {
    local name="$1" expected="$2"
    shift 2
    msiexec /i "$name-install.log" "$@"
    local log="$SCRATCH/$name-install.log"
    grep -q "Action ended .*: SetMapiFolder\. Return value 1\." "$log" ||
        fail "$name: the custom action did not run to success (see $log)"
    local got
    got="$(reg_value "$RECORD_KEY" MapiFolder)"
    echo "$name: CV_MAPICOMMONFILESPATH = '$got'"
    [[ "${got,,}" == "${expected,,}" ]] || fail "$name: property '$got', expected '$expected'"
    msiexec /x "$name-remove.log"
}

mkdir -p "$SCRATCH"

# The action is a DLL in the Binary table (base type 1) and runs before the
# registry is written, whatever its Id; the package is the README's block.
table() { msiinfo export "$PACKAGE" "$1" | tr -d '\r'; }
sequence="$(table InstallExecuteSequence)"
at() { awk -F'\t' -v a="$1" '$1 == a { print $3 }' <<<"$sequence"; }
(( $(at SetMapiFolder) > $(at CostFinalize) && $(at SetMapiFolder) < $(at WriteRegistryValues) )) ||
    fail "SetMapiFolder is sequenced at $(at SetMapiFolder)"
type="$(table CustomAction | awk -F'\t' '$1 == "SetMapiFolder" { print $2 }')"
(( (type & 0x3F) == 1 )) || fail "SetMapiFolder has custom action type $type"

clean

install_and_check no-provider 'C:\windows\system32' -u CVI_MAPI_PROVIDER

cat >"$SCRATCH/answers.reg" <<'REG'
REGEDIT4

[HKEY_CURRENT_USER\Software\CVINSTALLER-tests\component-path\(null)]
"Result"=dword:00000001
"Path"="C:\\Program Files\\CVI Mail\\MAPI\\MSMAPI32.DLL"
REG
"$WINE_RUN" regedit /s "$(winpath "$SCRATCH/answers.reg")" >/dev/null 2>&1
install_and_check provider "$MAPI_FOLDER" "CVI_MAPI_PROVIDER=$PROVIDER"
answers="$("$WINE_RUN" reg query "$ANSWERS_KEY" 2>/dev/null)"
echo "provider: asked by '$(reg_value "$ANSWERS_KEY" Host "$answers")'"
hex="$(reg_value "$ANSWERS_KEY" Calls "$answers")"
calls="$(printf '%b' "$(sed 's/../\\x&/g' <<<"$hex")")"
[[ "$calls" == "(null) size=260 install=1" ]] || fail "provider: stub calls were '$calls'"

clean final
verdict
echo "all MSI session checks passed"
