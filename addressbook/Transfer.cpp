#include "addressbook/Transfer.h"

#include "addressbook/AddressBook.h"
#include "addressbook/IniFile.h"
#include "base/FileAccess.h"
#include "base/FixedText.h"

namespace {

bool FitsTransferPath(std::string_view path) {
    return path.size() < kTransferPathSize;
}

}  // namespace

std::string ExportFilePath(std::string_view folder) {
    std::string path(folder);
    if (path.empty() || path.back() != '\\') {
        path += '\\';
    }
    return path + kAddressBookFileName;
}

bool StoreTransferPath(char (&member)[kTransferPathSize], std::string_view path) {
    if (!FitsTransferPath(path)) {
        return false;
    }
    CopyField(member, path);
    return true;
}

bool ExportAddressBook(const std::string& path, const DeviceTable& table) {
    return FitsTransferPath(path) && WriteAddressBook(path, table);
}

bool ImportAddressBook(const std::string& path, DeviceTable& table) {
    if (!CanOpenForReadingAndWriting(path)) {
        return false;
    }
    CIniFile file(path);
    return !ReadAddressBook(file, table);
}
