; Kordel's Windows setup, kordel-setup.exe: installs Kordel into Program Files\Kordel, or upgrades the
; earlier installation (uninstall key Kordel_is1) and carries its user languages across with the four
; helpers: udsave, quietuninst, the new files, udrestore, udmigrate. "/S" runs it silently.
;
; Built by the kordel-setup target of the Windows cross build (installer/CMakeLists.txt), which
; passes the files to install as definitions:
;   VERSION, OUTFILE, KORDEL_EXE, KORDELC, HELPERS (folder of udsave.exe ...), MANUAL.
;
; No language pack is installed: its languages are built into the programs. The only udlangdb.ini in
; the installation folder is the user's, carried over from an earlier installation; each user's own
; edits go to %APPDATA%\kordel\udlangdb.ini.
;
; Exit status of kordel-setup.exe: 0 installed; 1 cancelled by the user; 2 stopped before anything
; was installed (an upgrade that stops leaves the earlier installation as it was); 3 installed, but
; the user languages could not be restored or converted; 4 stopped after the earlier uninstaller ran,
; because the earlier installation was still there when it ended or had not gone within a minute
; (nothing new was installed; the languages saved from it stay in the temporary folder); 5 stopped
; before anything was changed, because a running Kordel.exe did not close when asked (setup and
; uninstaller alike); 6 stopped before anything was changed, because the installation drive or the
; temporary folder has too little free space; 7 stopped part-way through putting the files in place
; (the earlier installation, if any, is already removed): the uninstall key and uninstall.exe are
; written first, so the uninstaller knows the half-installed folder, and a saved database waits for
; the next run. The message says why; silent mode shows none.

Unicode true
Target amd64-unicode
RequestExecutionLevel admin
SetCompressor /SOLID lzma
ManifestDPIAware true

!include LogicLib.nsh
!include FileFunc.nsh

!macro RequireDefinition name
  !ifndef ${name}
    !error "${name} is not defined: build kordel-setup.exe through the kordel-setup target."
  !endif
!macroend
!insertmacro RequireDefinition VERSION
!insertmacro RequireDefinition OUTFILE
!insertmacro RequireDefinition HELPERS
!insertmacro RequireDefinition MANUAL
!insertmacro RequireDefinition KORDEL_EXE
!insertmacro RequireDefinition KORDELC

!define UNINSTALL_ROOT "SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall"
!define CURRENT_KEY "${UNINSTALL_ROOT}\Kordel"
!define EARLIER_KEY "${UNINSTALL_ROOT}\Kordel_is1"
!define DATABASE "udlangdb.ini"
; Databases that an upgrade kept beside the one in use: udlangdb.earlier-XXXXXXXX.ini (saved from
; the earlier installation) and udlangdb.replaced-XXXXXXXX.ini (the one a newer saved one replaced).
!define DATABASE_STEM "udlangdb"
; The language pack that earlier setups of ours installed beside the database, to tell whether the
; user had changed it.
!define FORMER_PACK "language-pack.ini"
!define KPL_CLASS "Kordel.ProjectList"
; The class of Kordel.exe's main window, by which a second copy finds the first.
!define KORDEL_WINDOW_CLASS "VarnockClass"

Name "Kordel ${VERSION}"
Caption "Kordel ${VERSION} Setup"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Kordel"
ShowInstDetails show
ShowUninstDetails show
VIProductVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "Kordel"
VIAddVersionKey "FileDescription" "Kordel ${VERSION} Setup"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "Kordel"

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

; The earlier installation, as its uninstall key names it; both empty when there is none.
Var EarlierFolder
Var EarlierUninstall
; The program of EarlierUninstall, without quotes and arguments.
Var EarlierProgram
; "1" when the earlier installation held a database that udsave saved.
Var DatabaseSaved
; Set while languages saved from an earlier installation wait in the temporary folder for their
; restore: a setup stopped or killed after the save finishes the restore when run again.
!define PENDING_KEY "Software\Kordel\Setup"
!define PENDING_VALUE "PendingRestore"

