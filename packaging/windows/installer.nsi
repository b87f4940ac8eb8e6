; The Windows installer: the game's folder as the zip has it, installed for the current
; user only, into %LOCALAPPDATA%\Programs\Meadowgunner. No administrator rights are asked
; for, and the player may edit config.ini there and SDL may write stdout.txt and
; stderr.txt beside the game. tools/windows/package runs makensis with:
;   VERSION    the game's version, e.g. 1.0
;   STAGE      the folder `cmake --install` filled
;   FILES      an include file installing every file of STAGE but config.ini
;   UNFILES    an include file deleting every file and folder FILES made, deepest first
;   SIZE_KB    the size of STAGE, for Windows' list of apps
;   ICON       the game's .ico
;   OUTFILE    the setup program to write
Unicode true
; A 64-bit setup for a 64-bit game: where it cannot run, the game could not either.
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user
ManifestDPIAware true

!define NAME "Meadowgunner"
!define PUBLISHER "Meadowgunner team"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${NAME}"

Name "${NAME}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\${NAME}"
; A second install goes where the first one went.
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${NAME} ${VERSION}"

VIProductVersion "${VERSION}.0.0"
VIAddVersionKey /LANG=0 "ProductName" "${NAME}"
VIAddVersionKey /LANG=0 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=0 "FileDescription" "${NAME} ${VERSION} setup"
VIAddVersionKey /LANG=0 "FileVersion" "${VERSION}.0.0"
VIAddVersionKey /LANG=0 "ProductVersion" "${VERSION}.0.0"
VIAddVersionKey /LANG=0 "LegalCopyright" "Copyright (C) 2026 ${PUBLISHER}; GNU GPL version 3"

!include "MUI2.nsh"
!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "Play ${NAME} now"
!define MUI_FINISHPAGE_RUN_FUNCTION StartGame
!define MUI_FINISHPAGE_SHOWREADME "$INSTDIR\README.txt"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
; The game speaks both; the setup follows Windows' language.
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "German"

; The game reads its files from its working folder.
Function StartGame
    SetOutPath "$INSTDIR"
    Exec '"$INSTDIR\meadowgunner.exe"'
FunctionEnd

Section "Install"
    !include "${FILES}"
    ; A reinstall keeps the player's settings.
    SetOutPath "$INSTDIR"
    SetOverwrite off
    File "${STAGE}/config.ini"
    SetOverwrite on

    WriteUninstaller "$INSTDIR\uninstall.exe"
    ; The shortcut's working folder is $OUTDIR, the install folder.
    SetOutPath "$INSTDIR"
    CreateShortcut "$SMPROGRAMS\${NAME}.lnk" "$INSTDIR\meadowgunner.exe" "" \
        "$INSTDIR\meadowgunner.exe" 0 SW_SHOWNORMAL "" "${NAME}, a two-player meadow artillery game"

    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${NAME}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\meadowgunner.exe,0"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" ${SIZE_KB}
SectionEnd

; Only what the setup installed, and what SDL and the game wrote beside it: a theme or
; file the player added keeps its folder.
Section "Uninstall"
    Delete "$SMPROGRAMS\${NAME}.lnk"
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
    Delete "$INSTDIR\stdout.txt"
    Delete "$INSTDIR\stderr.txt"
    Delete "$INSTDIR\sdlaudio.raw"
    !include "${UNFILES}"
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
SectionEnd
