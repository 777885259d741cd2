; The installer of the shop's program: per user, into a folder the user may write, since the
; program keeps the shop's data in its own folder. The uninstaller takes away the program's
; files by name and never the shop's data (Danni.xls, Faktura.xls, Kartini, Arhiv, Fakturi, Dnevnici, Nastroiki.ini).
; makensis -DVERSION=... -DSTAGE=<folder with the program's files> -DOUTFILE=... tervin.nsi
Unicode true
RequestExecutionLevel user
SetCompressor /SOLID lzma

!include "MUI2.nsh"
!include "FileFunc.nsh"

!define NAME "Тервин за детски стоки"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tervin"

Name "${NAME}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Tervin"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"

!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\tervin.exe"
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Bulgarian"

Section "Програмата" SecProgram
  SectionIn RO
  SetOutPath "$INSTDIR"
  !include "${STAGE}\files.nsh"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortCut "$SMPROGRAMS\${NAME}.lnk" "$INSTDIR\tervin.exe"
  CreateShortCut "$DESKTOP\${NAME}.lnk" "$INSTDIR\tervin.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${NAME}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; A shop to try the program on, laid out only where no shop is yet.
Section /o "Демонстрационен магазин" SecDemo
  IfFileExists "$INSTDIR\Danni.xls" done
  nsExec::Exec '"$INSTDIR\tervin-workbook.exe" demo "$INSTDIR"'
  done:
SectionEnd

; Without the demonstration, an empty shop in euro, again only where no shop is yet.
Section "-EmptyShop"
  IfFileExists "$INSTDIR\Danni.xls" done
  nsExec::Exec '"$INSTDIR\tervin-workbook.exe" new "$INSTDIR\Danni.xls"'
  done:
SectionEnd

Section "Uninstall"
  !include "${STAGE}\unfiles.nsh"
  Delete "$INSTDIR\uninstall.exe"
  Delete "$SMPROGRAMS\${NAME}.lnk"
  Delete "$DESKTOP\${NAME}.lnk"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
  ; Only an empty folder goes: the shop's data stays where it was.
  RMDir "$INSTDIR"
SectionEnd
