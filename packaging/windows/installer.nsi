; The Dravik installer, in Simplified Chinese: installs the folder that `cmake --install` made into
; Program Files, with a Start-menu folder, a desktop shortcut and an uninstaller listed among the
; installed programs. The uninstaller removes what was installed and leaves every user's data folder
; (%LOCALAPPDATA%\Dravik) alone. Built by the target dravik_windows_packages, which passes VERSION,
; FILES (the lists of files), ICON and OUTFILE.
Unicode true
; A 64-bit installer: the program is 64-bit, and Debian's makensis would otherwise make a 32-bit one.
Target amd64-unicode
; One LZMA stream over all files, with a dictionary that holds them all (about 30 MB).
SetCompressor /SOLID lzma
SetCompressorDictSize 64
RequestExecutionLevel admin

!include MUI2.nsh
!include "${FILES}"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Dravik"

Name "Dravik"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Dravik"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "Dravik ${VERSION}"

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=2052 "ProductName" "Dravik"
VIAddVersionKey /LANG=2052 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=2052 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=2052 "FileDescription" "Dravik 安装程序"
VIAddVersionKey /LANG=2052 "CompanyName" "The Dravik developers"
VIAddVersionKey /LANG=2052 "LegalCopyright" "The Dravik developers"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\dravik.exe"
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "SimpChinese"

Section "Dravik"
    SetShellVarContext all
    !insertmacro DRAVIK_INSTALL_FILES
    WriteUninstaller "$INSTDIR\uninstall.exe"

    CreateDirectory "$SMPROGRAMS\Dravik"
    ; A shortcut starts its program in the output folder of the moment: the last one the files went to
    ; (the translations) would become the open dialogs' folder. None at all: Windows starts the program
    ; in the user's own folder, and the program's dialogs start in the documents folder.
    SetOutPath ""
    CreateShortcut "$SMPROGRAMS\Dravik\Dravik.lnk" "$INSTDIR\dravik.exe"
    CreateShortcut "$SMPROGRAMS\Dravik\卸载 Dravik.lnk" "$INSTDIR\uninstall.exe"
    CreateShortcut "$DESKTOP\Dravik.lnk" "$INSTDIR\dravik.exe"

    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Dravik"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "The Dravik developers"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\dravik.exe"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
    SetShellVarContext all
    Delete "$DESKTOP\Dravik.lnk"
    Delete "$SMPROGRAMS\Dravik\Dravik.lnk"
    Delete "$SMPROGRAMS\Dravik\卸载 Dravik.lnk"
    RMDir "$SMPROGRAMS\Dravik"
    !insertmacro DRAVIK_UNINSTALL_FILES
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