; Reads the earlier installation's key: a 32-bit setup wrote it, so after the 64-bit view the
; 32-bit one is asked, the same order the helpers use.
Function FindEarlierInstallation
  SetRegView 64
  ReadRegStr $EarlierFolder HKLM "${EARLIER_KEY}" "InstallLocation"
  ReadRegStr $EarlierUninstall HKLM "${EARLIER_KEY}" "QuietUninstallString"
  ${If} $EarlierFolder == ""
  ${AndIf} $EarlierUninstall == ""
    SetRegView 32
    ReadRegStr $EarlierFolder HKLM "${EARLIER_KEY}" "InstallLocation"
    ReadRegStr $EarlierUninstall HKLM "${EARLIER_KEY}" "QuietUninstallString"
    SetRegView 64
  ${EndIf}
  ; The folder as the helpers read it: without surrounding blanks and quotes, and without the
  ; closing backslash, since the paths built below add their own.
  ${Do}
    StrCpy $0 $EarlierFolder 1
    ${If} $0 == " "
    ${OrIf} $0 == '"'
      StrCpy $EarlierFolder $EarlierFolder "" 1
      ${Continue}
    ${EndIf}
    StrCpy $0 $EarlierFolder 1 -1
    ${If} $0 == " "
    ${OrIf} $0 == '"'
    ${OrIf} $0 == "\"
      StrCpy $EarlierFolder $EarlierFolder -1
      ${Continue}
    ${EndIf}
    ${Break}
  ${Loop}
  Call FindEarlierProgram
  ; Without InstallLocation the uninstaller's own folder is the installation's, as the helpers take it.
  ${If} $EarlierFolder == ""
  ${AndIf} $EarlierProgram != ""
    ${GetParent} $EarlierProgram $EarlierFolder
  ${EndIf}
FunctionEnd

; The program of EarlierUninstall, split off as the helpers split it: a quoted program runs to the
; closing quote, an unquoted one through the first ".exe" that ends a word, else to the first blank.
Function FindEarlierProgram
  StrCpy $0 $EarlierUninstall
  ${Do}
    StrCpy $1 $0 1
    ${If} $1 != " "
      ${Break}
    ${EndIf}
    StrCpy $0 $0 "" 1
  ${Loop}
  StrCpy $1 $0 1
  StrCpy $3 0
  ${If} $1 == '"'
    StrCpy $0 $0 "" 1
    ${Do}
      StrCpy $1 $0 1 $3
      ${If} $1 == ""
      ${OrIf} $1 == '"'
        ${Break}
      ${EndIf}
      IntOp $3 $3 + 1
    ${Loop}
  ${Else}
    StrCpy $4 -1
    ${Do}
      StrCpy $1 $0 1 $3
      ${If} $1 == ""
        ${Break}
      ${EndIf}
      ${If} $1 == " "
      ${AndIf} $4 == -1
        StrCpy $4 $3
      ${EndIf}
      StrCpy $1 $0 4 $3
      IntOp $5 $3 + 4
      StrCpy $2 $0 1 $5
      ${If} $2 == " "
        StrCpy $2 ""
      ${EndIf}
      ${If} $1 == ".exe"
      ${AndIf} $2 == ""
        StrCpy $3 $5
        StrCpy $4 -2
        ${Break}
      ${EndIf}
      IntOp $3 $3 + 1
    ${Loop}
    ${If} $4 >= 0
      StrCpy $3 $4
    ${EndIf}
  ${EndIf}
  StrCpy $EarlierProgram $0 $3
FunctionEnd

