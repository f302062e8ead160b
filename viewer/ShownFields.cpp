#include "viewer/ShownFields.h"

std::vector<ShownField> ShownFields(const ReceivedCommandLine& line) {
    std::vector<ShownField> rows;
    for (std::size_t field = 0; field < kViewerKeys.size(); ++field) {
        const std::optional<std::string>& value = line.values[field];
        std::string text = !value                          ? std::string(kMissingField)
                           : field == kViewerPasswordField ? std::string(value->size(), '*')
                                                           : *value;
        rows.push_back({kViewerKeys[field], std::move(text)});
    }
    return rows;
}
