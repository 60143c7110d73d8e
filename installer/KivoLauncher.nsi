; The Kivo Launcher installer. Built by the "installer" target of the Windows build:
;   makensis -DVERSION=x.y.z -DDIST_DIR=<ready-to-run folder> -DOUT_FILE=<setup.exe>
;            -DICON_FILE=<program icon> KivoLauncher.nsi
; Per user (the default, no administrator rights needed) into
; %LOCALAPPDATA%\Programs\Kivo Launcher, or for all users into Program Files. The mode is
; chosen on a page, or with /CURRENTUSER or /ALLUSERS on the command line (silent: /S).

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
ManifestDPIAware true

!ifndef VERSION
  !error "VERSION is not defined"
!endif
!ifndef DIST_DIR
  !error "DIST_DIR is not defined"
!endif
!ifndef OUT_FILE
  !error "OUT_FILE is not defined"
!endif

!define PRODUCT "Kivo Launcher"
!define PROGRAM_EXE "KivoLauncher.exe"
!define PUBLISHER "KivoSoft"
!define UNINSTALL_EXE "Uninstall.exe"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"
; The program's own key and its start-up entry: the same names the program writes.
!define PROGRAM_KEY "SOFTWARE\Kivo Launcher"
!define PROGRAM_SYSTEM_KEY "SOFTWARE\Kivo Launcher\System"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define RUN_VALUE "Kivo Launcher"
; The user's data, as the program builds its path: application data & "KivoSoft\Kivo Launcher".
!define DATA_PARENT "KivoSoft"
!define DATA_FOLDER "KivoSoft\Kivo Launcher"

Name "${PRODUCT}"
OutFile "${OUT_FILE}"
BrandingText "${PRODUCT} ${VERSION}"
VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=0 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=0 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=0 "FileDescription" "${PRODUCT} Setup"
VIAddVersionKey /LANG=0 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "LegalCopyright" "${PUBLISHER}"

; Per user unless asked otherwise; an earlier installation's mode is found again through its
; uninstall entry (the uninstaller relies on that too).
!define MULTIUSER_EXECUTIONLEVEL Highest
!define MULTIUSER_MUI
!define MULTIUSER_INSTALLMODE_COMMANDLINE
!define MULTIUSER_INSTALLMODE_DEFAULT_CURRENTUSER
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_KEY "${UNINSTALL_KEY}"
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_VALUENAME "InstallLocation"
!define MULTIUSER_INSTALLMODE_INSTDIR "${PRODUCT}"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_KEY "${UNINSTALL_KEY}"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_VALUENAME "InstallLocation"
!define MULTIUSER_USE_PROGRAMFILES64
!include MultiUser.nsh
!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh

!ifdef ICON_FILE
  !define MUI_ICON "${ICON_FILE}"
  !define MUI_UNICON "${ICON_FILE}"
!endif
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC

!insertmacro MULTIUSER_PAGE_INSTALLMODE
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES
; No "start it now" box: an installer running with administrator rights would start the
; program with them.
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "SimpChinese"
!insertmacro MUI_LANGUAGE "English"

LangString SecProgram ${LANG_SIMPCHINESE} "Kivo Launcher（必需）"
LangString SecProgram ${LANG_ENGLISH} "Kivo Launcher (required)"
LangString SecStartMenu ${LANG_SIMPCHINESE} "开始菜单快捷方式"
LangString SecStartMenu ${LANG_ENGLISH} "Start menu shortcut"
LangString SecAutoRun ${LANG_SIMPCHINESE} "开机时启动"
LangString SecAutoRun ${LANG_ENGLISH} "Start with Windows"
LangString UninstallName ${LANG_SIMPCHINESE} "卸载 Kivo Launcher"
LangString UninstallName ${LANG_ENGLISH} "Uninstall Kivo Launcher"
LangString StillRunning ${LANG_SIMPCHINESE} "Kivo Launcher 正在运行。请先从通知区域图标的菜单中选择“退出”，然后单击“确定”继续。"
LangString StillRunning ${LANG_ENGLISH} "Kivo Launcher is running. Please choose $\"Exit$\" in the menu of its notification-area icon, then click OK to continue."
LangString AskDeleteData ${LANG_SIMPCHINESE} "是否同时删除您的设置、快捷方式和图标？$\r$\n$\r$\n选择“否”将保留它们，以后重新安装时可以继续使用。"
LangString AskDeleteData ${LANG_ENGLISH} "Do you also want to delete your settings, shortcuts and icons?$\r$\n$\r$\nChoose No to keep them for a later installation."

; ---------------------------------------------------------------------------------------
; Installing

; The program reads its data files while it runs and writes them at its end: files must
; not be replaced under a running copy. Its host window has the class "KivoLauncher".
!macro WaitForProgramToEnd
  ${Do}
    FindWindow $0 "KivoLauncher"
    ${If} $0 == 0
      ${Break}
    ${EndIf}
    ${If} ${Silent}
      ; Nobody can be asked: ask the program to end in order, as its exit command does.
      SendMessage $0 ${WM_CLOSE} 0 0 /TIMEOUT=5000
      Sleep 1000
      FindWindow $0 "KivoLauncher"
      ${If} $0 != 0
        SetErrorLevel 2
        Quit
      ${EndIf}
    ${Else}
      MessageBox MB_OKCANCEL|MB_ICONEXCLAMATION "$(StillRunning)" IDOK +2
      Quit
    ${EndIf}
  ${Loop}
