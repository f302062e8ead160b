// Our KXC_IE_NATT.dll: the five functions of the NAT-traversal interface. Its behaviour comes
// from the directory file beside it: NATSocket_Init reads it for the start-up outcome, and each
// NATSocket_HostNameConnect reads it afresh for the device, so a running launcher sees edits.
//
// Threads: the caller's own for Init, connect (which sleeps out the device's delay on the
// caller's thread) and DeInit; the library's for each tunnel (accepting) and each forwarded
// connection, and those call the callbacks (a flood of info callbacks comes from the
// connecting thread). DeInit sets the session's stop event, waits for pending connects to
// leave and joins every library thread before it returns, unless the directory asks it to
// linger or to call back after it.
//
// The functions are __cdecl unless the build names another convention in NATLIB_CALL; a
// __stdcall build exports them under plain names too, as some libraries of this interface do.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstring>
#include <exception>
#include <initializer_list>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/UniqueHandle_win32.h"
#include "base/WholeFile.h"
#include "base/WidePath.h"
#include "natapi/NatTraversal.h"
#include "natlib/Directory.h"
#include "natlib/NatSession.h"

#ifndef NATLIB_CALL
#define NATLIB_CALL __cdecl
#endif

namespace {

// The library's own error codes besides those the interface names.
constexpr _NAT_traversal_error_code kNatErrorNotInitialised = 1;  // or de-initialised meanwhile
constexpr _NAT_traversal_error_code kNatErrorNoTunnel = 2;        // no local port to be had
constexpr _NAT_traversal_error_code kNatErrorNoSockets = 3;       // the sockets layer failed

constexpr NatConnectKind kNatKindRelay = 49;

std::atomic<_NAT_traversal_error_code> g_lastError{0};

std::mutex g_lifecycle;  // one Init or DeInit at a time, each to its end
std::mutex g_current;    // guards g_session, never held while waiting for anything
std::unique_ptr<NatSession> g_session;

int Fail(_NAT_traversal_error_code code) {
    g_lastError = code;
    return 0;
}

// The folder of this library (not of the program that loaded it), with a trailing backslash.
std::string LibraryFolder() {
    HMODULE self = nullptr;
    GetModuleHandleExA(
        GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
        reinterpret_cast<const char*>(&LibraryFolder), &self);
    wchar_t path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameW(self, path, MAX_PATH);
    std::string folder = Utf8Path(std::wstring_view(path, length));
    folder.erase(folder.find_last_of('\\') + 1);
    return folder;
}

NatDirectory ReadDirectory() {
    return ParseNatDirectory(
        ReadWholeFile(LibraryFolder() + kNatDirectoryFileName).value_or(std::string()));
}

// The caller holds g_lifecycle.
void EndSession() {
    std::unique_ptr<NatSession> ending;
    {
        const std::lock_guard current(g_current);
        ending.swap(g_session);
    }
    if (ending) {
        ending->Stop();
    }
}

// What the launcher receives as "the connection's socket". A real traversal library would hand
// over its peer-to-peer socket; ours has none, since the tunnel lives on without it until
// DeInit. So the caller gets a fresh datagram socket of its own, never bound and never used,
// that it may close whenever it likes; the value for "no socket" when even that fails.
unsigned int CallersSocket() {
    return static_cast<unsigned int>(socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP));
}

int Connect(const NatDirectory& directory, unsigned int* socketOut, const char* hostName,
            NatConnectKind* connectionKind) {
    std::unique_lock current(g_current);
    if (!g_session) {
        return Fail(kNatErrorNotInitialised);
    }
    NatSession& session = *g_session;
    const NatSession::Attempt attempt(session);
    current.unlock();

    const NatDevice* device = hostName != nullptr ? directory.Find(hostName) : nullptr;
    if (device == nullptr) {
        return Fail(kNatErrorDeviceNotExist);
    }
    if (!session.Wait(device->delay)) {
        return Fail(kNatErrorNotInitialised);
    }
    if (device->outcome == NatOutcome::kError) {
        return Fail(device->errorCode);
    }
    const std::optional<NatConnectKind> kind = session.OpenTunnel(
        *device, device->outcome == NatOutcome::kPeerToPeer ? kNatKindPeerToPeer : kNatKindRelay);
    if (!kind) {
        return Fail(kNatErrorNoTunnel);
    }
    if (socketOut != nullptr) {
        *socketOut = CallersSocket();
    }
    if (connectionKind != nullptr) {
        *connectionKind = *kind;
    }
    for (int i = 0; i < directory.flood; ++i) {
        session.Callbacks().Info(device->uuid, device->endpoint, {}, *kind);
    }
    g_lastError = 0;
    return kNatConnected;
}

