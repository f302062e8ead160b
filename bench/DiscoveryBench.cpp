// Host timings of the LAN search's CPU work at the table's capacity: parsing 1024 answers into
// the search table and collecting the list from them, and duplicate removal over 1024 entries
// (quadratic by design) with few, some and no duplicates.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "discovery/DiscoveryList.h"
#include "discovery/SearchDatagrams.h"
#include "discovery/SearchDevices.h"

namespace {

using Datagram = std::vector<std::uint8_t>;

Datagram FixedAnswer(int device) {
    Datagram bytes(204, 0);
    std::memcpy(bytes.data(), "KX_SEARCH", 9);
    bytes[16] = 0x01;
    bytes[17] = 0x01;
    const std::uint8_t mac[6] = {0x02,
                                 0xAB,
                                 0xCD,
                                 0x0A,
                                 static_cast<std::uint8_t>(device >> 8),
                                 static_cast<std::uint8_t>(device)};
    std::memcpy(bytes.data() + 18, mac, 6);
    const std::uint8_t ip[4] = {10, 0, static_cast<std::uint8_t>(device >> 8),
                                static_cast<std::uint8_t>(device)};
    std::memcpy(bytes.data() + 56, ip, 4);
    bytes[72] = 80;
    std::memcpy(bytes.data() + 76, "Simulated recorder", 18);
    return bytes;
}

Datagram TextAnswer(int device) {
    char text[256];
    const int length = std::snprintf(
        text, sizeof text,
        "MAC=02:AB:CD:0A:%02X:%02X&IPAddress=10.1.%d.%d&Port=80&Wireless-Device=0&"
        "NetworkType=DHCP&DEVICE_TYPE=NVR&CloudLoginName=&Title=Recorder&Cloud=0&Internet=1",
        device >> 8 & 0xFF, device & 0xFF, device >> 8 & 0xFF, device & 0xFF);
    Datagram bytes(32 + static_cast<std::size_t>(length) + 1, 0);
    std::memcpy(bytes.data(), "KORVEX-v1000", 12);
    bytes[16] = 0x01;
    bytes[25] = 0x01;
    std::memcpy(bytes.data() + 32, text, static_cast<std::size_t>(length));
    return bytes;
}

// 1024 answers, half of each form; `devices` distinct devices answering in turn.
std::vector<Datagram> Answers(int devices) {
    std::vector<Datagram> answers;
    for (int i = 0; i < static_cast<int>(kSearchCapacity); ++i) {
        answers.push_back(i % 2 == 0 ? FixedAnswer(i % devices) : TextAnswer(i % devices));
    }
    return answers;
}

std::vector<SearchEntry> Entries(int devices) {
    std::vector<SearchEntry> table(kSearchCapacity);
    const std::vector<Datagram> answers = Answers(devices);
    for (std::size_t i = 0; i < answers.size(); ++i) {
        ParseSearchReply(answers[i], table[i]);
    }
    return table;
}

// What one search does with 1024 answers after they have arrived: each read into the table
// through the one receive area, then the list built from the table.
void BM_ParseAndCollect1024(benchmark::State& state) {
    const std::vector<Datagram> answers = Answers(static_cast<int>(state.range(0)));
    std::vector<SearchEntry> table(kSearchCapacity);
    for (auto _ : state) {
        std::size_t count = 0;
        SearchEntry entry;
        for (const Datagram& answer : answers) {
            if (ParseSearchReply(answer, entry) == ReplyKind::kEntry) {
                table[count++] = entry;
            }
        }
        std::vector<DiscoveredDevice> devices = RemoveDuplicateMacs(std::span(table).first(count));
        benchmark::DoNotOptimize(devices.data());
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(answers.size()));
    state.counters["devices"] = static_cast<double>(state.range(0));
}

void BM_Parse1024(benchmark::State& state) {
    const std::vector<Datagram> answers = Answers(1024);
    SearchEntry entry;
    for (auto _ : state) {
        for (const Datagram& answer : answers) {
            benchmark::DoNotOptimize(ParseSearchReply(answer, entry));
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(answers.size()));
}

// Duplicate removal over a full table; range(0) distinct MAC texts among the 1024 entries.
void BM_RemoveDuplicates1024(benchmark::State& state) {
    const std::vector<SearchEntry> table = Entries(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        std::vector<DiscoveredDevice> devices = RemoveDuplicateMacs(table);
        benchmark::DoNotOptimize(devices.data());
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(table.size()));
    state.counters["devices"] = static_cast<double>(RemoveDuplicateMacs(table).size());
}

}  // namespace

BENCHMARK(BM_ParseAndCollect1024)->Arg(1)->Arg(256)->Arg(1024)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Parse1024)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RemoveDuplicates1024)->Arg(1)->Arg(256)->Arg(1024)->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
