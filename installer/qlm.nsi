; The installer of QLM Musical Player. makensis gets QLM_EXE (the built
; qlm.exe), QLM_ABOUT_DIR (the support files: language files, help pages,
; arial.ttf), QLM_VERSION and QLM_OUTFILE from the build.
;
; Started with "#AU" on its command line (by the shell's update dialog) it
; asks nothing: it waits for the running shell to end, installs, and starts
; the installed shell, which then resumes the playback handed over to it.

!ifdef QLM_AMD64
; The 64-bit test build of the shell (machines that run no 32-bit code).
Target amd64-unicode
!define PROGRAM_FILES "$PROGRAMFILES64"
!else
Unicode true
!define PROGRAM_FILES "$PROGRAMFILES"
!endif
!include "LogicLib.nsh"
!include "FileFunc.nsh"

!define PRODUCT "QLM Musical Player"
!define REGKEY "SOFTWARE\VNT Company\QLM Musical Player"
!define UNINSTKEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\QLM Musical Player"
!define INSTANCE_MUTEX "QLM Musical PlayerQLM32.Def"

Name "${PRODUCT}"
OutFile "${QLM_OUTFILE}"
InstallDir "${PROGRAM_FILES}\${PRODUCT}"
RequestExecutionLevel admin
SetCompressor /SOLID lzma
VIProductVersion "${QLM_VERSION}"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "CompanyName" "VNT Company"
VIAddVersionKey "FileVersion" "${QLM_VERSION}"
VIAddVersionKey "FileDescription" "${PRODUCT} setup"
VIAddVersionKey "LegalCopyright" "VNT Company"

Var AutoUpdate

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Function .onInit
!ifdef QLM_AMD64
  SetRegView 64
!endif
  StrCpy $AutoUpdate 0
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "#AU" $R1
  ${IfNot} ${Errors}
    StrCpy $AutoUpdate 1
    SetSilent silent
  ${EndIf}
  ; The shell that started us is closing; its files and its single-instance
  ; mutex must be gone before anything is replaced or started (at most 20 s).
  StrCpy $R2 0
  ${Do}
    System::Call 'kernel32::OpenMutexW(i 0x00100000, i 0, w "${INSTANCE_MUTEX}") p .R3'
    ${If} $R3 P= 0
      ${Break}
    ${EndIf}
    System::Call 'kernel32::CloseHandle(p R3)'
    IntOp $R2 $R2 + 1
    ${If} $R2 > 200
      ${Break}
    ${EndIf}
    Sleep 100
  ${Loop}
FunctionEnd

Section "Install"
  SetOutPath "$INSTDIR"
  SetOverwrite on
  File "/oname=qlm.exe" "${QLM_EXE}"
  File /nonfatal /r "${QLM_ABOUT_DIR}/*.*"
  WriteRegStr HKLM "${REGKEY}" "RootDir" "$INSTDIR\qlm.exe"
  ; The language the user chose stays; a first installation has the built-in one.
  ReadRegStr $0 HKLM "${REGKEY}" "Language"
  WriteRegStr HKLM "${REGKEY}" "Language" "$0"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  WriteRegStr HKLM "${UNINSTKEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTKEY}" "DisplayVersion" "${QLM_VERSION}"
  WriteRegStr HKLM "${UNINSTKEY}" "Publisher" "VNT Company"
  WriteRegStr HKLM "${UNINSTKEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegDWORD HKLM "${UNINSTKEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTKEY}" "NoRepair" 1
  CreateShortCut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\qlm.exe"
  ${If} $AutoUpdate = 1
    Exec '"$INSTDIR\qlm.exe"'
  ${EndIf}
SectionEnd

Section "Uninstall"
!ifdef QLM_AMD64
  SetRegView 64
!endif
  Delete "$SMPROGRAMS\${PRODUCT}.lnk"
  Delete "$INSTDIR\favorites.dat"
  RMDir /r "$INSTDIR"
  DeleteRegValue HKLM "${REGKEY}" "RootDir"
  DeleteRegKey HKLM "${UNINSTKEY}"
SectionEnd
