; The Windows installer: the program, its console companion sweepmere.exe and its help file into
; Program Files (64-bit), a Start-menu shortcut, an uninstaller and its entry in Add/Remove
; Programs, and the Group Policy templates into its policies folder. The uninstaller removes
; exactly these, and a folder only when nothing else was put into it.
; makensis -DEXE=<exe> -DCLI=<sweepmere.exe> -DCHM=<chm> -DICON=<ico> -DOUTFILE=<setup.exe> -DVERSION=<a.b.c.d> -DPOLICIES=<policies folder> CorvaneSweepmere.nsi
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
!include "FileFunc.nsh"

!define PRODUCT "Corvane-Sweepmere"
!define MAKER "Corvane Software"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"

Name "${PRODUCT}"
Caption "${PRODUCT} ${VERSION} Setup"
OutFile "${OUTFILE}"
Icon "${ICON}"
UninstallIcon "${ICON}"
InstallDir "$PROGRAMFILES64\${PRODUCT}"
RequestExecutionLevel admin
ShowInstDetails nevershow
ShowUninstDetails nevershow

VIProductVersion "${VERSION}"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "CompanyName" "${MAKER}"
VIAddVersionKey "FileDescription" "${PRODUCT} Setup"
VIAddVersionKey "LegalCopyright" "Copyright (C) 2026 ${MAKER}"

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Function .onInit
  SetRegView 64
FunctionEnd

Function un.onInit
  SetRegView 64
FunctionEnd

Section "Install"
  SetShellVarContext all
  SetOutPath "$INSTDIR"
  File "/oname=CorvaneSweepmere.exe" "${EXE}"
  File "/oname=sweepmere.exe" "${CLI}"
  File "/oname=HELP.chm" "${CHM}"
  SetOutPath "$INSTDIR\policies\en-US"
  File "/oname=Corvane-Sweepmere.adml" "${POLICIES}\en-US\Corvane-Sweepmere.adml"
  SetOutPath "$INSTDIR\policies"
  File "/oname=Corvane-Sweepmere.admx" "${POLICIES}\Corvane-Sweepmere.admx"
  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\Uninstall.exe"
  CreateShortCut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\CorvaneSweepmere.exe" "" "$INSTDIR\CorvaneSweepmere.exe" 0

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${MAKER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\CorvaneSweepmere.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section "Uninstall"
  SetShellVarContext all
  Delete "$SMPROGRAMS\${PRODUCT}.lnk"
  Delete "$INSTDIR\CorvaneSweepmere.exe"
  Delete "$INSTDIR\sweepmere.exe"
  Delete "$INSTDIR\HELP.chm"
  Delete "$INSTDIR\Uninstall.exe"
  Delete "$INSTDIR\policies\Corvane-Sweepmere.admx"
  Delete "$INSTDIR\policies\en-US\Corvane-Sweepmere.adml"
  RMDir "$INSTDIR\policies\en-US"
  RMDir "$INSTDIR\policies"
  ; Not /r: whatever the user put into the folder stays, and the folder with it.
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