; Sets $0 to "1" while the earlier installation is still there: its uninstall key in either view,
; its uninstaller program, or, when it is the folder this setup installs into, that folder.
Function IsEarlierStillThere
  StrCpy $0 "0"
  SetRegView 32
  ReadRegStr $1 HKLM "${EARLIER_KEY}" "QuietUninstallString"
  ReadRegStr $2 HKLM "${EARLIER_KEY}" "InstallLocation"
  SetRegView 64
  ReadRegStr $3 HKLM "${EARLIER_KEY}" "QuietUninstallString"
  ReadRegStr $4 HKLM "${EARLIER_KEY}" "InstallLocation"
  StrCpy $1 "$1$2$3$4"
  ${If} $1 != ""
    StrCpy $0 "1"
  ${ElseIf} $EarlierProgram != ""
  ${AndIf} ${FileExists} "$EarlierProgram"
    StrCpy $0 "1"
  ${ElseIf} $EarlierFolder == $INSTDIR
  ${AndIf} ${FileExists} "$EarlierFolder\*.*"
    StrCpy $0 "1"
  ${EndIf}
FunctionEnd

Function .onInit
  SetRegView 64
  Call FindEarlierInstallation
  ${If} $EarlierFolder != ""
  ${OrIf} $EarlierUninstall != ""
    MessageBox MB_OKCANCEL|MB_ICONINFORMATION "Setup will remove the earlier installation of Kordel ($EarlierFolder) and carry your user languages over to the new one." /SD IDOK IDOK upgrade
    SetErrorLevel 1
    Abort
upgrade:
  ${EndIf}
FunctionEnd

; Sets $0 to "1" when files $0 and $1 hold the same bytes (both must exist), else "0".
Function SameBytes
  StrCpy $2 "0"
  ClearErrors
  FileOpen $3 "$0" r
  IfErrors done
  FileOpen $4 "$1" r
  IfErrors close3
  FileSeek $3 0 END $5
  FileSeek $4 0 END $6
  ${If} $5 == $6
    FileSeek $3 0 SET
    FileSeek $4 0 SET
    StrCpy $2 "1"
    ${DoWhile} $5 > 0
      FileReadByte $3 $7
      FileReadByte $4 $8
      ${If} $7 != $8
        StrCpy $2 "0"
        ${Break}
      ${EndIf}
      IntOp $5 $5 - 1
    ${Loop}
  ${EndIf}
  FileClose $4
close3:
  FileClose $3
done:
  StrCpy $0 $2
FunctionEnd

; The language pack an earlier setup of ours installed is retired with this one. A database that is
; still that pack byte for byte holds nothing of the user's and goes with it; any other database is
; the user's and stays.
Function RetireFormerPack
  ${IfNot} ${FileExists} "$INSTDIR\${FORMER_PACK}"
    Return
  ${EndIf}
  StrCpy $0 "$INSTDIR\${DATABASE}"
  StrCpy $1 "$INSTDIR\${FORMER_PACK}"
  Call SameBytes
  ${If} $0 == "1"
    Delete "$INSTDIR\${DATABASE}"
    DetailPrint "Removed ${DATABASE}: it was the former language pack, whose languages are now built in."
  ${EndIf}
  Delete "$INSTDIR\${FORMER_PACK}"
FunctionEnd

; Asks a running Kordel.exe to close, as its close box would (an unsaved list makes it ask the user
; first), and waits up to half a minute for it. A Kordel.exe still running then stops the setup or
; the uninstaller with 5: its program file cannot be replaced or removed while it runs.
!macro CloseKordelFunction prefix
Function ${prefix}CloseKordel
  FindWindow $0 "${KORDEL_WINDOW_CLASS}"
  ${If} $0 == 0
    Return
  ${EndIf}
  DetailPrint "Asking Kordel to close..."
  System::Call 'user32::PostMessageW(p $0, i 0x0010, p 0, p 0)'
  StrCpy $1 0
  ${Do}
    Sleep 500
    FindWindow $0 "${KORDEL_WINDOW_CLASS}"
    ${If} $0 == 0
      ; The window is gone; the process ends a moment later.
      Sleep 1000
      Return
    ${EndIf}
    IntOp $1 $1 + 1
  ${LoopUntil} $1 >= 60
  StrCpy $0 "Kordel is running and did not close when asked, so nothing was changed. Close Kordel and try again."
  DetailPrint "$0"
  MessageBox MB_OK|MB_ICONSTOP "$0" /SD IDOK
  SetErrorLevel 5
  Abort
