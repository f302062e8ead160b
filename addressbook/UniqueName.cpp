#include "addressbook/UniqueName.h"

#include "addressbook/DeviceRecord.h"
#include "addressbook/ProfileDocument.h"

std::string UniqueDeviceName(std::string_view name,
                             const std::function<bool(std::string_view)>& taken,
                             const AnsiCodePage& codePage) {
    constexpr std::size_t kRoom = sizeof(DeviceRecord::name) - 1;
    // The number stays apart from the name by a blank, which the book would drop at the end of
    // a name cut just before one.
    const std::string_view trimmed = TrimProfileBlanks(name, codePage);
    for (unsigned number = 2;; ++number) {
        std::string suffix = " (";
        suffix += std::to_string(number);
        suffix += ')';
        std::string candidate(
            TrimProfileBlanks(CutAtCharacter(trimmed, kRoom - suffix.size(), codePage), codePage));
        candidate += suffix;
        if (!taken(candidate)) {
            return candidate;
        }
    }
}
