// Our address-book load and save timed next to the platform's own way of keeping a profile
// file, on the same devices, under Wine:
//   save: empty the file, then one WritePrivateProfileStringA per key;
//   load: GetPrivateProfileSectionNamesA, then one GetPrivateProfileStringA per key.
// The platform rewrites the whole file for every key it writes, so its save grows faster than
// the book and takes tens of seconds for a thousand devices under Wine. By default it is timed
// on a smaller book (and on half of that, for the rate of growth) and its figure for the full
// book is extrapolated, and labelled so.
//
//   addressbook_bench.exe [devices, default 1000] [devices for the platform's save, default 300]
#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "addressbook/AddressBook.h"
#include "addressbook/IniFile.h"
#include "base/FixedText.h"
#include "base/WholeFile.h"
#include "bench/SampleBook.h"
#include "support/ScratchFolder.h"

namespace {

double NowMs() {
    static const double ticksPerMs = [] {
        LARGE_INTEGER frequency;
        QueryPerformanceFrequency(&frequency);
        return static_cast<double>(frequency.QuadPart) / 1000.0;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / ticksPerMs;
}

// Our steps take milliseconds, so the median of a few runs steadies them.
template <class Step>
double MedianMs(int runs, Step&& step) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const double start = NowMs();
        step();
        times.push_back(NowMs() - start);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

template <class Step>
double OnceMs(Step&& step) {
    const double start = NowMs();
    step();
    return NowMs() - start;
}

void PlatformSave(const std::string& path, const DeviceTable& table) {
    CloseHandle(CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                            FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, CREATE_ALWAYS, 0,
                            nullptr));
    for (std::size_t i = 0; i < table.Count(); ++i) {
        const DeviceRecord& record = table.At(i);
        const std::string name(FieldText(record.name));
        VisitStoredFields(record, [&](const StoredKey& stored, const auto& field) {
            const std::string value(FieldText(field));
            WritePrivateProfileStringA(name.c_str(), stored.key, value.c_str(), path.c_str());
        });
    }
}

// Reads as ReadDeviceSections does, through the platform. The buffer is big because one call
// must list every name: a short buffer silently loses the sections that do not fit.
void PlatformLoad(const std::string& path, DeviceTable& table) {
    std::vector<char> names(8 << 20);
    const DWORD length = GetPrivateProfileSectionNamesA(
        names.data(), static_cast<DWORD>(names.size()), path.c_str());
    std::vector<char> value(8192);
    for (DWORD at = 0; at < length && names[at] != '\0';) {
        const char* name = &names[at];
        DeviceRecord record{};
        CopyField(record.name, name);
        VisitStoredFields(record, [&](const StoredKey& stored, auto& field) {
            if (stored.readBack) {
                GetPrivateProfileStringA(name, stored.key, stored.missingValue, value.data(),
                                         static_cast<DWORD>(value.size()), path.c_str());
                CopyField(field, value.data());
            }
        });
        table.Append(record);
        at += static_cast<DWORD>(std::char_traits<char>::length(name)) + 1;
    }
}

bool SameRecords(const DeviceTable& a, const DeviceTable& b) {
    if (a.Count() != b.Count()) {
        return false;
    }
    for (std::size_t i = 0; i < a.Count(); ++i) {
        if (std::memcmp(&a.At(i), &b.At(i), sizeof(DeviceRecord)) != 0) {
            return false;
        }
    }
    return true;
}

struct Checks {
    bool sameBytes = true;    // the platform wrote exactly what we write
    bool sameReading = true;  // the platform read exactly what we read
};

double TimeOurSave(const ScratchFolder& folder, const DeviceTable& table) {
    const std::string path = folder.File(kAddressBookFileName);
    return MedianMs(7, [&] { WriteAddressBook(path, table); });
}

// Reads the book last written by TimeOurSave.
double TimeOurLoad(const ScratchFolder& folder) {
    return MedianMs(7, [&] {
        CIniFile file;
        DeviceTable loaded;
        LoadAddressBook(folder.Folder(), file, loaded);
    });
}

double TimePlatformSave(const ScratchFolder& folder, const DeviceTable& table, Checks& checks) {
    const std::string path = folder.File("platform.ini");
    const double time = OnceMs([&] { PlatformSave(path, table); });
    checks.sameBytes = checks.sameBytes && ReadWholeFile(path) == FormatAddressBook(table);
    return time;
}

// Both readers read the same file, written by our save.
double TimePlatformLoad(const ScratchFolder& folder, const DeviceTable& table, Checks& checks) {
    const std::string path = folder.File(kAddressBookFileName);
    WriteAddressBook(path, table);
    DeviceTable platformRead;
    const double time = OnceMs([&] { PlatformLoad(path, platformRead); });
    CIniFile file;
    DeviceTable ourRead;
    LoadAddressBook(folder.Folder(), file, ourRead);
    checks.sameReading = checks.sameReading && SameRecords(platformRead, ourRead);
    return time;
}

void PrintRow(std::size_t devices, const char* step, double ours, double platform, bool estimate) {
    std::printf("%8zu  %-5s %10.2f %12.1f%-5s %9.0fx%s\n", devices, step, ours, platform,
                estimate ? " est." : "", platform / ours, estimate ? " est." : "");
}

std::size_t Argument(int argc, char** argv, int index, std::size_t fallback) {
    if (argc <= index) {
        return fallback;
    }
    const long long value = std::atoll(argv[index]);
    return value > 1 ? static_cast<std::size_t>(value) : fallback;
}

}  // namespace