// Writes the last byte of each buffer at the size the interface states for it.
void Scribble(std::initializer_list<std::pair<char*, std::size_t>> buffers) {
    for (const auto& [buffer, size] : buffers) {
        if (buffer != nullptr) {
            buffer[size - 1] = '\0';
        }
    }
}

// What the library reports on standard error, which tests read.
void Report(std::string_view line) {
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_ERROR_HANDLE), line.data(), static_cast<DWORD>(line.size()),
              &written, nullptr);
}

// keep-host-name: each host-name buffer a connect was given, the name it held, and whether a
// check has found it changed. The canary fills the buffer past the name's end.
struct KeptHostName {
    char* buffer;
    std::string name;
    bool changed = false;
};
constexpr std::size_t kHostNameSize = 128;
constexpr char kCanary = '\x5A';
std::mutex g_keptMutex;
std::vector<KeptHostName> g_kept;

bool StillAsKept(const KeptHostName& kept) {
    if (std::string_view(kept.buffer, kept.name.size()) != kept.name) {
        return false;
    }
    for (std::size_t i = kept.name.size() + 1; i < kHostNameSize; ++i) {
        if (kept.buffer[i] != kCanary) {
            return false;
        }
    }
    return kept.buffer[kept.name.size()] == '\0';
}

// Reads every buffer kept so far; the caller holds g_keptMutex.
void CheckKeptHostNames() {
    for (KeptHostName& kept : g_kept) {
        if (!kept.changed && !StillAsKept(kept)) {
            kept.changed = true;
            Report("KXC_IE_NATT: a host name kept from an earlier connect has changed\n");
        }
    }
}

void KeepHostName(char* hostName) {
    const std::lock_guard lock(g_keptMutex);
    CheckKeptHostNames();
    if (hostName == nullptr) {
        return;
    }
    const std::size_t length = strnlen(hostName, kHostNameSize - 1);
    hostName[length] = '\0';
    std::fill(hostName + length + 1, hostName + kHostNameSize, kCanary);
    g_kept.push_back({hostName, std::string(hostName, length)});
}

void ReportKeptHostNames() {
    const std::lock_guard lock(g_keptMutex);
    if (g_kept.empty()) {
        return;
    }
    CheckKeptHostNames();
    const auto changed = std::count_if(g_kept.begin(), g_kept.end(),
                                       [](const KeptHostName& kept) { return kept.changed; });
    Report("KXC_IE_NATT: host names kept: " + std::to_string(g_kept.size()) +
           ", changed: " + std::to_string(changed) + "\n");
}

std::atomic<int> g_lingering{0};

// From NATSocket_DeInit to the next NATSocket_Init every call but Init is a caller's fault:
// said on standard error, then answered as a library without a session answers.
std::atomic<bool> g_deInitialised{false};

void ReportCallAfterDeInit() {
    if (g_deInitialised) {
        Report("KXC_IE_NATT: called after NATSocket_DeInit\n");
    }
}

// Spins rather than sleeps, so that the thread is always about to run this library's code: a
// process that unloads the library under it faults at once.
DWORD WINAPI Linger(void* milliseconds) {
    const ULONGLONG end = GetTickCount64() + reinterpret_cast<std::uintptr_t>(milliseconds);
    while (GetTickCount64() < end) {
        YieldProcessor();
    }
    --g_lingering;
    return 0;
}

// call-after-deinit: the callbacks NATSocket_Init was given last.
std::optional<NatCallbacks> g_initCallbacks;  // guarded by g_lifecycle

struct LateCalls {
    NatCallbacks callbacks;
    ULONGLONG end;
};

DWORD WINAPI CallBackLate(void* parameter) {
    const std::unique_ptr<LateCalls> calls(static_cast<LateCalls*>(parameter));
    bool reported = false;
    while (GetTickCount64() < calls->end) {
        calls->callbacks.Info("late", "0.0.0.0:0", {}, 0);
        calls->callbacks.Status();
        if (!std::exchange(reported, true)) {
            Report("KXC_IE_NATT: called back after NATSocket_DeInit\n");
        }
        Sleep(0);
    }
    --g_lingering;
    return 0;
}

