// e2edriver.exe: lets the Python e2e harness look at and operate the windows
// of the program under test, from inside the same Wine session.
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "args.h"
#include "commands.h"
#include "json.h"

namespace {

int fail(int code, const char* message) {
    std::wstring text(message, message + strlen(message));
    JsonObject().str("error", text).print();
    return code;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    try {
        return runCommand(Args(argc, argv));
    } catch (const UsageError& e) {
        std::fputs(kUsage, stderr);
        return fail(2, e.what());
    } catch (const NotFound& e) {
        return fail(1, e.what());
    }
}
