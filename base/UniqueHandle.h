// The one owner of a system handle (a kernel object, a file, a socket, an event): it closes
// what it holds when it goes, unless the handle was released, and moves but never copies, so
// each handle is closed exactly once. Kind names the handle's type, its "none" value and the
// call that closes it; the Windows kinds are in UniqueHandle_win32.h.
#pragma once

#include <utility>

template <class Kind>
class UniqueHandle {
public:
    using Value = typename Kind::Value;

    UniqueHandle() = default;
    explicit UniqueHandle(Value value) : m_value(value) {}
    ~UniqueHandle() { Reset(); }
    UniqueHandle(UniqueHandle&& other) noexcept : m_value(other.Release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        Reset(other.Release());
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;

    Value Get() const { return m_value; }
    bool IsValid() const { return m_value != Kind::None(); }

    // Hands the handle to the caller, who closes it from now on.
    Value Release() { return std::exchange(m_value, Kind::None()); }

    // Closes the handle held, if any, and holds value instead.
    void Reset(Value value = Kind::None()) {
        const Value old = std::exchange(m_value, value);
        if (old != Kind::None()) {
            Kind::Close(old);
        }
    }

private:
    Value m_value = Kind::None();
};
