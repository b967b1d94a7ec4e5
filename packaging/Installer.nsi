; The Windows installer of ImporterNorvik, made by scripts/package with makensis:
;   makensis -DVERSION=X.Y.Z -DSTAGE=<folder of the release files>
;            -DPROGRAMS=<Programs.nsh> -DOUTFILE=<setup.exe> Installer.nsi
; It installs per machine (administrators only) and takes /S for a silent
; installation; its uninstaller takes /S too.
; Programs.nsh (written by scripts/package) holds the macros InstallPrograms and
; RemovePrograms, a File and a Delete line per program of the release.
Unicode true
; A 64-bit installer: Windows neither redirects its System32 nor its registry.
Target amd64-unicode

!include LogicLib.nsh
!include x64.nsh
!include "${PROGRAMS}"

!define PRODUCT "ImporterNorvik"
!define PUBLISHER "The ImporterNorvik developers"
!define MEDIACORE "$PROGRAMFILES64\Adobe\Common\Plug-ins\7.0\MediaCore"
!define CODEC "norvik_common64.dll"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"
; What norvik-import reads to find the module, and what the uninstaller needs.
!define RECORD_KEY "Software\${PRODUCT}"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\${PRODUCT}"
RequestExecutionLevel admin
SetCompressor /SOLID lzma
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${VERSION}.0"
VIFileVersion "${VERSION}.0"
VIAddVersionKey /LANG=0 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=0 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "FileDescription" "${PRODUCT} ${VERSION} installer"
VIAddVersionKey /LANG=0 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=0 "LegalCopyright" "Copyright (c) ${PUBLISHER} (MIT licence)"

Page license
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles
LicenseData "${STAGE}\LICENSE.txt"

Function .onInit
  SetRegView 64
  ${DisableX64FSRedirection}
FunctionEnd

Function un.onInit
  SetRegView 64
  ${DisableX64FSRedirection}
FunctionEnd

; The codec library goes into the system folder, where Windows finds a module's
; imports when the host loads the module by its full path. A library already
; there stays when its version is the same or newer; the record says whether the
; uninstaller may remove the library (only when none was there before).
Function InstallCodecLibrary
  StrCpy $R0 0
  ${If} ${FileExists} "$SYSDIR\${CODEC}"
    ClearErrors
    GetDLLVersion "$SYSDIR\${CODEC}" $R1 $R2
    ${If} ${Errors}
      ; no version resource: an early build, older than any versioned one
      StrCpy $R1 0
      StrCpy $R2 0
    ${EndIf}
    GetDLLVersionLocal "${STAGE}\${CODEC}" $R3 $R4
    StrCpy $R5 0
    ${If} $R1 U< $R3
      StrCpy $R5 1
    ${ElseIf} $R1 = $R3
    ${AndIf} $R2 U< $R4
      StrCpy $R5 1
    ${EndIf}
    ${If} $R5 = 1
      DetailPrint "Replacing the older ${CODEC} in $SYSDIR"
      SetOutPath "$SYSDIR"
      File "${STAGE}\${CODEC}"
    ${Else}
      DetailPrint "Keeping the ${CODEC} in $SYSDIR: the same version or newer"
    ${EndIf}
  ${Else}
    SetOutPath "$SYSDIR"
    File "${STAGE}\${CODEC}"
    StrCpy $R0 1
  ${EndIf}
  WriteRegDWORD HKLM "${RECORD_KEY}" "CodecLibraryInstalled" $R0
FunctionEnd

Section "${PRODUCT}"
  SetOutPath "$INSTDIR"
  !insertmacro InstallPrograms
  File "${STAGE}\INSTALL.txt"
  File "${STAGE}\LICENSE.txt"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  SetOutPath "${MEDIACORE}"
  File "${STAGE}\ImporterNorvik.prm"
  Call InstallCodecLibrary

  WriteRegStr HKLM "${RECORD_KEY}" "ModulePath" "${MEDIACORE}\ImporterNorvik.prm"
  WriteRegStr HKLM "${RECORD_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${RECORD_KEY}" "Version" "${VERSION}"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT} ${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" ${SIZE_KB}
SectionEnd

Section "Uninstall"
  ReadRegDWORD $R0 HKLM "${RECORD_KEY}" "CodecLibraryInstalled"
  ${If} $R0 = 1
    Delete "$SYSDIR\${CODEC}"
  ${EndIf}
  Delete "${MEDIACORE}\ImporterNorvik.prm"
  ; the plug-ins folders, each only when empty (RMDir leaves a folder with files)
  RMDir "${MEDIACORE}"
  RMDir "$PROGRAMFILES64\Adobe\Common\Plug-ins\7.0"
  RMDir "$PROGRAMFILES64\Adobe\Common\Plug-ins"
  RMDir "$PROGRAMFILES64\Adobe\Common"
  RMDir "$PROGRAMFILES64\Adobe"

  !insertmacro RemovePrograms
  Delete "$INSTDIR\INSTALL.txt"
  Delete "$INSTDIR\LICENSE.txt"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"

  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  DeleteRegKey HKLM "${RECORD_KEY}"
SectionEnd
