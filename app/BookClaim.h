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

    // The other launcher's main window, brought to the front; null while this claim holds, or
    // when the owner never showed one.
    HWND Owner() const { return m_owner; }

private:
    explicit BookClaim(bool held, OwnedHandle mapping = OwnedHandle(), HWND owner = nullptr)
        : m_held(held), m_mapping(std::move(mapping)), m_owner(owner) {}

    bool m_held;
    // Holds the owner's process id; lives exactly as long as the owner. None when the claim
    // holds without one, as the book's owners could not be compared.
    OwnedHandle m_mapping;
    HWND m_owner;
};
