// One launcher per address book on one computer: the book is the program folder's, so a
// start from a folder another running launcher already serves hands over to that launcher.
#pragma once

#include <windows.h>

#include <string>
#include <utility>

#include "base/UniqueHandle_win32.h"

class BookClaim {
public:
    // Claims the book of the program folder. When another launcher holds it, brings that
    // launcher's window to the front (restored if minimised) and returns a claim that does not
    // hold: this process then ends without touching the book.
    static BookClaim ForFolder(const std::wstring& programFolder);

    bool Held() const { return m_held; }

private:
    explicit BookClaim(bool held, OwnedHandle mapping = OwnedHandle())
        : m_held(held), m_mapping(std::move(mapping)) {}

    bool m_held;
    // Holds the owner's process id; lives exactly as long as the owner. None when the claim
    // holds without one, as the book's owners could not be compared.
    OwnedHandle m_mapping;
};
