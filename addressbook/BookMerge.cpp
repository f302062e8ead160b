#include "addressbook/BookMerge.h"

#include <cstring>
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

const DeviceRecord* Find(const DeviceTable& table, const NameIndex& index, std::string_view name) {
    const auto found = index.find(name);
    return found == index.end() ? nullptr : &table.At(found->second);
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

// The record with the two fields a connection learns taken from another.
DeviceRecord WithLearned(DeviceRecord record, const DeviceRecord& from) {
    std::memcpy(record.uuidIp, from.uuidIp, sizeof record.uuidIp);
    std::memcpy(record.uuidMac, from.uuidMac, sizeof record.uuidMac);
    return record;
}

// What this launcher made of a device it had at base: nothing, an edit, or learned addresses.
enum class OurChange { kNone, kEdited, kLearned };

OurChange ChangeOf(const DeviceRecord& ours, const DeviceRecord& base) {
    if (Same(ours, base)) {
        return OurChange::kNone;
    }
    return Same(WithLearned(ours, base), base) ? OurChange::kLearned : OurChange::kEdited;
}

}  // namespace

DeviceTable MergeBooks(const DeviceTable& base, const DeviceTable& ours,
                       const DeviceTable& theirs) {
    const NameIndex baseIndex = IndexByName(base);
    const NameIndex ourIndex = IndexByName(ours);
    const NameIndex theirIndex = IndexByName(theirs);
    DeviceTable merged;
    merged.Reserve(theirs.Count() + ours.Count());
    NameSet done;
    done.reserve(theirs.Count() + ours.Count());

    for (std::size_t i = 0; i < theirs.Count(); ++i) {
        const std::string_view name = FieldText(theirs.At(i).name);
        if (!done.insert(name).second) {
            continue;  // one section of that name is already in
        }
        const DeviceRecord& their = *Find(theirs, theirIndex, name);
        const DeviceRecord* our = Find(ours, ourIndex, name);
        const DeviceRecord* was = Find(base, baseIndex, name);
        if (was == nullptr) {
            merged.Append(our != nullptr ? *our : their);  // added there, or on both sides
        } else if (our != nullptr) {
            switch (ChangeOf(*our, *was)) {
                case OurChange::kNone:
                    // Unchanged there too: ours keeps what the file does not give back.
                    merged.Append(Same(AsRead(their), AsRead(*was)) ? *our : their);
                    break;
                case OurChange::kLearned:
                    merged.Append(WithLearned(their, *our));
                    break;
                case OurChange::kEdited:
                    merged.Append(*our);
                    break;
            }
        }
        // Deleted here: it goes, edited there or not.
    }

    for (std::size_t i = 0; i < ours.Count(); ++i) {
        const std::string_view name = FieldText(ours.At(i).name);
        if (!done.insert(name).second) {
            continue;
        }
        const DeviceRecord& our = *Find(ours, ourIndex, name);
        const DeviceRecord* was = Find(base, baseIndex, name);
        // Added here, or edited here and deleted there.
        if (was == nullptr || ChangeOf(our, *was) == OurChange::kEdited) {
            merged.Append(our);
        }
    }
    return merged;
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
