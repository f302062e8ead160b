#include "commands.h"

#include <commctrl.h>
#include <winternl.h>

#include <functional>
#include <map>
#include <vector>

#include "folderpicker.h"
#include "hook_requests.h"
#include "listview.h"
#include "remote_memory.h"
#include "remote_hook.h"
#include "sysmenu.h"
#include "toplevel.h"
#include "window_info.h"

const char* const kUsage =
    "usage: e2edriver COMMAND [--name value]...\n"
    "  windows    [FILTER]                    every top-level window\n"
    "  wait       [FILTER] [--timeout S]      first visible match\n"
    "  gone       --hwnd H [--timeout S]      until the window is destroyed\n"
    "  controls   --hwnd H                    all child controls\n"
    "  msgbox     --hwnd H                    caption, text and buttons of a message box\n"
    "  click      --hwnd H [--id N]           BM_CLICK on an enabled, visible button\n"
    "  settext    --hwnd H [--id N] --text T  WM_SETTEXT, as typing into an edit box\n"
    "  close      --hwnd H                    the close box (SC_CLOSE)\n"
    "  syscommand --hwnd H --cmd N            WM_SYSCOMMAND, e.g. a system menu item\n"
    "  postmessage --hwnd H --msg N [--wparam N] [--lparam N]  any message, as another program\n"
    "  sysmenu    --hwnd H                    items of the system menu\n"
    "  popupmenu  [FILTER] [--timeout S]      items of the first open popup menu\n"
    "  cursor     --pid P                     whether the foreground shows the wait cursor\n"
    "  listview   --hwnd H [--id N]           columns and rows of a list view\n"
    "  select     --hwnd H [--id N] --row R   select one row of a list view alone\n"
    "  at         --x X --y Y                 the control a click at that screen point hits\n"
    "  selectfolder --hwnd H --path P [--timeout S]  select a folder in a folder picker\n"
    "  hold       --path P [--timeout S]      keep a file open sharing nothing, then exit\n"
    "  cmdline    --pid P                     the command line a process was started with\n"
    "  dpichanged --hwnd H --dpi D --left L --top T --right R --bottom B  a move to a monitor\n"
    "             of that DPI, the window given that rectangle (WM_DPICHANGED)\n"
    "FILTER: --title T --class C --pid P --exe PATH|NAME --exclude H (repeatable)\n";

