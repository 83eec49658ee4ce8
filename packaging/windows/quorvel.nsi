; The Windows installer: the program and the command-line tool quorvel.exe, the Qt and MinGW
; run-time DLLs and plugins beside them, the panel resource file, the icon, the third-party
; notices and licence texts; a Start menu entry, an uninstaller and its entry in the list of
; programs. makensis gets VERSION, BINDIR (the build's bin folder), OUTFILE and
; SHIPPED_FILES (the macros that install and remove what packaging/windows/shipped-files
; lists) from scripts/windows/installer.sh.
;
; For everyone (Program Files, administrator rights) or just for the user who runs it
; (%LOCALAPPDATA%\Programs\Quorvel, no rights needed), as NSIS's MultiUser conventions have
; it: the choice is a page for an administrator, /AllUsers or /CurrentUser when silent
; (/S). Installing over an earlier version replaces the program where it is. The operator's
; data (the settings history under %APPDATA%\Quorvel\Quorvel, the remembered ports and the
; window's place under HKCU\Software\Quorvel\Quorvel) is never the installer's: the
; uninstaller leaves it unless "Also remove my settings history" is ticked (/RemoveUserData
; when silent).
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma

!define PRODUCT "Quorvel"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"
; The installer's values, InstallDir and InstallMode, in HKLM or HKCU as the install is for
; everyone or one user. The tool keeps its own settings in the subkey Quorvel below it.
!define PRODUCT_KEY "Software\${PRODUCT}"
!define USER_SETTINGS_KEY "Software\${PRODUCT}\${PRODUCT}"

!define MULTIUSER_EXECUTIONLEVEL Highest
!define MULTIUSER_MUI
!define MULTIUSER_INSTALLMODE_COMMANDLINE
!define MULTIUSER_USE_PROGRAMFILES64
!define MULTIUSER_INSTALLMODE_INSTDIR "${PRODUCT}"
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_KEY "${PRODUCT_KEY}"
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_VALUENAME "InstallMode"
!define MULTIUSER_INSTALLMODE_FUNCTION keepEarlierFolder
!define MULTIUSER_INSTALLMODEPAGE_TEXT_TOP "${PRODUCT} can be installed for everyone who uses this computer, in Program Files, which needs administrator rights, or just for you, in a folder of your own, which needs none. $(^ClickNext)"
!define MULTIUSER_INSTALLMODEPAGE_TEXT_ALLUSERS "Install for everyone using this computer (needs administrator rights)"
!define MULTIUSER_INSTALLMODEPAGE_TEXT_CURRENTUSER "Install just for me (needs no administrator rights)"
!include "MultiUser.nsh"
!include "MUI2.nsh"
!include "FileFunc.nsh"
!include "LogicLib.nsh"
!include "nsDialogs.nsh"
!include "${SHIPPED_FILES}"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
VIProductVersion "${VERSION}.0.0"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "FileDescription" "${PRODUCT} configuration and monitoring tool installer"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "${PRODUCT}"

!define MUI_ICON "${BINDIR}\quorvel.ico"
!define MUI_UNICON "${BINDIR}\quorvel.ico"
!define MUI_FINISHPAGE_RUN "$INSTDIR\vaskinterface.exe"
!insertmacro MULTIUSER_PAGE_INSTALLMODE
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
UninstPage custom un.userDataPage un.userDataPageLeave
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

Var removeUserData
Var removeUserDataBox

; An earlier install of the same kind is replaced where it is, also where its operator put it.
Function keepEarlierFolder
  ReadRegStr $0 SHCTX "${PRODUCT_KEY}" "InstallDir"
  ${If} $0 != ""
    StrCpy $INSTDIR $0
  ${EndIf}
FunctionEnd

; A folder given with /D stands, whatever the install mode would choose.
Function .onInit
  SetRegView 64
  StrCpy $0 $INSTDIR
  !insertmacro MULTIUSER_INIT
  ${If} $0 != ""
    StrCpy $INSTDIR $0
  ${EndIf}
FunctionEnd

; The uninstaller removes the copy it belongs to: the one for this user when it sits in the
; folder of this user's install, else the one for everyone.
Function un.onInit
  SetRegView 64
  !insertmacro MULTIUSER_UNINIT
  ReadRegStr $0 HKCU "${PRODUCT_KEY}" "InstallDir"
  ReadRegStr $1 HKLM "${PRODUCT_KEY}" "InstallDir"
  ${If} $0 == $INSTDIR
    Call un.MultiUser.InstallMode.CurrentUser
  ${ElseIf} $1 == $INSTDIR
    ${If} $MultiUser.Privileges != "Admin"
    ${AndIf} $MultiUser.Privileges != "Power"
      MessageBox MB_OK|MB_ICONSTOP "${PRODUCT} was installed for everyone using this computer: removing it needs administrator rights." /SD IDOK
      Quit
    ${EndIf}
    Call un.MultiUser.InstallMode.AllUsers
  ${EndIf}
  StrCpy $removeUserData 0
  ${un.GetParameters} $2
  ClearErrors
  ${un.GetOptions} $2 "/RemoveUserData" $3
  ${IfNot} ${Errors}
    StrCpy $removeUserData 1
  ${EndIf}
FunctionEnd

Function un.userDataPage
  !insertmacro MUI_HEADER_TEXT "Your settings history" "Keep it for a later installation, or remove it."
  nsDialogs::Create 1018
  Pop $0
  ${NSD_CreateLabel} 0 0 100% 48u "The settings history (the settings blocks kept before and after each write to an instrument), the remembered ports and the window's place stay on this computer for a later installation, unless you tick the box. The data of other users is never removed."
  Pop $0
  ${NSD_CreateCheckbox} 0 56u 100% 12u "Also remove my settings history"
  Pop $removeUserDataBox
  ${If} $removeUserData == 1
    ${NSD_Check} $removeUserDataBox
  ${EndIf}
  nsDialogs::Show
FunctionEnd

Function un.userDataPageLeave
  ${NSD_GetState} $removeUserDataBox $0
  ${If} $0 == ${BST_CHECKED}
    StrCpy $removeUserData 1
  ${Else}
    StrCpy $removeUserData 0
  ${EndIf}
FunctionEnd

Section "${PRODUCT}"
  !insertmacro InstallShippedFiles

  WriteUninstaller "$INSTDIR\Uninstall.exe"
  CreateDirectory "$SMPROGRAMS\${PRODUCT}"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk" "$INSTDIR\vaskinterface.exe" "" \
      "$INSTDIR\quorvel.ico"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}\Uninstall ${PRODUCT}.lnk" "$INSTDIR\Uninstall.exe"

  WriteRegStr SHCTX "${PRODUCT_KEY}" "InstallDir" "$INSTDIR"
  WriteRegStr SHCTX "${PRODUCT_KEY}" "InstallMode" "$MultiUser.InstallMode"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "${PRODUCT}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\quorvel.ico"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

; What the tool wrote for the user who uninstalls: the settings history and the choices
; QSettings keeps. Another user's stay; so does a history QUORVEL_HISTORY_DIR moved.
Function un.removeUserData
  SetShellVarContext current
  RMDir /r "$APPDATA\${PRODUCT}\${PRODUCT}"
  RMDir "$APPDATA\${PRODUCT}"
  DeleteRegKey HKCU "${USER_SETTINGS_KEY}"
  DeleteRegKey /ifempty HKCU "${PRODUCT_KEY}"
  ${If} $MultiUser.InstallMode == "AllUsers"
    SetShellVarContext all
  ${EndIf}
FunctionEnd

Section "Uninstall"
  Delete "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk"
  Delete "$SMPROGRAMS\${PRODUCT}\Uninstall ${PRODUCT}.lnk"
  RMDir "$SMPROGRAMS\${PRODUCT}"
  !insertmacro RemoveShippedFiles
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey SHCTX "${UNINSTALL_KEY}"
  DeleteRegValue SHCTX "${PRODUCT_KEY}" "InstallDir"
  DeleteRegValue SHCTX "${PRODUCT_KEY}" "InstallMode"
  DeleteRegKey /ifempty SHCTX "${PRODUCT_KEY}"
  ${If} $removeUserData == 1
    Call un.removeUserData
  ${EndIf}
SectionEnd
