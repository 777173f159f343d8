; The setup program of the Windows release (makensis, built by `make windows-dist`).
;
; Installs the programs, the help pages and README.txt, a Start-menu folder (and a desktop
; shortcut for those who want one) whose viewer shortcut starts in the root of the drive that
; holds the trader's \ZEPAWIN, prepares that folder when there is none, and registers with
; Windows' list of installed programs. The uninstaller leaves \ZEPAWIN and the program's settings
; alone unless its box is ticked.
;
; Command line (besides NSIS's own /S and /D=FOLDER):
;   /CurrentUser   install for this user only, into the user's local programs folder, even as
;                  an administrator
;   /DRIVE=X:      the drive of \ZEPAWIN (default: the one an earlier install chose, else the
;                  system drive)
;   /DEMO          write the demo installation when X:\ZEPAWIN is new
;   /DESKTOP       also a desktop shortcut
; The uninstaller takes /S and /REMOVEDATA (ticks the box that removes \ZEPAWIN and the settings).
;
; makensis gets from CMake: ZEPA_VERSION, ZEPA_PUBLISHER, ZEPA_OUTFILE, ZEPA_ICON,
; ZEPA_FILES (the generated list of files, zepa_setup_files.nsh) and ZEPA_POSITION_TEMPLATE.

Unicode true
Target amd64-unicode
ManifestDPIAware true
SetCompressor /SOLID lzma
; Administrators install for every user (and are asked to confirm), others for themselves.
RequestExecutionLevel highest

!ifndef ZEPA_VERSION | ZEPA_PUBLISHER | ZEPA_OUTFILE | ZEPA_ICON | ZEPA_FILES | ZEPA_POSITION_TEMPLATE
  !error "give -DZEPA_VERSION, -DZEPA_PUBLISHER, -DZEPA_OUTFILE, -DZEPA_ICON, -DZEPA_FILES and -DZEPA_POSITION_TEMPLATE"
!endif

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include nsDialogs.nsh
!include WinMessages.nsh
!include "${ZEPA_FILES}"

!define PRODUCT "さやチャート"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\ZEPA_SPW"
!define SETTINGS_KEY "Software\VORNEK\ZEPA_CHART"
!define MENU_FOLDER "$SMPROGRAMS\${PRODUCT}"
!define VIEWER_LINK "${PRODUCT}.lnk"
!define HELP_LINK "${PRODUCT} ヘルプ.lnk"

Name "${PRODUCT}"
OutFile "${ZEPA_OUTFILE}"
BrandingText "${PRODUCT} ${ZEPA_VERSION}"
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${ZEPA_VERSION}.0"
VIAddVersionKey /LANG=1041 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1041 "CompanyName" "${ZEPA_PUBLISHER}"
VIAddVersionKey /LANG=1041 "FileDescription" "${PRODUCT} セットアップ"
VIAddVersionKey /LANG=1041 "FileVersion" "${ZEPA_VERSION}"
VIAddVersionKey /LANG=1041 "ProductVersion" "${ZEPA_VERSION}"
VIAddVersionKey /LANG=1041 "LegalCopyright" "${ZEPA_PUBLISHER}"

Var PerUser       ; 1: this user only (HKCU, the user's folders)
Var Drive         ; "C:": where \ZEPAWIN is
Var WriteDemo     ; 1: write the demo installation into a new \ZEPAWIN
Var DataDialog
Var DriveList
Var DriveNote
Var DemoBox

!define MUI_ICON "${ZEPA_ICON}"
!define MUI_UNICON "${ZEPA_ICON}"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC

!define MUI_WELCOMEPAGE_TEXT "${PRODUCT} ${ZEPA_VERSION} をこのコンピューターにインストールします。$\r$\n$\r$\n株価データと建玉ファイルを置く ZEPAWIN フォルダは、すでにあればそのまま使います（書き換えません）。$\r$\n$\r$\n続けるには [次へ] をクリックしてください。"
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
Page custom DataPageShow DataPageLeave
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "${PRODUCT} を起動する"
!define MUI_FINISHPAGE_RUN_FUNCTION StartViewer
!define MUI_FINISHPAGE_SHOWREADME "$INSTDIR\README.txt"
!define MUI_FINISHPAGE_SHOWREADME_TEXT "README.txt を表示する"
!define MUI_FINISHPAGE_SHOWREADME_NOTCHECKED
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "Japanese"

; ---------------------------------------------------------------------------------------------
; Install

Section "${PRODUCT} 本体とヘルプ（必須）" SecProgram
  SectionIn RO
  SetOutPath "$INSTDIR"
  !insertmacro ZepaInstallFiles
  WriteUninstaller "$INSTDIR\uninstall.exe"

  Call PrepareZepawin

  ; The viewer reads \ZEPAWIN on the drive it starts in: its shortcuts start in that drive's root.
  CreateDirectory "${MENU_FOLDER}"
  SetOutPath "$Drive\"
  CreateShortCut "${MENU_FOLDER}\${VIEWER_LINK}" "$INSTDIR\zepa_spw.exe" "" "$INSTDIR\zepa_spw.exe" 0
  SetOutPath "$INSTDIR\HELP"
  CreateShortCut "${MENU_FOLDER}\${HELP_LINK}" "$INSTDIR\HELP\index.html"
  SetOutPath "$INSTDIR"

  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${ZEPA_VERSION}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "${ZEPA_PUBLISHER}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\zepa_spw.exe,0"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "ZepawinDrive" "$Drive"
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section /o "デスクトップにショートカットを作る" SecDesktop
  SetOutPath "$Drive\"
  CreateShortCut "$DESKTOP\${VIEWER_LINK}" "$INSTDIR\zepa_spw.exe" "" "$INSTDIR\zepa_spw.exe" 0
  SetOutPath "$INSTDIR"
SectionEnd

; A new \ZEPAWIN: the demo installation when asked for, else the folders and a position file
; with only its heading comments. An existing one is never written to.
Function PrepareZepawin
  ${If} ${FileExists} "$Drive\ZEPAWIN\*.*"
    DetailPrint "$Drive\ZEPAWIN はすでにあるので、そのまま使います"
    Return
  ${EndIf}
  ${If} $WriteDemo == 1
    DetailPrint "デモデータを $Drive\ZEPAWIN に書き込みます"
    nsExec::ExecToLog '"$INSTDIR\zepa_demo_data.exe" "$Drive\\"'
    Pop $0
    ${If} $0 == 0
      Return
    ${EndIf}
    DetailPrint "デモデータを書き込めませんでした（$0）"
  ${EndIf}
  CreateDirectory "$Drive\ZEPAWIN\DATA"
  ${IfNot} ${FileExists} "$Drive\ZEPAWIN\ZEPA_SPW.DAT"
    SetOutPath "$Drive\ZEPAWIN"
    File "/oname=ZEPA_SPW.DAT" "${ZEPA_POSITION_TEMPLATE}"
    SetOutPath "$INSTDIR"
  ${EndIf}
  DetailPrint "$Drive\ZEPAWIN を作りました"
FunctionEnd

Function StartViewer
  SetOutPath "$Drive\"
  Exec '"$INSTDIR\zepa_spw.exe"'
  SetOutPath "$INSTDIR"
FunctionEnd

; "C:" for a value like "c", "C:" or "c:\" that names a drive there is, else "".
Function NormalizeDrive
  Exch $0
  Push $1
  Push $2
  StrCpy $0 $0 1
  StrCpy $2 ""
  StrCpy $1 65 ; "A"
  ${Do}
    IntFmt $2 "%c" $1
    ${If} $0 == $2 ; case-insensitive
      ${Break}
    ${EndIf}
    StrCpy $2 ""
    IntOp $1 $1 + 1
  ${LoopUntil} $1 > 90
  StrCpy $0 ""
  ${If} $2 != ""
    ; 0: unknown, 1: no such drive.
    System::Call 'kernel32::GetDriveTypeW(w "$2:\") i .r1'
    ${If} $1 > 1
      StrCpy $0 "$2:"
    ${EndIf}
  ${EndIf}
  Pop $2
  Pop $1
  Exch $0
FunctionEnd

Function .onInit
  ${GetParameters} $R0
  StrCpy $PerUser 0
  ${GetOptions} $R0 "/CurrentUser" $R1
  ${IfNot} ${Errors}
    StrCpy $PerUser 1
  ${Else}
    UserInfo::GetAccountType
    Pop $R1
    ${If} $R1 != "Admin"
      StrCpy $PerUser 1
    ${EndIf}
  ${EndIf}
  ${If} $PerUser == 1
    SetShellVarContext current
  ${Else}
    SetShellVarContext all
  ${EndIf}

  ; An earlier install: its folder and its drive, unless told otherwise.
  ReadRegStr $R2 SHCTX "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $INSTDIR == ""
    ${If} $R2 != ""
      StrCpy $INSTDIR $R2
    ${ElseIf} $PerUser == 1
      StrCpy $INSTDIR "$LOCALAPPDATA\Programs\${PRODUCT}"
    ${Else}
      StrCpy $INSTDIR "$PROGRAMFILES64\${PRODUCT}"
    ${EndIf}
  ${EndIf}

  StrCpy $Drive ""
  ${GetOptions} $R0 "/DRIVE=" $R1
  ${IfNot} ${Errors}
    Push $R1
    Call NormalizeDrive
    Pop $Drive
    ${If} $Drive == ""
      MessageBox MB_ICONSTOP "ドライブ $R1 がありません。" /SD IDOK
      Abort
    ${EndIf}
  ${EndIf}
  ${If} $Drive == ""
    ReadRegStr $R1 SHCTX "${UNINSTALL_KEY}" "ZepawinDrive"
    Push $R1
    Call NormalizeDrive
    Pop $Drive
  ${EndIf}
  ${If} $Drive == ""
    StrCpy $Drive $WINDIR 2
  ${EndIf}

  StrCpy $WriteDemo 0
  ${GetOptions} $R0 "/DEMO" $R1
  ${IfNot} ${Errors}
    StrCpy $WriteDemo 1
  ${ElseIfNot} ${Silent}
    ; Offered ticked on the data page (when the folder is new).
    StrCpy $WriteDemo 1
  ${EndIf}

  ${GetOptions} $R0 "/DESKTOP" $R1
  ${IfNot} ${Errors}
  ${OrIf} ${FileExists} "$DESKTOP\${VIEWER_LINK}"
    !insertmacro SelectSection ${SecDesktop}
  ${EndIf}
FunctionEnd

; The page that asks for the drive of \ZEPAWIN and offers the demo for a new one.
Function DataPageShow
  !insertmacro MUI_HEADER_TEXT "データの置き場所" "株価データと建玉ファイルを置く ZEPAWIN フォルダのドライブを選んでください。"
  nsDialogs::Create 1018
  Pop $DataDialog
  ${If} $DataDialog == error
    Abort
  ${EndIf}
  ${NSD_CreateLabel} 0 0 100% 36u "${PRODUCT} は、起動したドライブの直下にある ZEPAWIN フォルダ（株価データ DATA\DBW.*、建玉ファイル ZEPA_SPW.DAT、決済済みの取引 CLOSED.CSV など）を読み書きします。スタートメニューのショートカットは、ここで選ぶドライブで起動します。"
  Pop $0
  ${NSD_CreateLabel} 0 42u 60u 12u "ドライブ(&D):"
  Pop $0
  ${NSD_CreateDropList} 62u 40u 50u 80u ""
  Pop $DriveList
  StrCpy $1 67 ; "C"
  ${Do}
    IntFmt $2 "%c" $1
    System::Call 'kernel32::GetDriveTypeW(w "$2:\") i .r3'
    ; Removable (2) and fixed (3) drives.
    ${If} $3 == 2
    ${OrIf} $3 == 3
      ${NSD_CB_AddString} $DriveList "$2:"
    ${EndIf}
    IntOp $1 $1 + 1
  ${LoopUntil} $1 > 90
  ${NSD_CB_SelectString} $DriveList $Drive
  ${NSD_OnChange} $DriveList DataPageDriveChanged
  ${NSD_CreateLabel} 0 60u 100% 24u ""
  Pop $DriveNote
  ${NSD_CreateCheckbox} 0 88u 100% 12u "デモデータ（架空の銘柄の株価と建玉）を書き込んで、すぐに試せるようにする(&M)"
  Pop $DemoBox
  ${If} $WriteDemo == 1
    ${NSD_Check} $DemoBox
  ${EndIf}
  Call DataPageUpdate
  nsDialogs::Show
FunctionEnd

Function DataPageDriveChanged
  Pop $0
  ${NSD_GetText} $DriveList $Drive
  Call DataPageUpdate
FunctionEnd

; The note and the demo box follow the drive: the demo only goes into a new folder.
Function DataPageUpdate
  ${If} ${FileExists} "$Drive\ZEPAWIN\*.*"
    ${NSD_SetText} $DriveNote "$Drive\ZEPAWIN がすでにあります。中のファイルはそのまま使い、書き換えません。"
    EnableWindow $DemoBox 0
  ${Else}
    ${NSD_SetText} $DriveNote "$Drive\ZEPAWIN はまだありません。フォルダと空の建玉ファイルを作ります。"
    EnableWindow $DemoBox 1
  ${EndIf}
FunctionEnd

Function DataPageLeave
  ${NSD_GetText} $DriveList $Drive
  ${NSD_GetState} $DemoBox $0
  ${If} $0 == ${BST_CHECKED}
    StrCpy $WriteDemo 1
  ${Else}
    StrCpy $WriteDemo 0
  ${EndIf}
FunctionEnd

; ---------------------------------------------------------------------------------------------
; Uninstall

Section "un.${PRODUCT} 本体・ヘルプ・ショートカット（必須）" SecUnProgram
  SectionIn RO
  !insertmacro ZepaUninstallFiles
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR\HELP"
  SetOutPath "$TEMP"
  RMDir "$INSTDIR"
  Delete "${MENU_FOLDER}\${VIEWER_LINK}"
  Delete "${MENU_FOLDER}\${HELP_LINK}"
  RMDir "${MENU_FOLDER}"
  Delete "$DESKTOP\${VIEWER_LINK}"
  DeleteRegKey SHCTX "${UNINSTALL_KEY}"
SectionEnd

Section /o "un.\ZEPAWIN（株価・建玉・決済済み）と設定も削除する" SecUnData
  ${If} $Drive != ""
    DetailPrint "$Drive\ZEPAWIN を削除します"
    RMDir /r "$Drive\ZEPAWIN"
  ${EndIf}
  DeleteRegKey HKCU "${SETTINGS_KEY}"
  DeleteRegKey /ifempty HKCU "Software\VORNEK"
SectionEnd

Function un.onInit
  ; The hive the install wrote: the machine's when it registered this folder there.
  ReadRegStr $R0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $R0 == $INSTDIR
    SetShellVarContext all
  ${Else}
    SetShellVarContext current
  ${EndIf}
  ReadRegStr $Drive SHCTX "${UNINSTALL_KEY}" "ZepawinDrive"
  ${GetParameters} $R0
  ${GetOptions} $R0 "/REMOVEDATA" $R1
  ${IfNot} ${Errors}
    !insertmacro SelectSection ${SecUnData}
  ${EndIf}
FunctionEnd
