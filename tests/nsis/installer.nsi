; A setup author's installer: the README's NSIS block runs exactly as
; written (the test takes it from the README into readme_block.nsh), then the
; remaining exports are called from their header prototypes. Every result
; goes to results.txt beside the installer, one NAME=VALUE per line.
Name "CVINSTALLER NSIS test"
OutFile "cvinstaller_nsis_test.exe"
RequestExecutionLevel user
ShowInstDetails nevershow

!define CVI '"$PLUGINSDIR\CVINSTALLER.dll"'
!define PROFILE "cvi-nsis-profile"
!macro Record NAME VALUE
  FileWrite $9 "${NAME}=${VALUE}$\r$\n"
!macroend

Section
  !include "readme_block.nsh"
  FileOpen $9 "$EXEDIR\results.txt" w
  !insertmacro Record KillProcessByFileName $0
  !insertmacro Record RegistryKeyExists $1
  !insertmacro Record SetRegistryWord3264 $2
  !insertmacro Record InitMAPIDir $3
  !insertmacro Record PluginsDir $PLUGINSDIR

  System::Call '${CVI}::GetTimeAsLong() i .r4 ?u'
  !insertmacro Record GetTimeAsLong $4
  System::Call '${CVI}::CreateEmptyKey3264(p 0x80000002, m "SOFTWARE\ExampleMail\Empty", m "empty key", i 0) i .r4 ?u'
  !insertmacro Record CreateEmptyKey3264 $4
  System::Call '${CVI}::SetRegistryString3264(p 0x80000002, m "SOFTWARE\ExampleMail", m "Host", m "mail.example.test", i 0) i .r4 ?u'
  !insertmacro Record SetRegistryString3264 $4
  System::Call '${CVI}::GetADSIStatus() i .r4 ?u'
  !insertmacro Record GetADSIStatus $4
  System::Call '${CVI}::IIS_CheckNetFilters(m "v2.0.50727") i .r4 ?u'
  !insertmacro Record IIS_CheckNetFilters $4
  System::Call '${CVI}::CheckForASPNETISAPI() i .r4 ?u'
  !insertmacro Record CheckForASPNETISAPI $4
  System::Call '${CVI}::MSI_SetMAPIProperties(i 0) i .r4 ?u'
  !insertmacro Record MSI_SetMAPIProperties $4
  System::Call '${CVI}::CreateProfile(m "${PROFILE}", m "mail.example.test", m "user", m "secret", m "EXAMPLE", i 25, m "a", m "b", m "c") i .r4 ?u'
  !insertmacro Record CreateProfile $4
  System::Call '${CVI}::ProfileExists(m "${PROFILE}", *i .r5) i .r4 ?u'
  !insertmacro Record ProfileExists "$4 exists=$5"
  System::Call '${CVI}::ProfileExists(m "${PROFILE}-none", *i .r5) i .r4 ?u'
  !insertmacro Record ProfileExistsNone "$4 exists=$5"

  ; The README's calls again and again: each loads and unloads the library,
  ; and none may take from or leave on the installer's stack.
  Push "stack-mark"
  StrCpy $8 0
  repeat:
    StrCpy $0 ""
    StrCpy $1 ""
    StrCpy $2 ""
    StrCpy $3 ""
    !include "readme_calls.nsh"
    IntOp $8 $8 + 1
    IntCmp $8 20 0 repeat
  !insertmacro Record Repeated "$8 $0 $1 $2 $3"
  Pop $7
  !insertmacro Record StackTop $7
  ClearErrors
  Pop $7
  IfErrors 0 +2
    StrCpy $7 "(empty)"
  !insertmacro Record StackBelow $7
  FileClose $9
SectionEnd
