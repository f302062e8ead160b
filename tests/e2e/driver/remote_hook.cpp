#include "remote_hook.h"

#include <string>

#include "args.h"
#include "remote_memory.h"

namespace {

constexpr DWORD kRemoteThreadMs = 5000;

// Runs `start(param)` on a new thread inside the remote process and returns the
// thread's exit code. 32-bit on both sides, so a DWORD holds an HMODULE.
DWORD runRemote(HANDLE process, void* start, void* param) {
    HANDLE thread = CreateRemoteThread(
        process, nullptr, 0, reinterpret_cast<LPTHREAD_START_ROUTINE>(start), param, 0, nullptr);
    if (!thread)
        throw NotFound("cannot start a thread in the window's process");
    DWORD code = 0;
    bool done = WaitForSingleObject(thread, kRemoteThreadMs) == WAIT_OBJECT_0;
    GetExitCodeThread(thread, &code);
    CloseHandle(thread);
    if (!done)
        throw NotFound("the thread in the window's process did not finish");
    return code;
}

std::wstring hookPath() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring dir(path);
    return dir.substr(0, dir.find_last_of(L'\\') + 1) + L"e2ehook.dll";
}

// Offset of the hook's entry point from its module base; the same in any
// process because it is the same file.
DWORD_PTR entryOffset(const std::wstring& dll, const char* entryName) {
    HMODULE local = LoadLibraryExW(dll.c_str(), nullptr, DONT_RESOLVE_DLL_REFERENCES);
    if (!local)
        throw NotFound("e2ehook.dll is missing beside e2edriver.exe");
    auto entry = reinterpret_cast<DWORD_PTR>(GetProcAddress(local, entryName));
    if (!entry) {
        FreeLibrary(local);
        throw NotFound("e2ehook.dll lacks an entry point the driver needs");
    }
    DWORD_PTR offset = entry - reinterpret_cast<DWORD_PTR>(local);
    FreeLibrary(local);
    return offset;
}

}  // namespace

void callHook(DWORD pid, const char* entryName, void* request, size_t size) {
    std::wstring dll = hookPath();
    DWORD_PTR offset = entryOffset(dll, entryName);
    size_t pathBytes = (dll.size() + 1) * sizeof(wchar_t);
    RemoteMemory memory(pid, size + pathBytes);
    memory.write(size, dll.c_str(), pathBytes);

    // kernel32 sits at the same address in every process, so our own
    // LoadLibraryW/FreeLibrary addresses are valid over there too.
    HMODULE kernel32 = GetModuleHandleW(L"kernel32.dll");
    auto loadLibrary = reinterpret_cast<void*>(GetProcAddress(kernel32, "LoadLibraryW"));
    auto freeLibrary = reinterpret_cast<void*>(GetProcAddress(kernel32, "FreeLibrary"));
    DWORD module = runRemote(memory.process(), loadLibrary, memory.at(size));
    if (!module)
        throw NotFound("the window's process could not load e2ehook.dll");

    memory.write(0, request, size);
    runRemote(memory.process(), reinterpret_cast<void*>(module + offset), memory.at(0));
    runRemote(memory.process(), freeLibrary,
              reinterpret_cast<void*>(static_cast<DWORD_PTR>(module)));
    memory.read(0, request, size);
}
