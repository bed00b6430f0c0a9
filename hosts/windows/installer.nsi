; SPDX-License-Identifier: GPL-3.0-or-later
; The Windows installer. By default it installs for the current user alone, into
; their own programs folder, and so never asks for administrator rights; started
; with those rights (or given /AllUsers) it can install for everyone instead.
;   makensis -DVERSION=1.2.3 -DEXE=grimspire.exe -DREADME=README.txt
;            -DLICENCE=COPYING.txt -DICON=gray.ico -DOUTFILE=setup.exe installer.nsi
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
ManifestSupportedOS all
ManifestDPIAware true

!define KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Grimspire"
!define SETTINGS "Software\Grimspire"
!define PUBLISHER "The Grimspire Team"

!define MULTIUSER_EXECUTIONLEVEL Standard
!define MULTIUSER_MUI
!define MULTIUSER_INSTALLMODE_COMMANDLINE
!define MULTIUSER_USE_PROGRAMFILES64
!define MULTIUSER_INSTALLMODE_INSTDIR Grimspire
; A reinstall lands where the last one went.
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_KEY "${KEY}"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_VALUENAME InstallLocation
!include MultiUser.nsh
!include MUI2.nsh
!include nsDialogs.nsh
!include LogicLib.nsh
!include FileFunc.nsh

Name Grimspire
OutFile "${OUTFILE}"
BrandingText "Grimspire ${VERSION}"
VIProductVersion ${VERSION}.0
VIAddVersionKey ProductName Grimspire
VIAddVersionKey CompanyName "${PUBLISHER}"
VIAddVersionKey FileDescription "Grimspire installer"
VIAddVersionKey FileVersion ${VERSION}
VIAddVersionKey ProductVersion ${VERSION}
VIAddVersionKey LegalCopyright "GNU General Public License, version 3 or later"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING

; Only the game's own folder, shortcuts and Apps entry are written: nothing to
; close, nothing to reboot for.
!define MUI_WELCOMEPAGE_TEXT "Setup will install Grimspire ${VERSION}, a castle of 83 rooms to escape from, drawn in the characters of an early-1980s home computer.$\r$\n$\r$\nIt changes nothing else on your computer.$\r$\n$\r$\nClick Next to continue."
!insertmacro MUI_PAGE_WELCOME
; The GPL grants; it asks no agreement of someone who only plays.
!define MUI_PAGE_HEADER_TEXT "Licence"
!define MUI_PAGE_HEADER_SUBTEXT "Grimspire is free software."
!define MUI_LICENSEPAGE_TEXT_TOP "You need not accept anything to play Grimspire."
!define MUI_LICENSEPAGE_TEXT_BOTTOM "This licence says what you may do when you share or change the game. Click Next to go on."
!define MUI_LICENSEPAGE_BUTTON $(^NextBtn)
!insertmacro MUI_PAGE_LICENSE "${LICENCE}"
Page custom ModePage ModePageLeave
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\grimspire.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Run Grimspire"
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE English

Var everyone

; Shown only to a player who has the rights to install for everyone.
Function ModePage
    ${If} $MultiUser.Privileges != Admin
    ${AndIf} $MultiUser.Privileges != Power
        Abort
    ${EndIf}
    !insertmacro MUI_HEADER_TEXT "Who plays" "Install Grimspire for you alone, or for everyone who uses this computer."
    nsDialogs::Create 1018
    Pop $0
    ${NSD_CreateRadioButton} 0 10u 100% 12u "Only for &me"
    Pop $1
    ${NSD_CreateRadioButton} 0 30u 100% 12u "For &everyone who uses this computer (into Program Files)"
    Pop $everyone
    ${If} $MultiUser.InstallMode == AllUsers
        ${NSD_Check} $everyone
    ${Else}
        ${NSD_Check} $1
    ${EndIf}
    nsDialogs::Show
FunctionEnd