FunctionEnd
!macroend
!insertmacro CloseKordelFunction ""
!insertmacro CloseKordelFunction "un."

; Runs helper $0 and waits; $1 receives its exit status, "error" when it could not be started. What
; the helper writes to standard error (why it failed, which database it kept) goes into the log.
Function RunHelper
  nsExec::ExecToLog '"$0"'
  Pop $1
  DetailPrint "$0: exit status $1"
FunctionEnd

; Sets $0 to the size of file $0 in KiB, rounded up; 0 when there is no such file.
Function FileSizeKiB
  ClearErrors
  FileOpen $1 "$0" r
  ${If} ${Errors}
    StrCpy $0 0
    Return
  ${EndIf}
  FileSeek $1 0 END $0
  FileClose $1
  IntOp $0 $0 + 1023
  IntOp $0 $0 / 1024
FunctionEnd

; Sets $0 to the free space, in KiB, of the drive that holds folder $0 (or its nearest existing
; parent); "" when it cannot be told.
Function FreeSpaceKiB
  ; A folder, found by its attributes: an empty drive lists nothing, not even "." and "..".
  ${Do}
    System::Call 'kernel32::GetFileAttributesW(w "$0\") i .r1'
    ${If} $1 != -1
      IntOp $1 $1 & 0x10
      ${IfThen} $1 != 0 ${|} ${Break} ${|}
    ${EndIf}
    ${GetParent} $0 $1
    ${If} $1 == ""
      StrCpy $0 ""
      Return
    ${EndIf}
    StrCpy $0 $1
  ${Loop}
  System::Call 'kernel32::GetDiskFreeSpaceExW(w "$0\", *l .r1, p 0, p 0) i .r2'
  ${If} $2 == 0
    StrCpy $0 ""
    Return
  ${EndIf}
  System::Int64Op $1 / 1024
  Pop $0
FunctionEnd

; Stops with 6 unless the drive of folder $0 has $1 KiB free. Nothing is changed yet.
Function RequireSpace
  StrCpy $8 $0
  StrCpy $9 $1
  Call FreeSpaceKiB
  ${If} $0 == ""
    DetailPrint "The free space in $8 cannot be told; Setup goes on."
    Return
  ${EndIf}
  System::Int64Op $0 < $9
  Pop $1
  ${If} $1 == 1
    StrCpy $0 "There is not enough free space for Setup in $8: it needs $9 KiB and $0 KiB are free. Nothing was changed. Make room there and run Setup again."
    DetailPrint "$0"
    MessageBox MB_OK|MB_ICONSTOP "$0" /SD IDOK
    SetErrorLevel 6
    Abort
  ${EndIf}
FunctionEnd

; Checks the free space before anything is changed. The installation folder takes the files, the
; uninstaller and the user languages (twice while a copy is checked); the temporary folder takes
; the unpacked files (this setup unpacks them there as it goes), the saved user languages and the
; copy of itself that an earlier uninstaller runs from there. On one drive both are needed at once.
; $0: the database that will be carried over ("" for none).
Function CheckSpace
  Call FileSizeKiB
  IntOp $R1 $0 * 2
  SectionGetSize 0 $R0
  IntOp $R2 $R0 + $R1
  IntOp $R2 $R2 + 1024
  StrCpy $R3 $R2
  ${If} $EarlierProgram != ""
    StrCpy $0 $EarlierProgram
    Call FileSizeKiB
    IntOp $R3 $R3 + $0
  ${EndIf}
  ${GetRoot} $INSTDIR $R4
  ${GetRoot} $TEMP $R5
  ${If} $R4 == $R5
    IntOp $R2 $R2 + $R3
  ${Else}
    StrCpy $0 $TEMP
    StrCpy $1 $R3
    Call RequireSpace
  ${EndIf}
  StrCpy $0 $INSTDIR
  StrCpy $1 $R2
  Call RequireSpace
