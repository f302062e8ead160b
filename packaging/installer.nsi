; The Windows installer: makensis -DVERSION=1.0.8.6 -DBIN=<folder with the three files>
;   -DREADME=<README-Windows.txt with CRLF line ends> -DOUTFILE=<setup.exe> packaging/installer.nsi
; (scripts/package passes all four). Silent with /S.
;
; Installs for the user who runs it, without administrator rights, into
; %LOCALAPPDATA%\Programs\Tavrin. The launcher keeps AddressBook.ini beside itself, so the
; folder must be one the user can write to: under Program Files an elevated start wrote the
; book there for every user to read, and normal starts wrote theirs to the virtual store.
Unicode true
SetCompressor /SOLID lzma

!include "MUI2.nsh"

!define PRODUCT "Tavrin"
!define PUBLISHER "Tavrin developers"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\${PRODUCT}"
; A reinstall or upgrade goes where the last one went, next to the user's address book.
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
RequestExecutionLevel user

VIProductVersion "${VERSION}"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "CompanyName" "${PUBLISHER}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "FileDescription" "${PRODUCT} setup"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "Copyright (C) ${PUBLISHER}"

!define MUI_ICON "${NSISDIR}\Contrib\Graphics\Icons\modern-install.ico"
!define MUI_UNICON "${NSISDIR}\Contrib\Graphics\Icons\modern-uninstall.ico"
!define MUI_FINISHPAGE_RUN "$INSTDIR\Tavrin.exe"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "TradChinese"

Section "Tavrin" SecProgram
  SetShellVarContext current
  SetOutPath "$INSTDIR"
  File "${BIN}/Tavrin.exe"
  File "${BIN}/KXC_IE_NATT.dll"
  File "${BIN}/Pellix.exe"
  File "${README}"
  WriteUninstaller "$INSTDIR\Uninstall.exe"

  ; One shortcut needs no folder of its own.
  CreateShortcut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\Tavrin.exe"

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Tavrin.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ; In KB, as Apps and Features shows it: the files this section installs.
  SectionGetSize ${SecProgram} $0
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

; Removes what the installer and the viewer put there, file by file: the user's
; AddressBook.ini, its backup AddressBook.ini.bak and anything else the user keeps in the
; folder stay, and so does the folder while it holds them.
Section "Uninstall"
  SetShellVarContext current
  Delete "$INSTDIR\Tavrin.exe"
  Delete "$INSTDIR\KXC_IE_NATT.dll"
  Delete "$INSTDIR\Pellix.exe"
  Delete "$INSTDIR\Pellix.log"
  Delete "$INSTDIR\README-Windows.txt"
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"

  Delete "$SMPROGRAMS\${PRODUCT}.lnk"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
