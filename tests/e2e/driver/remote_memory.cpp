#include "remote_memory.h"

#include "args.h"

RemoteMemory::RemoteMemory(DWORD pid, size_t size) {
    process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE |
                               PROCESS_CREATE_THREAD | PROCESS_QUERY_INFORMATION,
                           FALSE, pid);
    if (!process_)
        throw NotFound("cannot open the window's process");
    base_ = VirtualAllocEx(process_, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    if (!base_) {
        CloseHandle(process_);
        throw NotFound("cannot allocate memory in the window's process");
    }
}

RemoteMemory::~RemoteMemory() {
    VirtualFreeEx(process_, base_, 0, MEM_RELEASE);
    CloseHandle(process_);
}

void RemoteMemory::write(size_t offset, const void* data, size_t size) {
    if (!WriteProcessMemory(process_, at(offset), data, size, nullptr))
        throw NotFound("cannot write the window's process memory");
}

void RemoteMemory::read(size_t offset, void* data, size_t size) const {
    if (!ReadProcessMemory(process_, at(offset), data, size, nullptr))
        throw NotFound("cannot read the window's process memory");
}