int main(int argc, char** argv) {
    const std::size_t devices = Argument(argc, argv, 1, 1000);
    const std::size_t saveDevices = std::min(Argument(argc, argv, 2, 300), devices);
    ScratchFolder folder;
    Checks checks;

    std::printf("Address book under Wine, times in ms (ours: median of 7 runs)\n\n");
    std::printf("%8s  %-5s %10s %12s%5s %10s\n", "devices", "step", "ours", "platform", "",
                "speed-up");
    const DeviceTable book = MakeSampleBook(devices);
    const double ourSave = TimeOurSave(folder, book);
    PrintRow(devices, "load", TimeOurLoad(folder), TimePlatformLoad(folder, book, checks), false);

    double saveSpeedUp = 0;
    if (saveDevices == devices) {
        const double platformSave = TimePlatformSave(folder, book, checks);
        PrintRow(devices, "save", ourSave, platformSave, false);
        saveSpeedUp = platformSave / ourSave;
    } else {
        // Timed at half the sample too, for the rate at which the platform's save grows.
        const std::size_t halfDevices = saveDevices / 2;
        const DeviceTable sample = MakeSampleBook(saveDevices);
        const double half = TimePlatformSave(folder, MakeSampleBook(halfDevices), checks);
        const double full = TimePlatformSave(folder, sample, checks);
        PrintRow(saveDevices, "save", TimeOurSave(folder, sample), full, false);
        const double growth = std::log2(full / half);
        const double estimate =
            full *
            std::pow(static_cast<double>(devices) / static_cast<double>(saveDevices), growth);
        PrintRow(devices, "save", ourSave, estimate, true);
        saveSpeedUp = estimate / ourSave;
        std::printf(
            "\nest.: the platform's save was timed on %zu and %zu devices only, not on\n"
            "%zu; its time grew as n^%.2f there and is extrapolated at that rate, which\n"
            "understates it if the growth steepens (each key written rewrites the whole\n"
            "file). The second argument sets the devices the platform's save is timed on.\n",
            halfDevices, saveDevices, devices, growth);
    }
    std::printf("\nplatform wrote the same bytes as our save: %s\n",
                checks.sameBytes ? "yes" : "NO");
    std::printf("platform read the same devices as our load: %s\n",
                checks.sameReading ? "yes" : "NO");
    const bool goal = saveSpeedUp > 100;
    std::printf("our save over 100x faster than the platform's: %s (%.0fx)\n", goal ? "yes" : "NO",
                saveSpeedUp);
    return checks.sameBytes && checks.sameReading && goal ? 0 : 1;
}
