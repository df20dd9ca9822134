; The installer and uninstaller of the toolbar. The build gives the version and the files:
;   makensis -INPUTCHARSET UTF8 -DVERSION=1.0.0.76 -DX86_DLL=... -DX64_DLL=... -DMENU_INI=...
;            -DOUTFILE=... TextaroBar.nsi
; One folder holds everything: on a 64-bit system the x86 DLL for the 32-bit browser and the
; x64 DLL, named TextaroBar64.dll, for the 64-bit one, so both read one settings.ini and one
; menu.ini beside them.
Unicode true
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "x64.nsh"

!define PRODUCT "Textaro SMS"
!define PUBLISHER "Textaro"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Textaro"
; The built-in Users group by its SID: its name differs with the system's language.
!define USERS_SID "*S-1-5-32-545"
!define FOREIGN_FOLDER "Složka „$INSTDIR“ obsahuje jiné soubory ($R0) a není to dřívější instalace lišty ${PRODUCT}. Zvolte prázdnou nebo novou složku."

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES\Textaro"
BrandingText "${PUBLISHER} ${VERSION}"
ShowInstDetails show
ShowUninstDetails show

!define MUI_ABORTWARNING
!insertmacro MUI_PAGE_WELCOME
!define MUI_PAGE_CUSTOMFUNCTION_LEAVE LeaveDirectory
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
; The uninstaller opens on its one choice, whether the user's settings go too; its button
; "Odinstalovat" is the confirmation.
!define MUI_COMPONENTSPAGE_NODESC
!define MUI_COMPONENTSPAGE_TEXT_TOP "Lišta bude odebrána z prohlížeče i z počítače. Nastavení (účet, adresář kontaktů a historie) zůstane pro příští instalaci, pokud nezaškrtnete jeho smazání."
!define MUI_COMPONENTSPAGE_TEXT_COMPLIST "Smazat také:"
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Czech"

VIProductVersion "${VERSION}"
VIFileVersion "${VERSION}"
VIAddVersionKey /LANG=${LANG_CZECH} "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=${LANG_CZECH} "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=${LANG_CZECH} "FileDescription" "Instalace lišty ${PRODUCT}"
VIAddVersionKey /LANG=${LANG_CZECH} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_CZECH} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_CZECH} "LegalCopyright" "© ${PUBLISHER}"

Var aclFailed
!macro Icacls target options
    nsExec::ExecToLog '"$SYSDIR\icacls.exe" "${target}" ${options}'
    Pop $0
    ${If} $0 != 0
        DetailPrint "icacls ${target} ${options}: $0"
        StrCpy $aclFailed 1
    ${EndIf}
!macroend

; An open browser keeps its DLL loaded and the file cannot be overwritten: the new DLL then
; waits under another name and takes the old one's place when the computer restarts, so an old
; DLL never stays on beside the new menu.ini and version entry.
!macro PutDll source name
    File "/oname=${name}.new" "${source}"
    Delete "$INSTDIR\${name}"
    Rename /REBOOTOK "$INSTDIR\${name}.new" "$INSTDIR\${name}"
!macroend

!macro Register file options
    ExecWait '"$SYSDIR\regsvr32.exe" /s ${options} "$INSTDIR\${file}"' $0
    ${If} $0 != 0
        DetailPrint "regsvr32 ${options} ${file}: $0"
        SetErrors
    ${EndIf}
!macroend

; Both DLLs, each by the regsvr32 of its own bitness, so each lands in its registry view.
!macro RegisterAll options
    !insertmacro Register "TextaroBar.dll" "${options}"
    ${If} ${RunningX64}
        ${DisableX64FSRedirection}
        !insertmacro Register "TextaroBar64.dll" "${options}"
        ${EnableX64FSRedirection}
    ${EndIf}
!macroend

Function .onInit
    ${If} ${RunningX64}
        SetRegView 64
        ${If} $INSTDIR == "$PROGRAMFILES\Textaro"
            StrCpy $INSTDIR "$PROGRAMFILES64\Textaro"
        ${EndIf}
    ${EndIf}
    ; An upgrade goes where the earlier version is.
    ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
    ${If} $0 != ""
        StrCpy $INSTDIR $0
    ${EndIf}
    ; A silent install has no directory page to refuse a folder on.
    ${If} ${Silent}
        Call ForeignEntry
        ${If} $R0 != ""
            MessageBox MB_OK|MB_ICONSTOP "${FOREIGN_FOLDER}" /SD IDOK
            SetErrorLevel 2
            Quit
        ${EndIf}
    ${EndIf}
FunctionEnd

; What the installer writes is run elevated later (upgrades, uninstalls, regsvr32) and what
; menu.ini names is trusted by every user's toolbar, so the folder must be one the toolbar owns:
; missing, empty, where the installed-programs entry says the toolbar is, or holding nothing
; but the toolbar's own files (settings.ini alone is what its uninstaller keeps). Leaves the
; first entry of someone else in $R0, or "".
Function ForeignEntry
    StrCpy $R0 ""
    ReadRegStr $R1 HKLM "${UNINSTALL_KEY}" "InstallLocation"
    ${If} $R1 == $INSTDIR
        Return
    ${EndIf}
    FindFirst $R1 $R2 "$INSTDIR\*"
    ${DoWhile} $R2 != ""
        ${If} $R2 != "."
        ${AndIf} $R2 != ".."
        ${AndIf} $R2 != "TextaroBar.dll"
        ${AndIf} $R2 != "TextaroBar64.dll"
        ${AndIf} $R2 != "menu.ini"
        ${AndIf} $R2 != "settings.ini"
        ${AndIf} $R2 != "uninstall.exe"
            StrCpy $R0 $R2
            ${Break}
        ${EndIf}
        FindNext $R1 $R2
    ${Loop}
    FindClose $R1
