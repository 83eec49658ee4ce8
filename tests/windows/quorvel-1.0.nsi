; The installer that shipped version 1.0, kept as it was (admin only, Program Files, HKLM),
; so scripts/windows/test-installer.sh can install over it as an operator's upgrade does.
;
; The Windows installer: the program and the command-line tool quorvel.exe, the Qt and MinGW
; run-time DLLs and plugins beside them,
; the panel resource file and the icon; a Start menu entry, an uninstaller and its entry in
; the system's list of programs. makensis gets VERSION, BINDIR (the build's bin folder) and
; OUTFILE from scripts/windows/installer.sh.
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma

!include "MUI2.nsh"
!include "x64.nsh"

!define PRODUCT "Quorvel"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\${PRODUCT}"
InstallDirRegKey HKLM "Software\${PRODUCT}" "InstallDir"
RequestExecutionLevel admin
VIProductVersion "${VERSION}.0.0"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "FileDescription" "${PRODUCT} configuration and monitoring tool installer"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "${PRODUCT}"

!define MUI_ICON "${BINDIR}\quorvel.ico"
!define MUI_UNICON "${BINDIR}\quorvel.ico"
!define MUI_FINISHPAGE_RUN "$INSTDIR\vaskinterface.exe"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

Function .onInit
  SetRegView 64
  SetShellVarContext all
FunctionEnd

Function un.onInit
  SetRegView 64
  SetShellVarContext all
FunctionEnd

Section "${PRODUCT}"
  SetOutPath "$INSTDIR"
  File "${BINDIR}\vaskinterface.exe"
  File "${BINDIR}\quorvel.exe"
  File "${BINDIR}\VASKInterface.uir"
  File "${BINDIR}\quorvel.ico"
  File "${BINDIR}\Qt6Core.dll"
  File "${BINDIR}\Qt6Gui.dll"
  File "${BINDIR}\Qt6Widgets.dll"
  File "${BINDIR}\Qt6SerialPort.dll"
  File "${BINDIR}\libgcc_s_seh-1.dll"
  File "${BINDIR}\libstdc++-6.dll"
  File "${BINDIR}\libwinpthread-1.dll"
  SetOutPath "$INSTDIR\platforms"
  File "${BINDIR}\platforms\qwindows.dll"
  File "${BINDIR}\platforms\qoffscreen.dll"
  File "${BINDIR}\platforms\qminimal.dll"
  SetOutPath "$INSTDIR\styles"
  File "${BINDIR}\styles\qwindowsvistastyle.dll"
  SetOutPath "$INSTDIR\imageformats"
  File "${BINDIR}\imageformats\qico.dll"
  SetOutPath "$INSTDIR"

  WriteUninstaller "$INSTDIR\Uninstall.exe"
  CreateDirectory "$SMPROGRAMS\${PRODUCT}"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk" "$INSTDIR\vaskinterface.exe" "" \
      "$INSTDIR\quorvel.ico"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}\Uninstall ${PRODUCT}.lnk" "$INSTDIR\Uninstall.exe"

  WriteRegStr HKLM "Software\${PRODUCT}" "InstallDir" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\quorvel.ico"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
  Delete "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk"
  Delete "$SMPROGRAMS\${PRODUCT}\Uninstall ${PRODUCT}.lnk"
  RMDir "$SMPROGRAMS\${PRODUCT}"
  Delete "$INSTDIR\platforms\qwindows.dll"
  Delete "$INSTDIR\platforms\qoffscreen.dll"
  Delete "$INSTDIR\platforms\qminimal.dll"
  RMDir "$INSTDIR\platforms"
  Delete "$INSTDIR\styles\qwindowsvistastyle.dll"
  RMDir "$INSTDIR\styles"
  Delete "$INSTDIR\imageformats\qico.dll"
  RMDir "$INSTDIR\imageformats"
  Delete "$INSTDIR\vaskinterface.exe"
  Delete "$INSTDIR\quorvel.exe"
  Delete "$INSTDIR\VASKInterface.uir"
  Delete "$INSTDIR\quorvel.ico"
  Delete "$INSTDIR\Qt6Core.dll"
  Delete "$INSTDIR\Qt6Gui.dll"
  Delete "$INSTDIR\Qt6Widgets.dll"
  Delete "$INSTDIR\Qt6SerialPort.dll"
  Delete "$INSTDIR\libgcc_s_seh-1.dll"
  Delete "$INSTDIR\libstdc++-6.dll"
  Delete "$INSTDIR\libwinpthread-1.dll"
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  DeleteRegKey HKLM "Software\${PRODUCT}"
SectionEnd
