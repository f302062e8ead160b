; What the installer and the uninstaller ask, in English and in Traditional Chinese side by
; side; packaging/installer.nsi includes it after its languages. $INSTDIR is the folder they
; work on.

LangString LauncherRunning ${LANG_ENGLISH} "Tavrin is running from $INSTDIR. Close it, then choose Retry to go on, or Cancel to stop."
LangString LauncherRunning ${LANG_TRADCHINESE} "Tavrin 正在從 $INSTDIR 執行。請先關閉它，再按「重試」繼續，或按「取消」停止。"

LangString RemoveBook ${LANG_ENGLISH} "Also remove my address book and its backups?$\r$\n$\r$\nAddressBook.ini in $INSTDIR holds your devices and their passwords. No keeps it and its backups there."
LangString RemoveBook ${LANG_TRADCHINESE} "是否同時移除我的通訊錄及其備份？$\r$\n$\r$\n$INSTDIR 中的 AddressBook.ini 存有您的裝置及其密碼。按「否」會將它及其備份保留在該資料夾中。"