FunctionEnd

; Stops the installation with the reason in $0. Nothing of the new installation exists yet.
Function StopSetup
  DetailPrint "$0"
  MessageBox MB_OK|MB_ICONSTOP "$0" /SD IDOK
  SetErrorLevel 2
  Abort
FunctionEnd

; udsave and quietuninst, run from the setup's own temporary folder before any new file is put in
; place. A database that cannot be saved stops the setup before the earlier installation is touched.
Function SaveAndRemoveEarlier
  DetailPrint "Earlier installation: $EarlierFolder"
  InitPluginsDir
  SetOutPath "$PLUGINSDIR"
  File "${HELPERS}\udsave.exe"
  File "${HELPERS}\quietuninst.exe"

  StrCpy $DatabaseSaved "0"
  ${If} $EarlierFolder != ""
  ${AndIf} ${FileExists} "$EarlierFolder\${DATABASE}"
    StrCpy $DatabaseSaved "1"
  ${EndIf}

  StrCpy $0 "$PLUGINSDIR\udsave.exe"
  Call RunHelper
  ${If} $1 != 0
    StrCpy $0 "Setup could not save your user languages ($EarlierFolder\${DATABASE}) to the temporary folder, so it stopped before removing the earlier installation of Kordel. Nothing was changed. Make sure the temporary folder can be written to and run Setup again."
    Call StopSetup
  ${EndIf}
  ${If} $DatabaseSaved == "1"
    WriteRegStr HKLM "${PENDING_KEY}" "${PENDING_VALUE}" "$TEMP\${DATABASE}"
  ${EndIf}

  ${If} $EarlierUninstall != ""
    StrCpy $0 "$PLUGINSDIR\quietuninst.exe"
    Call RunHelper
    ${If} $1 != 0
      StrCpy $0 "Setup could not remove the earlier installation of Kordel ($EarlierFolder), so it stopped. Your user languages are still in that folder. Remove the earlier installation yourself and run Setup again."
      Call StopSetup
    ${EndIf}
    ; An uninstaller may end before its removal does (it runs a copy of itself from the temporary
    ; folder): no new file goes in before the earlier installation is gone, or it could be removed
    ; with it. One that is still there after a minute failed or hangs.
    StrCpy $6 0
    ${Do}
      Call IsEarlierStillThere
      ${If} $0 == "0"
        ${Break}
      ${EndIf}
      ${If} $6 >= 120
        StrCpy $0 "The earlier installation of Kordel ($EarlierFolder) is still there after its uninstaller ran, so Setup stopped without installing anything. Your user languages are saved as ${DATABASE} in your temporary folder. Remove the earlier installation yourself and run Setup again."
        DetailPrint "$0"
        MessageBox MB_OK|MB_ICONSTOP "$0" /SD IDOK
        SetErrorLevel 4
        Abort
      ${EndIf}
      Sleep 500
      IntOp $6 $6 + 1
    ${Loop}
  ${EndIf}
  SetOutPath "$INSTDIR"
FunctionEnd

