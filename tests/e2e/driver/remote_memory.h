// A block of memory inside the program under test. Messages such as
// LVM_GETITEMTEXTW carry pointers that the receiving process dereferences, so
// the structures they point to have to live in its address space.
#pragma once

#include <windows.h>

#include <cstddef>

class RemoteMemory {
public:
    RemoteMemory(DWORD pid, size_t size);
    ~RemoteMemory();
    RemoteMemory(const RemoteMemory&) = delete;
    RemoteMemory& operator=(const RemoteMemory&) = delete;

    void write(size_t offset, const void* data, size_t size);
    void read(size_t offset, void* data, size_t size) const;
    // The address as the other process sees it.
    void* at(size_t offset) const { return static_cast<char*>(base_) + offset; }
    HANDLE process() const { return process_; }

private:
    HANDLE process_ = nullptr;
    void* base_ = nullptr;
};