FunctionEnd

Function LeaveDirectory
    Call ForeignEntry
    ${If} $R0 != ""
        MessageBox MB_OK|MB_ICONSTOP "${FOREIGN_FOLDER}"
        Abort
    ${EndIf}
FunctionEnd

Section "Textaro SMS"
    ; Earlier versions let the Users group change the whole folder, inherited by every file in
    ; it and granted on each file there. Removing the folder's grant takes the inherited ones
    ; away; the files' own grants go with the second call. Both stop at the folder's own
    ; files: further down lies nothing this installer put there.
    ${If} ${FileExists} "$INSTDIR\*.*"
        !insertmacro Icacls "$INSTDIR" "/remove:g ${USERS_SID}"
        !insertmacro Icacls "$INSTDIR\*" "/remove:g ${USERS_SID}"
    ${EndIf}
    SetOutPath "$INSTDIR"
    ; A deployment's own gateway and portal outlive the new menu.ini; settings.ini (the
    ; user's account, address book and histories) is never written here.
    ClearErrors
    ReadINIStr $1 "$INSTDIR\menu.ini" "SETTINGS" "Gateway"
    ${If} ${Errors}
        StrCpy $1 ""
    ${EndIf}
    ClearErrors
    ReadINIStr $2 "$INSTDIR\menu.ini" "SETTINGS" "Portal"
    ${If} ${Errors}
        StrCpy $2 ""
    ${EndIf}

    !insertmacro PutDll "${X86_DLL}" "TextaroBar.dll"
    ${If} ${RunningX64}
        !insertmacro PutDll "${X64_DLL}" "TextaroBar64.dll"
    ${EndIf}
    File "/oname=menu.ini" "${MENU_INI}"
    WriteUninstaller "$INSTDIR\uninstall.exe"
    WriteINIStr "$INSTDIR\menu.ini" "SETTINGS" "UninstalString" "$INSTDIR\uninstall.exe"
    WriteINIStr "$INSTDIR\menu.ini" "SETTINGS" "UninstalStringArgs" ""
    ${If} $1 != ""
        WriteINIStr "$INSTDIR\menu.ini" "SETTINGS" "Gateway" "$1"
    ${EndIf}
    ${If} $2 != ""
        WriteINIStr "$INSTDIR\menu.ini" "SETTINGS" "Portal" "$2"
    ${EndIf}

    ; The toolbar writes settings.ini beside itself from a browser run by an ordinary user: that
    ; one file, made here empty when missing (opened to append, never emptied), is all the
    ; Users group may change.
    FileOpen $0 "$INSTDIR\settings.ini" a
    FileClose $0
    !insertmacro Icacls "$INSTDIR\settings.ini" "/grant ${USERS_SID}:(R,W)"
    ${If} $aclFailed == 1
        MessageBox MB_OK|MB_ICONEXCLAMATION "Nepodařilo se nastavit oprávnění ke složce lišty." /SD IDOK
        SetErrorLevel 2
    ${EndIf}

    ClearErrors
    !insertmacro RegisterAll ""
    ${If} ${Errors}
        MessageBox MB_OK|MB_ICONEXCLAMATION "Lištu se nepodařilo zaregistrovat v systému." /SD IDOK
        SetErrorLevel 2
    ${EndIf}

    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "URLInfoAbout" "http://www.textaro.cz/"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
    ${If} ${RebootFlag}
        MessageBox MB_OK|MB_ICONINFORMATION \
            "Lišta je ještě načtená v otevřeném prohlížeči. Nová verze ji nahradí při příštím spuštění počítače." \
            /SD IDOK
    ${EndIf}
SectionEnd

Function un.onInit
    ${If} ${RunningX64}
        SetRegView 64
    ${EndIf}
FunctionEnd

Section "-un.Toolbar"
    ; The browser's toolbar value goes with the registration.
    !insertmacro RegisterAll "/u"
    ; A DLL still loaded by an open browser goes when the computer restarts.
    Delete /REBOOTOK "$INSTDIR\TextaroBar.dll"
    Delete /REBOOTOK "$INSTDIR\TextaroBar64.dll"
    Delete "$INSTDIR\menu.ini"
    Delete "$INSTDIR\uninstall.exe"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd

; Off unless the user ticks it: the account, the address book and the histories stay for a
; later installation.
Section /o "un.Nastavení (účet, kontakty, historie)"
    Delete "$INSTDIR\settings.ini"
SectionEnd

Section "-un.Folder"
    RMDir /REBOOTOK "$INSTDIR"
    ${If} ${RebootFlag}
        MessageBox MB_OK|MB_ICONINFORMATION \
            "Lišta je ještě načtená v otevřeném prohlížeči. Její soubory budou odstraněny při příštím spuštění počítače." \
            /SD IDOK
    ${EndIf}
SectionEnd