; udrestore (only after udsave saved a database) and udmigrate, from the new installation folder:
; they find it through the UninstallString just written.
Function RestoreDatabase
  ${If} $DatabaseSaved == "1"
    StrCpy $0 "$INSTDIR\udrestore.exe"
    Call RunHelper
    ${If} $1 != 0
      StrCpy $0 "Setup could not copy your user languages into $INSTDIR. They are kept as ${DATABASE} in your temporary folder; copy that file into $INSTDIR yourself."
      DetailPrint "$0"
      MessageBox MB_OK|MB_ICONEXCLAMATION "$0" /SD IDOK
      SetErrorLevel 3
      Return
    ${EndIf}
    DeleteRegValue HKLM "${PENDING_KEY}" "${PENDING_VALUE}"
    DeleteRegKey /ifempty HKLM "${PENDING_KEY}"
  ${EndIf}
  StrCpy $0 "$INSTDIR\udmigrate.exe"
  Call RunHelper
  ${If} $1 != 0
    StrCpy $0 "Setup could not convert your user languages in $INSTDIR\${DATABASE} to the current layout; the file was left as it was."
    DetailPrint "$0"
    MessageBox MB_OK|MB_ICONEXCLAMATION "$0" /SD IDOK
    SetErrorLevel 3
  ${EndIf}
FunctionEnd

Section "Kordel"
  SetRegView 64
  SetShellVarContext all
  ; Until the earlier installation is touched, a stop leaves everything as it was.
  SetErrorLevel 2
  ${If} $EarlierFolder != ""
    StrCpy $0 "$EarlierFolder\${DATABASE}"
  ${Else}
    ReadRegStr $0 HKLM "${PENDING_KEY}" "${PENDING_VALUE}"
  ${EndIf}
  Call CheckSpace
  Call CloseKordel

  ${If} $EarlierFolder != ""
  ${OrIf} $EarlierUninstall != ""
    Call SaveAndRemoveEarlier
  ${Else}
    ; A setup stopped or killed between the save and the restore: the saved languages are restored now.
    ReadRegStr $0 HKLM "${PENDING_KEY}" "${PENDING_VALUE}"
    ${If} $0 != ""
    ${AndIf} ${FileExists} "$0"
      DetailPrint "Restoring the user languages saved by an earlier run of Setup: $0"
      StrCpy $DatabaseSaved "1"
    ${EndIf}
  ${EndIf}

  ; From here a stop leaves a half-installed folder (7): the uninstaller and its key come first, so
  ; the uninstaller knows it; an unpacking error that ends setup on its own ends it with 7 as well.
  SetErrorLevel 7
  Call RetireFormerPack
  SetOutPath "$INSTDIR"
  SetOverwrite on
  ClearErrors
  WriteUninstaller "$INSTDIR\uninstall.exe"
  WriteRegStr HKLM "${CURRENT_KEY}" "DisplayName" "Kordel ${VERSION}"
  WriteRegStr HKLM "${CURRENT_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${CURRENT_KEY}" "Publisher" "Kordel"
  WriteRegStr HKLM "${CURRENT_KEY}" "InstallLocation" "$INSTDIR\"
  WriteRegStr HKLM "${CURRENT_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${CURRENT_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${CURRENT_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${CURRENT_KEY}" "NoRepair" 1
  WriteRegStr HKLM "${CURRENT_KEY}" "DisplayIcon" '"$INSTDIR\Kordel.exe",0'

  ; A file that cannot be written (skipped in silent mode) sets the error flag.
  File "${KORDEL_EXE}"
  File "${KORDELC}"
  File "${HELPERS}\udsave.exe"
  File "${HELPERS}\quietuninst.exe"
  File "${HELPERS}\udrestore.exe"
  File "${HELPERS}\udmigrate.exe"
  File "${MANUAL}"
  ${If} ${Errors}
    StrCpy $0 "Setup could not put every file of Kordel into $INSTDIR, so it stopped there. Kordel's uninstaller can remove what was put in place; any user languages saved from an earlier installation wait in your temporary folder for the next run of Setup. Make sure $INSTDIR can be written to and run Setup again."
    DetailPrint "$0"
    MessageBox MB_OK|MB_ICONSTOP "$0" /SD IDOK
    Abort
  ${EndIf}
  SetErrorLevel 0

  CreateDirectory "$SMPROGRAMS\Kordel"
  CreateShortcut "$SMPROGRAMS\Kordel\Kordel.lnk" "$INSTDIR\Kordel.exe"
  CreateShortcut "$SMPROGRAMS\Kordel\Kordel manual.lnk" "$INSTDIR\kordel-manual.html"

  ; Project lists (.kpl) open in Kordel.
  WriteRegStr HKLM "Software\Classes\.kpl" "" "${KPL_CLASS}"
  WriteRegStr HKLM "Software\Classes\${KPL_CLASS}" "" "Kordel project list"
  WriteRegStr HKLM "Software\Classes\${KPL_CLASS}\DefaultIcon" "" '"$INSTDIR\Kordel.exe",0'
  WriteRegStr HKLM "Software\Classes\${KPL_CLASS}\shell\open\command" "" '"$INSTDIR\Kordel.exe" "%1"'
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'

  Call RestoreDatabase