namespace {

using Command = std::function<int(const Args&)>;

BOOL CALLBACK collect(HWND hwnd, LPARAM list) {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(hwnd);
    return TRUE;
}

std::vector<HWND> descendants(HWND parent) {
    std::vector<HWND> list;
    EnumChildWindows(parent, collect, reinterpret_cast<LPARAM>(&list));
    return list;
}

// --hwnd names a window; with --id, the control of that id anywhere below it.
HWND target(const Args& args) {
    HWND hwnd = existingWindow(args.hwnd());
    if (!args.has(L"id"))
        return hwnd;
    int id = static_cast<int>(args.number(L"id", 0));
    for (HWND child : descendants(hwnd))
        if (GetDlgCtrlID(child) == id)
            return child;
    throw NotFound("no control with that id");
}

void post(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    // Posted, not sent: the click or close may open a modal dialog, and the
    // driver must come back so the test can deal with it.
    if (!PostMessageW(hwnd, msg, wParam, lParam))
        throw NotFound("cannot post to the window");
}

int listWindows(const Args& args) {
    WindowFilter filter(args);
    for (HWND hwnd : topLevelWindows())
        if (filter.matches(hwnd))
            describeTopLevel(hwnd).print();
    return 0;
}

int wait(const Args& args) {
    HWND hwnd = waitForWindow(WindowFilter(args), args.timeoutMs());
    if (!hwnd)
        throw NotFound("no such window appeared in time");
    describeTopLevel(hwnd).print();
    return 0;
}

int gone(const Args& args) {
    if (!waitUntilGone(args.hwnd(), args.timeoutMs()))
        throw NotFound("the window is still there");
    return 0;
}

int controls(const Args& args) {
    for (HWND child : descendants(existingWindow(args.hwnd())))
        describeControl(child).print();
    return 0;
}

int msgbox(const Args& args) {
    HWND box = existingWindow(args.hwnd());
    std::wstring text;
    std::vector<std::string> buttons;
    for (HWND child : descendants(box)) {
        int id = GetDlgCtrlID(child);
        if (id == 0xFFFF && className(child) == L"Static")
            text = windowText(child);
        if (className(child) == L"Button" && IsWindowVisible(child))
            buttons.push_back(JsonObject().num("id", id).str("text", windowText(child)).encoded());
    }
    JsonObject o;
    o.hwnd("hwnd", box)
        .str("title", windowText(box))
        .str("text", text)
        .raw("buttons", jsonArray(buttons));
    o.print();
    return 0;
}

int click(const Args& args) {
    HWND button = target(args);
    // A person cannot press a greyed or hidden button; neither may a test.
    if (!IsWindowVisible(button) || !IsWindowEnabled(button))
        throw NotFound("the button is hidden or disabled");
    post(button, BM_CLICK, 0, 0);
    return 0;
}

int settext(const Args& args) {
    if (!args.has(L"text"))
        throw UsageError("--text is required");
    std::wstring text = args.text(L"text");
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(target(args), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()),
                             SMTO_ABORTIFHUNG, kSendTimeoutMs, &result) ||
        !result)
        throw NotFound("the control did not take the text");
    return 0;
}

int close(const Args& args) {
    post(existingWindow(args.hwnd()), WM_SYSCOMMAND, SC_CLOSE, 0);
    return 0;
}

int syscommand(const Args& args) {
    if (!args.has(L"cmd"))
        throw UsageError("--cmd is required");
    post(existingWindow(args.hwnd()), WM_SYSCOMMAND, static_cast<WPARAM>(args.number(L"cmd", 0)),
         0);
    return 0;
}

int postmessage(const Args& args) {
    if (!args.has(L"msg"))
        throw UsageError("--msg is required");
    post(existingWindow(args.hwnd()), static_cast<UINT>(args.number(L"msg", 0)),
         static_cast<WPARAM>(args.number(L"wparam", 0)),
         static_cast<LPARAM>(args.number(L"lparam", 0)));
    return 0;
}

// What the system sends a window that has moved to a monitor of another scale; Xvfb has one
// screen of one scale. The suggested rectangle must live in the window's process.
int dpichanged(const Args& args) {
    HWND hwnd = existingWindow(args.hwnd());
    const auto dpi = static_cast<WORD>(args.number(L"dpi", USER_DEFAULT_SCREEN_DPI));
    const RECT suggested = {
        static_cast<LONG>(args.number(L"left", 0)), static_cast<LONG>(args.number(L"top", 0)),
        static_cast<LONG>(args.number(L"right", 0)), static_cast<LONG>(args.number(L"bottom", 0))};
    RemoteMemory memory(windowPid(hwnd), sizeof suggested);
    memory.write(0, &suggested, sizeof suggested);
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(hwnd, WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                             reinterpret_cast<LPARAM>(memory.at(0)), SMTO_ABORTIFHUNG,
                             kSendTimeoutMs, &result))
        throw NotFound("the window did not take the message");
    return 0;
}

int sysmenu(const Args& args) {
    for (const JsonObject& item : readSystemMenu(existingWindow(args.hwnd())))
        item.print();
    return 0;
}

int at(const Args& args) {
    if (!args.has(L"x") || !args.has(L"y"))
        throw UsageError("--x and --y are required");
    POINT point = {static_cast<LONG>(args.number(L"x", 0)),
                   static_cast<LONG>(args.number(L"y", 0))};
    HWND hit = WindowFromPoint(point);
    if (!hit)
        throw NotFound("no window at that point");
    HWND top = GetAncestor(hit, GA_ROOT);
    describeControl(hit).hwnd("toplevel", top).num("pid", windowPid(top)).print();
    return 0;
}

