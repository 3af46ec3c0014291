; Installer of tvconfig for 64-bit Windows, built by scripts/build-windows.sh:
;   makensis -DVERSION=<x.y> -DSTAGE=<folder with the programs> -DICON=<.ico>
;            -DFILELIST=<Delete lines of the staged files> -DOUTFILE=<setup.exe> tvconfig.nsi
; Installs into Program Files\tvconfig for all users, adds a Start-menu entry for
; tvconfig and an uninstaller listed under Add/Remove Programs. /S installs (and
; the uninstaller removes) silently; /D=<folder> chooses another folder.
; A 64-bit installer for a 64-bit program: it writes the 64-bit registry view
; and Program Files, and 32-bit Windows refuses it at once.
Target amd64-unicode

Name "tvconfig ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\tvconfig"
RequestExecutionLevel admin
SetCompressor /SOLID lzma
Icon "${ICON}"
UninstallIcon "${ICON}"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\tvconfig"

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Section "tvconfig"
  SetShellVarContext all
  SetOutPath "$INSTDIR"
  File /r "${STAGE}\*.*"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  ; tvconfig keeps TVCONFIG.INI and writes its headers in its current folder:
  ; started from the Start menu, that is the user's own Documents folder. The
  ; shell expands the variable when the shortcut starts, for each user.
  CreateDirectory "$SMPROGRAMS\tvconfig"
  StrCpy $OUTDIR "%USERPROFILE%\Documents"
  CreateShortcut "$SMPROGRAMS\tvconfig\tvconfig.lnk" "$INSTDIR\tvconfig.exe" "" \
                 "$INSTDIR\tvconfig.exe" 0
  SetOutPath "$INSTDIR"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "tvconfig ${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "tvconfig developers"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\tvconfig.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
  SetShellVarContext all
  Delete "$SMPROGRAMS\tvconfig\tvconfig.lnk"
  RMDir "$SMPROGRAMS\tvconfig"
  ; Only what the installer put there: the users' TVCONFIG.INI and headers live
  ; in their own folders and stay.
  !include "${FILELIST}"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
