#include "addressbook/BookMerge.h"

#include <cstring>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include "addressbook/ProfileDocument.h"
#include "base/FixedText.h"

namespace {

using NameIndex =
    std::unordered_map<std::string_view, std::size_t, SectionNameHash, SectionNameEqual>;
using NameSet = std::unordered_set<std::string_view, SectionNameHash, SectionNameEqual>;

// Name -> the last record of that name: the one whose values the file keeps.
NameIndex IndexByName(const DeviceTable& table) {
    NameIndex index;
    index.reserve(table.Count());
    for (std::size_t i = 0; i < table.Count(); ++i) {
        index.insert_or_assign(FieldText(table.At(i).name), i);
    }
    return index;
}

std::optional<std::size_t> Find(const NameIndex& index, std::string_view name) {
    const auto found = index.find(name);
    return found == index.end() ? std::nullopt : std::optional<std::size_t>(found->second);
}

// Fields are zero-padded (base/FixedText.h), so records compare as whole values.
bool Same(const DeviceRecord& a, const DeviceRecord& b) {
    return std::memcmp(&a, &b, sizeof(DeviceRecord)) == 0;
}

// PRIORITY is written but never read: a book read again has it empty whatever was saved.
DeviceRecord AsRead(DeviceRecord record) {
    VisitStoredFields(record, [](const StoredKey& stored, auto& field) {
        if (!stored.readBack) {
            CopyField(field, "");
        }
    });
    return record;
}

// Calls visit(offset, size, readBack) for the name and for each stored key of a record.
template <class Visit>
void VisitKeys(Visit&& visit) {
    const DeviceRecord probe{};
    const auto* start = reinterpret_cast<const char*>(&probe);
    visit(std::size_t{0}, sizeof probe.name, true);
    VisitStoredFields(probe, [&](const StoredKey& stored, const auto& field) {
        visit(static_cast<std::size_t>(reinterpret_cast<const char*>(&field) - start), sizeof field,
              stored.readBack);
    });
}

// Whether we changed more of a device than the two keys a connection learns (or PRIORITY,
// which only an Edit that changed nothing else sets).
bool EditedHere(const DeviceRecord& our, const DeviceRecord& was) {
    DeviceRecord withoutLearned = AsRead(our);
    std::memcpy(withoutLearned.uuidIp, was.uuidIp, sizeof was.uuidIp);
    std::memcpy(withoutLearned.uuidMac, was.uuidMac, sizeof was.uuidMac);
    return !Same(withoutLearned, AsRead(was));
}

// Two devices added under one name on the two sides are one device when all else is alike.
bool SameDevice(const DeviceRecord& our, const DeviceRecord& their) {
    DeviceRecord named = AsRead(our);
    std::memcpy(named.name, their.name, sizeof their.name);
    return Same(named, their);
}

}  // namespace

DeviceRecord MergeDeviceKeys(const DeviceRecord& was, const DeviceRecord& ours,
                             const DeviceRecord& theirs) {
    DeviceRecord merged = theirs;
    auto* to = reinterpret_cast<char*>(&merged);
    const auto* ourBytes = reinterpret_cast<const char*>(&ours);
    const auto* wasBytes = reinterpret_cast<const char*>(&was);
    VisitKeys([&](std::size_t at, std::size_t size, bool readBack) {
        if (!readBack || std::memcmp(ourBytes + at, wasBytes + at, size) != 0) {
            std::memcpy(to + at, ourBytes + at, size);
        }
    });
    return merged;
}

DeviceTable MergeBooks(const DeviceTable& base, const DeviceTable& ours, const DeviceTable& theirs,
                       Renamings* renamed) {
    const NameIndex baseIndex = IndexByName(base);
    const NameIndex ourIndex = IndexByName(ours);
    const NameIndex theirIndex = IndexByName(theirs);
    DeviceTable merged;
    merged.Reserve(theirs.Count() + ours.Count());
    NameSet done;
    done.reserve(theirs.Count() + ours.Count());
    NameSet addedOnBothSides;

    for (std::size_t i = 0; i < theirs.Count(); ++i) {
        const std::string_view name = FieldText(theirs.At(i).name);
        if (!done.insert(name).second) {
            continue;  // one section of that name is already in
        }
        const std::size_t t = *Find(theirIndex, name);
        const DeviceRecord& their = theirs.At(t);
        const std::optional<std::size_t> o = Find(ourIndex, name);
        const std::optional<std::size_t> w = Find(baseIndex, name);
        if (!o) {
            // Added there, or deleted here: it goes, edited there or not.
            if (!w) {
                merged.Append(their);
            }
        } else if (!w) {
            // Added on both sides: one device, or two under one name.
            if (SameDevice(ours.At(*o), their)) {
                merged.Append(ours.At(*o), ours.IdAt(*o));
            } else {
                merged.Append(their);
                addedOnBothSides.insert(name);
            }
        } else {
            merged.Append(MergeDeviceKeys(base.At(*w), ours.At(*o), their), ours.IdAt(*o));
        }
    }

    std::deque<std::string> newNames;  // a deque keeps the views into it valid
    NameSet taken;
    const auto isTaken = [&](std::string_view candidate) {
        return theirIndex.contains(candidate) || ourIndex.contains(candidate) ||
               taken.contains(candidate);
    };
    for (std::size_t i = 0; i < ours.Count(); ++i) {
        const std::string_view name = FieldText(ours.At(i).name);
        const std::size_t o = *Find(ourIndex, name);
        if (addedOnBothSides.erase(name) != 0) {
            DeviceRecord our = ours.At(o);
            newNames.push_back(UniqueDeviceName(name, isTaken));
            taken.insert(newNames.back());
            CopyField(our.name, newNames.back());
            merged.Append(our, ours.IdAt(o));
            if (renamed != nullptr) {
                renamed->push_back({std::string(name), newNames.back()});
            }
            continue;
        }
        if (!done.insert(name).second) {
            continue;
        }
        const std::optional<std::size_t> w = Find(baseIndex, name);
        // Added here, or edited here and deleted there.
        if (!w || EditedHere(ours.At(o), base.At(*w))) {
            merged.Append(ours.At(o), ours.IdAt(o));
        }
    }
    return merged;
}

std::vector<std::size_t> DevicesMissingFrom(const DeviceTable& theirs, const DeviceTable& base) {
    const NameIndex theirIndex = IndexByName(theirs);
    std::vector<std::size_t> missing;
    NameSet counted;
    for (std::size_t i = 0; i < base.Count(); ++i) {
        const std::string_view name = FieldText(base.At(i).name);
        if (!theirIndex.contains(name) && counted.insert(name).second) {
            missing.push_back(i);
        }
    }
    return missing;
}

bool ReadsAs(const DeviceTable& read, const DeviceTable& saved) {
    if (read.Count() != saved.Count()) {
        return false;
    }
    for (std::size_t i = 0; i < read.Count(); ++i) {
        if (!Same(read.At(i), AsRead(saved.At(i)))) {
            return false;
        }
    }
    return true;
}
