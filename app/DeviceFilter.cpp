#include "app/DeviceFilter.h"

#include "app/ListColumns.h"
#include "base/AnsiText.h"

bool FilterKeeps(const DeviceRecord& record, std::string_view typed, const AnsiCodePage& codePage) {
    for (int column = 0; column < static_cast<int>(kListColumns.size()); ++column) {
        if (ContainsIgnoringAsciiCase(DeviceColumnText(record, column), typed, codePage)) {
            return true;
        }
    }
    return false;
}
