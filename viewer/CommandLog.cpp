#include "viewer/CommandLog.h"

#include <windows.h>

#include <memory>
#include <string>
#include <type_traits>

namespace {

struct HandleCloser {
    void operator()(HANDLE handle) const { CloseHandle(handle); }
};
using OwnedHandle = std::unique_ptr<std::remove_pointer_t<HANDLE>, HandleCloser>;

}  // namespace

bool AppendCommandLog(const char* path, std::string_view line) {
    // Append access puts every write at the end, so viewers started together never overwrite
    // each other's lines.
    const HANDLE opened = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                      nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (opened == INVALID_HANDLE_VALUE) {
        return false;
    }
    const OwnedHandle file(opened);
    const std::string record = std::string(line) + "\r\n";
    DWORD written = 0;
    return WriteFile(file.get(), record.data(), static_cast<DWORD>(record.size()), &written,
                     nullptr) &&
           written == record.size();
}
