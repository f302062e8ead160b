// Pellix.exe, our stand-in for the viewer: records the command line it was started with, byte
// for byte but for the password, in Pellix.log in its working folder, then shows the fields it
// read from it.
#include <windows.h>
#include <commctrl.h>

#include "viewer/CommandLog.h"
#include "viewer/FieldsDlg.h"
#include "viewer/ReceivedCommandLine.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    // The full line, program name included: WinMain's own argument has the name cut off.
    const char* received = GetCommandLineA();
    // Written before any window, so whoever started the viewer can read it at once; a log that
    // cannot be written does not keep the viewer from showing. The log ships to users' machines,
    // where anyone who can read the folder could read a password in it.
    AppendCommandLog(kCommandLogFileName, MaskPasswords(received));

    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    const ReceivedCommandLine commandLine = ParseReceivedCommandLine(received);
    CFieldsDlg dialog(instance, commandLine);
    dialog.DoModal(nullptr);
    return 0;
}
