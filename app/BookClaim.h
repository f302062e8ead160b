// One launcher per address book on one computer: the book is the program folder's, so a
// start from a folder another running launcher already serves hands over to that launcher.
#pragma once

#include <windows.h>

class BookClaim {
public:
    // Claims the book of the running program's folder. When another launcher holds it, brings
    // that launcher's window to the front (restored if minimised) and returns a claim that does
    // not hold: this process then ends without touching the book.
    static BookClaim ForProgramFolder();

    BookClaim(BookClaim&& other) noexcept;
    BookClaim& operator=(BookClaim&&) = delete;
    ~BookClaim();

    bool Held() const { return m_mapping != nullptr; }

private:
    explicit BookClaim(HANDLE mapping) : m_mapping(mapping) {}

    HANDLE m_mapping;  // holds the owner's process id; lives exactly as long as the owner
};