void CallBackAfterDeInit(std::chrono::milliseconds duration) {
    if (duration.count() == 0 || !g_initCallbacks) {
        return;
    }
    auto calls = std::make_unique<LateCalls>(
        LateCalls{*g_initCallbacks, GetTickCount64() + static_cast<ULONGLONG>(duration.count())});
    ++g_lingering;
    const OwnedHandle thread(CreateThread(nullptr, 0, &CallBackLate, calls.get(), 0, nullptr));
    if (thread.IsValid()) {
        static_cast<void>(calls.release());  // the thread owns it now
    } else {
        --g_lingering;
    }
}

void LingerAfterDeInit(std::chrono::milliseconds linger) {
    if (linger.count() == 0) {
        return;
    }
    ++g_lingering;
    const OwnedHandle thread(CreateThread(
        nullptr, 0, &Linger, reinterpret_cast<void*>(static_cast<std::uintptr_t>(linger.count())),
        0, nullptr));
    if (!thread.IsValid()) {
        --g_lingering;
    }
}

}  // namespace

extern "C" {

// The faulting thread of a process that unloads us while lingering may lose the race against
// the process's end and never be reported; this line, written before the unmapping, always is.
BOOL WINAPI DllMain(HINSTANCE, DWORD reason, void* processEnds) {
    if (reason == DLL_PROCESS_DETACH && processEnds == nullptr && g_lingering > 0) {
        Report("KXC_IE_NATT: unloaded under a running thread of its own\n");
    }
    return TRUE;
}

__declspec(dllexport) int NATLIB_CALL NATSocket_Init(int, _tagCB* callbacks) {
    try {
        const std::lock_guard lifecycle(g_lifecycle);
        EndSession();
        const NatDirectory directory = ReadDirectory();
        if (directory.initError) {
            return Fail(*directory.initError);
        }
        g_deInitialised = false;
        g_initCallbacks.emplace(callbacks);
        auto session = std::make_unique<NatSession>(callbacks);
        if (!session->IsReady()) {
            return Fail(kNatErrorNoSockets);
        }
        const std::lock_guard current(g_current);
        g_session = std::move(session);
        g_lastError = 0;
        return 1;
    } catch (const std::exception&) {
        return Fail(kNatErrorNoSockets);
    }
}

// The device port, the guest credentials and arguments 5 and 8 to 13 mean nothing to our
// library: the directory names the device's full address and there is no cloud server to ask.
__declspec(dllexport) int NATLIB_CALL
    NATSocket_HostNameConnect(unsigned int* socketOut, char* hostName, int, NatConnectKind* kind,
                              unsigned int, char* user, char* password, char* reserved8, int,
                              char* reserved10, char* reserved11, char* serverHost, int) {
    ReportCallAfterDeInit();
    try {
        const NatDirectory directory = ReadDirectory();
        if (directory.scribble) {
            Scribble({{hostName, 128},
                      {user, 32},
                      {password, 32},
                      {reserved8, 256},
                      {reserved10, 16},
                      {reserved11, 128},
                      {serverHost, 128}});
        }
        if (directory.keepHostName) {
            KeepHostName(hostName);
        }
        return Connect(directory, socketOut, hostName, kind);
    } catch (const std::exception&) {
        return Fail(kNatErrorNoTunnel);
    }
}

__declspec(dllexport) int NATLIB_CALL
    NATSocket_GetVirtualServerPortForHostName(const char* hostName) {
    ReportCallAfterDeInit();
    const std::lock_guard current(g_current);
    return g_session && hostName != nullptr ? g_session->PortOf(hostName) : 0;
}

__declspec(dllexport) _NAT_traversal_error_code NATLIB_CALL NATSocket_GetLastError() {
    ReportCallAfterDeInit();
    return g_lastError;
}

// Must not be called from a callback: it waits for the threads that make them.
__declspec(dllexport) int NATLIB_CALL NATSocket_DeInit() {
    const std::lock_guard lifecycle(g_lifecycle);
    g_deInitialised = true;
    EndSession();
    const NatDirectory directory = ReadDirectory();
    ReportKeptHostNames();
    LingerAfterDeInit(directory.linger);
    CallBackAfterDeInit(directory.callAfterDeInit);
    return 1;
}

}  // extern "C"