int selectfolder(const Args& args) {
    if (!args.has(L"path"))
        throw UsageError("--path is required");
    selectFolder(existingWindow(args.hwnd()), args.text(L"path"), args.timeoutMs()).print();
    return 0;
}

int popupmenu(const Args& args) {
    WindowFilter filter(args);
    filter.cls = L"#32768";
    HWND menu = waitForWindow(filter, args.timeoutMs());
    if (!menu)
        throw NotFound("no popup menu appeared in time");
    for (const JsonObject& item : readPopupMenu(menu))
        item.print();
    return 0;
}

int cursor(const Args& args) {
    if (!args.has(L"pid"))
        throw UsageError("--pid is required");
    CursorRequest request = {};
    callHook(static_cast<DWORD>(args.number(L"pid", 0)), E2E_READ_CURSOR, &request, sizeof request);
    JsonObject().flag("wait", request.wait).print();
    return 0;
}

// Read from the process's own parameter block, so it is the line the process received, not
// what it may have made of it. Both sides are 32-bit, so the blocks' layouts match.
int cmdline(const Args& args) {
    const DWORD pid = static_cast<DWORD>(args.number(L"pid", 0));
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
    if (!process)
        throw NotFound("cannot open the process");
    auto read = [process](const void* at, void* into, size_t size) {
        return ReadProcessMemory(process, at, into, size, nullptr) != FALSE;
    };
    PROCESS_BASIC_INFORMATION basic{};
    PEB peb{};
    RTL_USER_PROCESS_PARAMETERS parameters{};
    std::wstring line;
    bool found = NtQueryInformationProcess(process, ProcessBasicInformation, &basic, sizeof basic,
                                           nullptr) == 0 &&
                 read(basic.PebBaseAddress, &peb, sizeof peb) &&
                 read(peb.ProcessParameters, &parameters, sizeof parameters);
    if (found) {
        line.resize(parameters.CommandLine.Length / sizeof(wchar_t));
        found = read(parameters.CommandLine.Buffer, line.data(), parameters.CommandLine.Length);
    }
    CloseHandle(process);
    if (!found)
        throw NotFound("cannot read the process's command line");
    JsonObject().str("cmdline", line).print();
    return 0;
}

int listview(const Args& args) {
    readListView(target(args)).print();
    return 0;
}

int selectrow(const Args& args) {
    if (!args.has(L"row"))
        throw UsageError("--row is required");
    selectListViewRow(target(args), static_cast<int>(args.number(L"row", 0)));
    return 0;
}

// As another program that locks a file would; says so once it holds it.
int hold(const Args& args) {
    HANDLE file = CreateFileW(args.text(L"path").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        throw NotFound("cannot open the file");
    JsonObject().num("held", 1).print();
    Sleep(args.timeoutMs());
    CloseHandle(file);
    return 0;
}

}  // namespace

int runCommand(const Args& args) {
    static const std::map<std::wstring, Command> commands = {
        {L"windows", listWindows},       {L"wait", wait},         {L"gone", gone},
        {L"controls", controls},         {L"msgbox", msgbox},     {L"click", click},
        {L"settext", settext},           {L"close", close},       {L"syscommand", syscommand},
        {L"sysmenu", sysmenu},           {L"listview", listview}, {L"at", at},
        {L"selectfolder", selectfolder}, {L"hold", hold},         {L"postmessage", postmessage},
        {L"popupmenu", popupmenu},       {L"cursor", cursor},     {L"cmdline", cmdline},
        {L"dpichanged", dpichanged},     {L"select", selectrow},
    };
    auto it = commands.find(args.command());
    if (it == commands.end())
        throw UsageError("unknown command");
    return it->second(args);
}
