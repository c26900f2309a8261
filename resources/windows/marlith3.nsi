; The per-user installer: no administrator rights, the program under
; %LOCALAPPDATA%\Programs\Marlith3, a Start-menu entry, the .marlith association and an
; uninstaller that removes only what it installed. scripts/package-windows defines VERSION,
; STAGE (the portable folder), ICON, FILES (the uninstaller's list) and OUTFILE.
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user
ManifestDPIAware true

!define KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Marlith3"
!define CLASS "Marlith3.WorkFile"

Name "Marlith 3"
OutFile "${OUTFILE}"
Icon "${ICON}"
UninstallIcon "${ICON}"
InstallDir "$LOCALAPPDATA\Programs\Marlith3"
InstallDirRegKey HKCU "${KEY}" "InstallLocation"
VIProductVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "Marlith 3"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "FileDescription" "Marlith 3 setup"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "The Marlith developers"

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Section "Marlith 3"
    SetShellVarContext current
    SetOutPath "$INSTDIR"
    File /r "${STAGE}\*.*"
    ; Tells the program it was installed: it writes into Documents\Marlith, not beside itself.
    FileOpen $0 "$INSTDIR\Installed.txt" w
    FileWrite $0 "Installed by Marlith3-${VERSION}-setup.exe. Marlith writes its files into Marlith in your Documents folder.$\r$\n"
    FileClose $0
    WriteUninstaller "$INSTDIR\Uninstall.exe"

    CreateShortcut "$SMPROGRAMS\Marlith 3.lnk" "$INSTDIR\marlith3.exe" "" "$INSTDIR\marlith3.exe" 0

    WriteRegStr HKCU "Software\Classes\.marlith" "" "${CLASS}"
    WriteRegStr HKCU "Software\Classes\${CLASS}" "" "Marlith work file"
    WriteRegStr HKCU "Software\Classes\${CLASS}\DefaultIcon" "" "$INSTDIR\marlith3.exe,0"
    WriteRegStr HKCU "Software\Classes\${CLASS}\shell\open\command" "" '"$INSTDIR\marlith3.exe" "%1"'
    ; SHCNE_ASSOCCHANGED: Explorer shows the new icon and action at once.
    System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'

    WriteRegStr HKCU "${KEY}" "DisplayName" "Marlith 3"
    WriteRegStr HKCU "${KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKCU "${KEY}" "Publisher" "The Marlith developers"
    WriteRegStr HKCU "${KEY}" "DisplayIcon" "$INSTDIR\marlith3.exe,0"
    WriteRegStr HKCU "${KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKCU "${KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
    WriteRegStr HKCU "${KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
    WriteRegDWORD HKCU "${KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
    SetShellVarContext current
    ; Only the installed files, one by one: whatever the user put into the folder stays,
    ; and so does the folder then. The work and source files live elsewhere anyway.
    !include "${FILES}"
    Delete "$INSTDIR\Installed.txt"
    Delete "$INSTDIR\Uninstall.exe"
    RMDir "$INSTDIR"

    Delete "$SMPROGRAMS\Marlith 3.lnk"
    ; The association only while it is still ours.
    ReadRegStr $0 HKCU "Software\Classes\.marlith" ""
    StrCmp $0 "${CLASS}" 0 +2
    DeleteRegKey HKCU "Software\Classes\.marlith"
    DeleteRegKey HKCU "Software\Classes\${CLASS}"
    System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
    DeleteRegKey HKCU "${KEY}"
SectionEnd
