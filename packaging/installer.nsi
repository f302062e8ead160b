; The Windows installer: makensis -DVERSION=<version> -DBIN=<folder with the three files>
;   -DREADME=<README-Windows.txt with CRLF line ends> -DOUTFILE=<setup.exe> packaging/installer.nsi
; (scripts/package passes all four). Silent with /S.
;
; Installs for the user who runs it, without administrator rights, into
; %LOCALAPPDATA%\Programs\Tavrin. The launcher keeps AddressBook.ini beside itself, so the
; folder must be one the user can write to: under Program Files an elevated start wrote the
; book there for every user to read, and normal starts wrote theirs to the virtual store.
Unicode true
SetCompressor /SOLID lzma

!include "LogicLib.nsh"
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
; makensis works from this folder.
!include "../texts/Installer.nsh"

; Windows refuses to write over or delete a program that runs, and a launcher closed after
; the uninstaller had removed its book would save the book again. So both wait until no
; launcher runs from $INSTDIR: one does while one of its windows is there (the main window,
; or a message it shows before it). $0 is 1 while one runs, else 0.
!macro LAUNCHER_RUNS_HERE un
Function ${un}LauncherRunsHere
  Push $1
  Push $2
  Push $3
  Push $4
  Push $5
  StrCpy $0 0
  StrCpy $1 0
  ${Do}
    System::Call 'user32::FindWindowExW(p 0, p r1, w "#32770", p 0) p .r1'
    ${If} $1 P= 0
      ${Break}
    ${EndIf}
    System::Call 'user32::GetWindowThreadProcessId(p r1, *i .r2)'
    ; PROCESS_QUERY_LIMITED_INFORMATION: enough for another program of the same user.
    System::Call 'kernel32::OpenProcess(i 0x1000, i 0, i r2) p .r3'
    ${If} $3 P<> 0
      StrCpy $5 ${NSIS_MAX_STRLEN}
      System::Call 'kernel32::QueryFullProcessImageNameW(p r3, i 0, w .r4, *i r5r5) i .r2'
      System::Call 'kernel32::CloseHandle(p r3)'
      ; StrCmp, as == is, ignores letter case, as file names do.
      ${If} $2 <> 0
      ${AndIf} $4 == "$INSTDIR\Tavrin.exe"
        StrCpy $0 1
        ${Break}
      ${EndIf}
    ${EndIf}
  ${Loop}
  Pop $5
  Pop $4
  Pop $3
  Pop $2
  Pop $1
FunctionEnd

; Asks until the launcher is closed (Retry) or the user gives up (Cancel: nothing has been
; touched yet). A silent run does not wait for one: it stops, with exit code 2.
Function ${un}WaitForLauncherToClose
  check:
  Call ${un}LauncherRunsHere
  ${If} $0 = 1
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$(LauncherRunning)" /SD IDCANCEL IDRETRY check
    SetErrorLevel 2
    Quit
  ${EndIf}
FunctionEnd
!macroend
!insertmacro LAUNCHER_RUNS_HERE ""
!insertmacro LAUNCHER_RUNS_HERE "un."

Section "Tavrin" SecProgram
  SetShellVarContext current
  Call WaitForLauncherToClose
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

; Removes what the installer and the viewer put there, file by file. The address book and
; its backups go only when the user says so; anything else the user keeps in the folder
; stays, and so does the folder while it holds something.
Section "Uninstall"
  SetShellVarContext current
  Call un.WaitForLauncherToClose
  ; The book holds the user's devices and passwords: No is the answer a slip of Enter gives.
  MessageBox MB_YESNO|MB_ICONQUESTION|MB_DEFBUTTON2 "$(RemoveBook)" /SD IDNO IDNO keep_book
    Delete "$INSTDIR\AddressBook.ini"
    Delete "$INSTDIR\AddressBook.ini.bak"
    ; The scratch files of saves that were stopped half-way hold the book too.
    Delete "$INSTDIR\AddressBook.ini.*.new"
    ; The history's names only: Tavrin leaves any other file in Backups alone.
    Delete "$INSTDIR\Backups\AddressBook.ini.????????-??????-??.bak"
    RMDir "$INSTDIR\Backups"
  keep_book:
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