!macroend


Section "$(SecProgram)" SecProgram
  SectionIn RO
  !insertmacro WaitForProgramToEnd
  SetOutPath "$INSTDIR"
  File "${DIST_DIR}\${PROGRAM_EXE}"
  SetOutPath "$INSTDIR\SysIcons"
  File "${DIST_DIR}\SysIcons\*.png"
  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\${UNINSTALL_EXE}"

  ; Add/Remove Programs, under the current user or the machine as the mode says.
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\${PROGRAM_EXE}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  ${If} $MultiUser.InstallMode == "AllUsers"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALL_EXE}" /ALLUSERS'
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALL_EXE}" /ALLUSERS /S'
  ${Else}
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALL_EXE}" /CURRENTUSER'
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALL_EXE}" /CURRENTUSER /S'
  ${EndIf}
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  IntFmt $0 "0x%08X" $0
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" "$0"

  ; The program's first start after an installation begins from its defaults. An update
  ; or a reinstall over data the user kept finds the mark already turned and leaves it,
  ; so the user's ring is not wiped.
  ClearErrors
  ReadRegStr $0 HKCU "${PROGRAM_SYSTEM_KEY}" "FirstRun"
  ${If} ${Errors}
    WriteRegStr HKCU "${PROGRAM_SYSTEM_KEY}" "FirstRun" "0"
  ${EndIf}
SectionEnd

Section "$(SecStartMenu)" SecStartMenu
  CreateShortcut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\${PROGRAM_EXE}"
SectionEnd

; The start-up entry is the one the program keeps itself (its settings' "start with
; Windows"): the quoted program path under the current user's Run key.
Section "$(SecAutoRun)" SecAutoRun
  WriteRegStr HKCU "${RUN_KEY}" "${RUN_VALUE}" '"$INSTDIR\${PROGRAM_EXE}"'
SectionEnd

; Section indices exist only from their sections on.
Function .onInit
  !insertmacro MULTIUSER_INIT
  ; A silent installation without the start-up entry: /NOAUTORUN.
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/NOAUTORUN" $1
  ${IfNot} ${Errors}
    SectionSetFlags ${SecAutoRun} 0
  ${EndIf}
FunctionEnd

; ---------------------------------------------------------------------------------------
; Uninstalling

Function un.onInit
  !insertmacro MULTIUSER_UNINIT
FunctionEnd

Section "Uninstall"
  !insertmacro WaitForProgramToEnd

  ; The start-up entry goes only when it starts this copy of the program.
  ReadRegStr $0 HKCU "${RUN_KEY}" "${RUN_VALUE}"
  ${If} $0 == '"$INSTDIR\${PROGRAM_EXE}"'
  ${OrIf} $0 == "$INSTDIR\${PROGRAM_EXE}"
    DeleteRegValue HKCU "${RUN_KEY}" "${RUN_VALUE}"
  ${EndIf}

  Delete "$SMPROGRAMS\${PRODUCT}.lnk"
  Delete "$INSTDIR\${PROGRAM_EXE}"
  Delete "$INSTDIR\SysIcons\*.png"
  RMDir "$INSTDIR\SysIcons"
  Delete "$INSTDIR\${UNINSTALL_EXE}"
  RMDir "$INSTDIR"
  DeleteRegKey SHCTX "${UNINSTALL_KEY}"

  ; Where the program was is no longer true; the rest of its key is the user's.
  DeleteRegValue HKCU "${PROGRAM_SYSTEM_KEY}" "APP_PATH"
  DeleteRegValue HKCU "${PROGRAM_SYSTEM_KEY}" "APP_VER"
  DeleteRegValue HKCU "${PROGRAM_SYSTEM_KEY}" "APP_BUILD"

  ; The user's data stays unless the user says otherwise (silently: /DELETEDATA).
  StrCpy $1 "keep"
  ${GetParameters} $2
  ClearErrors
  ${GetOptions} $2 "/DELETEDATA" $3
  ${IfNot} ${Errors}
    StrCpy $1 "delete"
  ${ElseIfNot} ${Silent}
    MessageBox MB_YESNO|MB_ICONQUESTION|MB_DEFBUTTON2 "$(AskDeleteData)" IDNO +2
    StrCpy $1 "delete"
  ${EndIf}
  ${If} $1 == "delete"
    ; The data belongs to the user who uninstalls, whatever the installation's mode.
    SetShellVarContext current
    RMDir /r "$APPDATA\${DATA_FOLDER}"
    RMDir "$APPDATA\${DATA_PARENT}"
    DeleteRegKey HKCU "${PROGRAM_KEY}"
  ${EndIf}
SectionEnd
