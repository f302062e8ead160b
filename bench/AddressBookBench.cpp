// Host timings of the address book's load and save at the sizes a large site reaches, with
// the parse and format steps alone beside them to tell the CPU's share from the disk's.
// Goal: load and save of 10,000 devices within 20 ms each, and a hostile book (one section of
// 20,000 keys, then its header 100,000 times more, about 0.8 MB) loaded within 1 s. The load
// and parse of 100,000 devices are the book's share of the launcher's start with that many.
#include <benchmark/benchmark.h>

#include <string>

#include "addressbook/AddressBook.h"
#include "addressbook/IniFile.h"
#include "addressbook/ProfileDocument.h"
#include "addressbook/SharedBook.h"
#include "base/FixedText.h"
#include "bench/SampleBook.h"
#include "support/ScratchFolder.h"

namespace {

void SetSize(benchmark::State& state, const std::string& bytes) {
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(bytes.size()));
    state.counters["devices"] = static_cast<double>(state.range(0));
}

// The whole save as the program does it: format, write the scratch file, sync, rename.
void BM_Save(benchmark::State& state) {
    const DeviceTable table = MakeSampleBook(static_cast<std::size_t>(state.range(0)));
    ScratchFolder folder;
    const std::string path = folder.File(kAddressBookFileName);
    for (auto _ : state) {
        if (!WriteAddressBook(path, table)) {
            state.SkipWithError("the save failed");
            break;
        }
    }
    SetSize(state, FormatAddressBook(table));
}

// The save the window makes, on a book nobody else changed: the file is read and compared
// before and again just before the swap. Beside BM_Save, the cost of guarding the merge. With
// a change (one device's address each time) it writes; without one, as at every close, it
// finds the bytes already there and writes nothing.
void BM_SharedSave(benchmark::State& state) {
    const bool changing = state.range(1) != 0;
    ScratchFolder folder;
    const std::string path = folder.File(kAddressBookFileName);
    SharedBook book;
    if (!WriteAddressBook(path, MakeSampleBook(static_cast<std::size_t>(state.range(0)))) ||
        book.Load(folder.Folder()) || book.Save() == SharedBook::Saved::kFailed) {
        state.SkipWithError("could not write the book to save over");
        return;
    }
    const SharedBook::Saved expected =
        changing ? SharedBook::Saved::kWritten : SharedBook::Saved::kUnchanged;
    DeviceTable& table = book.Devices();
    int serial = 0;
    for (auto _ : state) {
        if (changing) {
            CopyField(table.At(0).serverIp, "10.0.0." + std::to_string(++serial % 2));
        }
        if (book.Save() != expected) {
            state.SkipWithError("the save failed, merged or did not do what was expected");
            break;
        }
    }
    state.counters["changed"] = changing ? 1 : 0;
    SetSize(state, FormatAddressBook(table));
}

// The whole load as the program does it at start-up: read, parse, one record per section.
void BM_Load(benchmark::State& state) {
    const DeviceTable table = MakeSampleBook(static_cast<std::size_t>(state.range(0)));
    ScratchFolder folder;
    if (!WriteAddressBook(folder.File(kAddressBookFileName), table)) {
        state.SkipWithError("could not write the book to load");
        return;
    }
    for (auto _ : state) {
        CIniFile file;
        DeviceTable loaded;
        LoadAddressBook(folder.Folder(), file, loaded);
        if (loaded.Count() != table.Count()) {
            state.SkipWithError("the load lost devices");
            break;
        }
        benchmark::DoNotOptimize(loaded.At(0));
    }
    SetSize(state, FormatAddressBook(table));
}

// Every repeated header is one more device whose every key is looked up in the first
// section's 20,000 keys: linear only while a look-up does not search them one by one.
void BM_LoadHostile(benchmark::State& state) {
    std::string bytes = "[Cam]\r\n";
    for (int i = 0; i < 20000; ++i) {
        bytes += "K" + std::to_string(i) + "=v\r\n";
    }
    for (int i = 0; i < 100000; ++i) {
        bytes += "[Cam]\r\n";
    }
    ScratchFolder folder;
    folder.Write(kAddressBookFileName, bytes);
    for (auto _ : state) {
        CIniFile file;
        DeviceTable loaded;
        LoadAddressBook(folder.Folder(), file, loaded);
        if (loaded.Count() != 100001) {
            state.SkipWithError("the load lost devices");
            break;
        }
        benchmark::DoNotOptimize(loaded.At(0));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(bytes.size()));
}

void BM_Format(benchmark::State& state) {
    const DeviceTable table = MakeSampleBook(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        std::string bytes = FormatAddressBook(table);
        benchmark::DoNotOptimize(bytes.data());
    }
    SetSize(state, FormatAddressBook(table));
}

void BM_Parse(benchmark::State& state) {
    const std::string bytes =
        FormatAddressBook(MakeSampleBook(static_cast<std::size_t>(state.range(0))));
    for (auto _ : state) {
        ProfileDocument document = ProfileDocument::Parse(bytes);
        benchmark::DoNotOptimize(document.Sections().data());
    }
    SetSize(state, bytes);
}

}  // namespace

BENCHMARK(BM_Load)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadHostile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Save)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SharedSave)->ArgsProduct({{1000, 10000}, {1, 0}})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Parse)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Format)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