Function ModePageLeave
    ${NSD_GetState} $everyone $0
    ${If} $0 == ${BST_CHECKED}
        Call MultiUser.InstallMode.AllUsers
    ${Else}
        Call MultiUser.InstallMode.CurrentUser
    ${EndIf}
FunctionEnd

Section Grimspire main
    SectionIn RO
    SetOutPath $INSTDIR
    File "/oname=grimspire.exe" "${EXE}"
    File "/oname=README.txt" "${README}"
    File "/oname=COPYING.txt" "${LICENCE}"
    WriteUninstaller "$INSTDIR\Uninstall.exe"
    CreateShortcut "$SMPROGRAMS\Grimspire.lnk" "$INSTDIR\grimspire.exe"

    ; The uninstaller must clean up where this one wrote.
    StrCpy $1 ""
    ${If} $MultiUser.InstallMode == AllUsers
        StrCpy $1 " /AllUsers"
    ${EndIf}
    WriteRegStr SHCTX "${KEY}" DisplayName Grimspire
    WriteRegStr SHCTX "${KEY}" DisplayVersion ${VERSION}
    WriteRegStr SHCTX "${KEY}" Publisher "${PUBLISHER}"
    WriteRegStr SHCTX "${KEY}" DisplayIcon "$INSTDIR\grimspire.exe,0"
    WriteRegStr SHCTX "${KEY}" InstallLocation $INSTDIR
    WriteRegStr SHCTX "${KEY}" UninstallString '"$INSTDIR\Uninstall.exe"$1'
    WriteRegStr SHCTX "${KEY}" QuietUninstallString '"$INSTDIR\Uninstall.exe" /S$1'
    WriteRegDWORD SHCTX "${KEY}" NoModify 1
    WriteRegDWORD SHCTX "${KEY}" NoRepair 1
    ${GetSize} $INSTDIR "/S=0K" $0 $2 $3
    WriteRegDWORD SHCTX "${KEY}" EstimatedSize $0
SectionEnd

Section /o "Desktop shortcut" desktop
    CreateShortcut "$DESKTOP\Grimspire.lnk" "$INSTDIR\grimspire.exe"
SectionEnd

!insertmacro MUI_FUNCTION_DESCRIPTION_BEGIN
    !insertmacro MUI_DESCRIPTION_TEXT ${main} "The game, this README and licence, a Start menu entry and an uninstaller."
    !insertmacro MUI_DESCRIPTION_TEXT ${desktop} "A shortcut to Grimspire on the desktop as well."
!insertmacro MUI_FUNCTION_DESCRIPTION_END

Function .onInit
    !insertmacro MULTIUSER_INIT
    ${GetParameters} $0
    ${GetOptions} $0 /Desktop $1
    ${IfNot} ${Errors}
        SectionSetFlags ${desktop} ${SF_SELECTED}
    ${EndIf}
FunctionEnd

Function un.onInit
    !insertmacro MULTIUSER_UNINIT
FunctionEnd

Section Uninstall
    Delete "$INSTDIR\grimspire.exe"
    Delete "$INSTDIR\README.txt"
    Delete "$INSTDIR\COPYING.txt"
    Delete "$INSTDIR\Uninstall.exe"
    RMDir $INSTDIR
    Delete "$SMPROGRAMS\Grimspire.lnk"
    Delete "$DESKTOP\Grimspire.lnk"
    DeleteRegKey SHCTX "${KEY}"

    ; The player's own things: saved games always stay; the best score and
    ; settings go only when asked.
    ${GetParameters} $0
    ${GetOptions} $0 /RemoveSettings $1
    ${If} ${Errors}
        EnumRegValue $1 HKCU "${SETTINGS}" 0
        StrCmp $1 "" keep
        MessageBox MB_YESNO|MB_ICONQUESTION|MB_DEFBUTTON2 \
            "Forget your best score and settings as well?$\n$\nYour saved games stay in Saved Games\Grimspire either way." \
            /SD IDNO IDNO keep
    ${EndIf}
    DeleteRegKey HKCU "${SETTINGS}"
    keep:
SectionEnd
