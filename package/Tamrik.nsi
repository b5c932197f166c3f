; The Tamrik installer, made with NSIS (makensis) by the build:
;   makensis -DVERSION=1.7.0 -DSTAGE=<dir of the shipped files> -DOUTFILE=<setup.exe> Tamrik.nsi
; An administrator installs for every user, into Program Files; anyone else
; for that user alone, into the user's own programs folder, as does an
; administrator who passes /CurrentUser. /S installs (and uninstalls)
; silently, with every section on.

Unicode true
SetCompressor /SOLID lzma

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include WinMessages.nsh

!ifndef VERSION | STAGE | OUTFILE
    !error "VERSION, STAGE and OUTFILE must be defined"
!endif

!define PRODUCT "Tamrik"
!define PUBLISHER "The Tamrik developers"
!define EXE "Tamrik.exe"
!define UNINSTALLER "uninstall.exe"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
; No elevation is asked for: the installer runs with the rights it is given
; and picks the folder to match (see .onInit).
RequestExecutionLevel user
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} setup"
VIAddVersionKey /LANG=1033 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "Copyright (c) ${PUBLISHER}"

!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_SMALLDESC
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "Start ${PRODUCT}"
!define MUI_FINISHPAGE_RUN_FUNCTION StartTamrik
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; A running Tamrik holds its program file open and its folder as current
; directory; it is asked to end, as its own Exit does (which also saves its
; settings), and given a few seconds to. Its application window is the one
; of class TApplication titled "Tamrik".
!define SYNCHRONIZE 0x00100000
!macro CloseTamrik un
    Function ${un}CloseTamrik
        FindWindow $0 "TApplication" "${PRODUCT}"
        ${If} $0 = 0
            Return
        ${EndIf}
        DetailPrint "Closing the running ${PRODUCT}"
        System::Call 'user32::GetWindowThreadProcessId(p r0, *i .r1)'
        System::Call 'kernel32::OpenProcess(i ${SYNCHRONIZE}, i 0, i r1) p .r2'
        SendMessage $0 ${WM_CLOSE} 0 0 /TIMEOUT=5000
        ${If} $2 P<> 0
            System::Call 'kernel32::WaitForSingleObject(p r2, i 5000)'
            System::Call 'kernel32::CloseHandle(p r2)'
        ${EndIf}
    FunctionEnd
!macroend
!insertmacro CloseTamrik ""
!insertmacro CloseTamrik "un."

Function .onInit
    UserInfo::GetAccountType
    Pop $0
    ${GetParameters} $1
    ClearErrors
    ${GetOptions} $1 "/CurrentUser" $2
    ${IfNot} ${Errors}
        StrCpy $0 "User"
    ${EndIf}
    ${If} $0 == "Admin"
        SetShellVarContext all
        ${IfThen} $INSTDIR == "" ${|} StrCpy $INSTDIR "$PROGRAMFILES\${PRODUCT}" ${|}
    ${Else}
        SetShellVarContext current
        ${IfThen} $INSTDIR == "" ${|} StrCpy $INSTDIR "$LOCALAPPDATA\Programs\${PRODUCT}" ${|}
    ${EndIf}
FunctionEnd

Section "${PRODUCT}" SecProgram
    SectionIn RO
    Call CloseTamrik
    ; SetOutPath also gives the shortcut its working directory: Tamrik's
    ; Help opens readme.txt from the directory it was started in.
    SetOutPath "$INSTDIR"
    File "${STAGE}/${EXE}"
    File "${STAGE}/readme.txt"
    File "${STAGE}/LICENSE.txt"
    WriteUninstaller "$INSTDIR\${UNINSTALLER}"
    CreateShortCut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\${EXE}" "" "$INSTDIR\${EXE}" 0

    ; SHCTX is HKLM for an install for every user, HKCU for one user's.
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\${EXE},0"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

; The Run key is the user's own, whoever the program was installed for.
Section "Start ${PRODUCT} when Windows starts" SecStartup
    WriteRegStr HKCU "${RUN_KEY}" "${PRODUCT}" '"$INSTDIR\${EXE}"'
SectionEnd

!insertmacro MUI_FUNCTION_DESCRIPTION_BEGIN
    !insertmacro MUI_DESCRIPTION_TEXT ${SecProgram} "${PRODUCT}, its manual and the Start menu shortcut."
    !insertmacro MUI_DESCRIPTION_TEXT ${SecStartup} "Puts ${PRODUCT}'s buttons into the notification area at every logon."
!insertmacro MUI_FUNCTION_DESCRIPTION_END

Function StartTamrik
    SetOutPath "$INSTDIR"
    Exec '"$INSTDIR\${EXE}"'
FunctionEnd

; The uninstaller serves the install it lies in: for every user when that
; is the folder the machine's uninstall key names.
Function un.onInit
    ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
    ${If} $0 == $INSTDIR
        SetShellVarContext all
    ${Else}
        SetShellVarContext current
    ${EndIf}
FunctionEnd

; Takes out what the installer put in, and no more: the settings file,
; Tamrik.ini in the Windows directory, stays for a later install.
Section "Uninstall"
    Call un.CloseTamrik
    Delete "$SMPROGRAMS\${PRODUCT}.lnk"
    DeleteRegValue HKCU "${RUN_KEY}" "${PRODUCT}"
    Delete "$INSTDIR\${EXE}"
    Delete "$INSTDIR\readme.txt"
    Delete "$INSTDIR\LICENSE.txt"
    Delete "$INSTDIR\${UNINSTALLER}"
    DeleteRegKey SHCTX "${UNINSTALL_KEY}"
    ; Last, and only when empty: what the user put there stays with its folder.
    RMDir "$INSTDIR"
SectionEnd
