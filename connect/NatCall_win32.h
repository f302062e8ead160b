// Calls into the NAT library that work whichever way its functions pop their arguments. The
// interface does not say: a __cdecl library leaves them to the caller, a __stdcall one (with
// plain names, so binding by name cannot tell) removes them itself. Each call goes through a
// thunk that keeps the stack pointer in a register the callee must preserve and puts it back
// afterwards, so both leave our stack as it was.
#pragma once

#include <cstddef>
#include <cstdint>
#include <type_traits>

static_assert(sizeof(void*) == 4, "the thunk passes 32-bit stack words");

// Pushes count words from arguments (the first one last, as C does), calls function and
// returns what it left in EAX.
extern "C" int CallKeepingStack(const void* function, const std::uintptr_t* arguments,
                                std::size_t count);

template <class T>
std::uintptr_t AsStackWord(T value) {
    if constexpr (std::is_pointer_v<T>) {
        return reinterpret_cast<std::uintptr_t>(value);
    } else {
        static_assert(std::is_integral_v<T> && sizeof(T) <= sizeof(std::uintptr_t));
        return static_cast<std::uintptr_t>(value);
    }
}

// A call of an int-returning library function whose arguments are pointers or integers of
// at most 32 bits.
template <class... Args>
int CallLibraryFunction(const void* function, Args... arguments) {
    const std::uintptr_t words[] = {AsStackWord(arguments)..., 0};
    return CallKeepingStack(function, words, sizeof...(Args));
}