SectionEnd

; --- Uninstaller -----------------------------------------------------------------------------------

; The user languages: the database in the installation folder (carried over from an earlier
; installation) and the one of the user who uninstalls, in %APPDATA%\kordel. They stay unless the
; user asks: a question in the interactive uninstaller (default No), the switch /REMOVEUSERLANGUAGES
; in silent mode. Other users' copies in their own profiles are theirs to keep.
Function un.RemoveDatabase
  SetShellVarContext current
  StrCpy $9 "$APPDATA\kordel"
  SetShellVarContext all
  ${IfNot} ${FileExists} "$INSTDIR\${DATABASE_STEM}*.ini"
  ${AndIfNot} ${FileExists} "$9\${DATABASE}"
    Return
  ${EndIf}
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/REMOVEUSERLANGUAGES" $1
  ${If} ${Errors}
    MessageBox MB_YESNO|MB_ICONQUESTION|MB_DEFBUTTON2 "Remove your user languages too ($INSTDIR\${DATABASE_STEM}*.ini, $9\${DATABASE})?" /SD IDNO IDYES remove
    DetailPrint "Kept your user languages: $INSTDIR\${DATABASE}, $9\${DATABASE}"
    Return
  ${EndIf}
remove:
  Delete "$INSTDIR\${DATABASE}"
  Delete "$INSTDIR\${DATABASE_STEM}.earlier-*.ini"
  Delete "$INSTDIR\${DATABASE_STEM}.replaced-*.ini"
  Delete "$9\${DATABASE}"
  RMDir "$9"
FunctionEnd

Section "Uninstall"
  SetRegView 64
  SetShellVarContext all
  Call un.CloseKordel

  Call un.RemoveDatabase
  Delete "$INSTDIR\Kordel.exe"
  Delete "$INSTDIR\kordelc.exe"
  Delete "$INSTDIR\udsave.exe"
  Delete "$INSTDIR\quietuninst.exe"
  Delete "$INSTDIR\udrestore.exe"
  Delete "$INSTDIR\udmigrate.exe"
  Delete "$INSTDIR\kordel-manual.html"
  Delete "$INSTDIR\uninstall.exe"
  ; Only an empty folder goes: a kept database keeps it.
  RMDir "$INSTDIR"

  Delete "$SMPROGRAMS\Kordel\Kordel.lnk"
  Delete "$SMPROGRAMS\Kordel\Kordel manual.lnk"
  RMDir "$SMPROGRAMS\Kordel"

  ; The file type goes only while it is still ours.
  ReadRegStr $0 HKLM "Software\Classes\.kpl" ""
  ${If} $0 == "${KPL_CLASS}"
    DeleteRegKey HKLM "Software\Classes\.kpl"
  ${EndIf}
  DeleteRegKey HKLM "Software\Classes\${KPL_CLASS}"
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'

  DeleteRegKey HKLM "${CURRENT_KEY}"
SectionEnd
