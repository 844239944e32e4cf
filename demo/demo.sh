#!/usr/bin/env bash
# ./run demo: every capability of CVINSTALLER.dll on a demo Wine prefix where
# test stand-ins play the mail client's MAPI and the IIS directory.
set -uo pipefail
build=$1
bin="$build/bin"
export CVI_WINEPREFIX="$build/demo-prefix"
export CVI_MAPI_PROVIDER="Z:$bin/mapi_provider.dll"
run() { "$build/wine-run" "$@"; }
say() { printf '\n\033[1m== %s\033[0m\n' "$*"; }
cvinst() { printf '$ cvinst %s\n' "${*@Q}"; run "$bin/cvinst.exe" "$@"; echo "  (exit $?)"; }

say "Setting up the demo prefix (first run takes a minute)"
run C:/windows/syswow64/regsvr32.exe /s "Z:$bin/adsi_provider.dll"
# What the stand-in web server answers: filters, and the web service's mode.
run reg add 'HKCU\Software\CVINSTALLER-tests\adsi\Filters' /v FilterLoadOrder /d 'sspifilt,ASP.NET_2.0.50727' /f >/dev/null
run reg add 'HKCU\Software\CVINSTALLER-tests\adsi\W3SVC' /v Mode /t REG_DWORD /d 1 /f >/dev/null
# One .NET Framework version with the ASP.NET ISAPI extension.
windir="$CVI_WINEPREFIX/drive_c/windows/Microsoft.NET/Framework/v2.0.50727"
mkdir -p "$windir" && : >"$windir/aspnet_isapi.dll"
echo "done"

say "What a setup sees on this machine"
cvinst report

say "A MAPI profile with the VAVA service"
profile="Demo profile $(date +%s)"
cvinst create-profile "$profile" mail.example.com user secret example.com 25 a b c
cvinst profile-exists "$profile"
cvinst profile-exists "No such profile"

say "Registry values in the 32-bit and the 64-bit view"
cvinst reg-set-string HKLM 'Software\CVINSTALLER-demo' Edition "32-bit view"
cvinst reg-set-string HKLM 'Software\CVINSTALLER-demo' Edition "64-bit view" --64
cvinst reg-set-word HKLM 'Software\CVINSTALLER-demo' Port 25 --64
for view in 32 64; do
    printf '$ reg query HKLM\\Software\\CVINSTALLER-demo /reg:%s\n' "$view"
    run reg query 'HKLM\Software\CVINSTALLER-demo' "/reg:$view" | sed -n 's/^ \{4\}/  /p'
done

say "Ending processes by name (GetTimeAsLong and KillProcessByFileName from a host)"
run "$bin/demo_host.exe"

say "The web-server checks one by one"
cvinst adsi-status
cvinst net-filters v1.1
cvinst net-filters v2.0.50727
cvinst aspnet-isapi
cvinst mapi-dir

# Leave the prefix as it was found, but for the profiles list.
run reg delete 'HKLM\Software\CVINSTALLER-demo' /f /reg:32 >/dev/null 2>&1
run reg delete 'HKLM\Software\CVINSTALLER-demo' /f /reg:64 >/dev/null 2>&1
WINEPREFIX="$CVI_WINEPREFIX" wineserver -k 2>/dev/null
exit 0
