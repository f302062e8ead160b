#include "discovery/SearchDevices.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace {

using Clock = std::chrono::steady_clock;

constexpr auto kWaitLimit = std::chrono::seconds(5);
constexpr double kSearchSeconds = 5;
// How long a wait may go without looking at the stop request.
constexpr auto kStopSlice = std::chrono::milliseconds(50);

enum class Waited { kReady, kTimedOut, kFailed, kStopped };

// Waits up to kWaitLimit for the socket, asking for a stop before every slice of the wait.
template <class WaitSlice>
Waited WaitOrStop(const StopRequested& stop, WaitSlice waitSlice) {
    const Clock::time_point deadline = Clock::now() + kWaitLimit;
    for (;;) {
        if (stop && stop()) {
            return Waited::kStopped;
        }
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) {
            return Waited::kTimedOut;
        }
        switch (waitSlice(std::min<std::chrono::milliseconds>(left, kStopSlice))) {
            case SocketWait::kReady:
                return Waited::kReady;
            case SocketWait::kFailed:
                return Waited::kFailed;
            case SocketWait::kTimedOut:
                break;
        }
    }
}

void Say(const char* line) {
    std::fputs(line, stdout);
    std::fflush(stdout);
}

}  // namespace

bool SendSearchRequest(const SearchRequest& request, const SearchTarget& target,
                       const StopRequested& stop) {
    // Unbound: the system picks the source port and the interface that carries the broadcast.
    UdpSocket sender;
    if (!sender.IsOpen() || !sender.EnableBroadcast()) {
        return false;
    }
    std::span<const std::uint8_t> unsent(request);
    while (!unsent.empty()) {
        const Waited waited = WaitOrStop(stop, [&sender](std::chrono::milliseconds slice) {
            return sender.WaitWritable(slice);
        });
        if (waited != Waited::kReady) {
            return false;
        }
        const int sent = sender.SendTo(target.address, target.port, unsent);
        if (sent <= 0) {
            return false;
        }
        unsent = unsent.subspan(static_cast<std::size_t>(sent));
    }
    return true;
}

SearchReport SearchDevices(std::span<SearchEntry> table, const SearchTarget& target,
                           const StopRequested& stop) {
    SearchReport report;
    if (table.size() > kSearchCapacity) {
        return report;
    }
    const SearchRequest request = MakeSearchRequest();

    // Bound before the request goes out, so that early answers wait in its queue.
    UdpSocket answers;
    if (!answers.IsOpen() || !answers.Bind(kAnyAddress, target.answerPort)) {
        report.end = SearchEnd::kNoSocket;
        return report;
    }
    // The search listens even when the request could not be sent.
    SendSearchRequest(request, target, stop);

    std::uint8_t area[kSearchReceiveSize] = {};
    SearchEntry entry{};
    std::size_t count = 0;
    const std::time_t start = std::time(nullptr);
    for (;;) {
        const Waited waited = WaitOrStop(stop, [&answers](std::chrono::milliseconds slice) {
            return answers.WaitReadable(slice);
        });
        if (waited == Waited::kStopped) {
            report.end = SearchEnd::kStopped;
            break;
        }
        if (waited != Waited::kReady) {
            Say("Run exit2\n");
            report.end = SearchEnd::kSilence;
            break;
        }
        const int length = answers.Receive(area);
        if (length <= 0) {
            report.end = SearchEnd::kReceiveFailed;
            break;
        }
        const ReplyKind kind =
            ParseSearchReply(std::span(area, static_cast<std::size_t>(length)), entry);
        if (kind == ReplyKind::kWrongCommand) {
            report.end = SearchEnd::kWrongCommand;
            break;
        }
        report.answered = true;
        if (kind == ReplyKind::kEntry && count < table.size()) {
            table[count++] = entry;
        }
        if (count >= table.size()) {
            report.end = SearchEnd::kTableFull;
            break;
        }
        // Whole seconds of the wall clock, in either direction should it be set meanwhile.
        if (std::abs(std::difftime(std::time(nullptr), start)) >= kSearchSeconds) {
            Say("Run exit1\n");
            report.end = SearchEnd::kTimeUp;
            break;
        }
    }
    report.count = report.answered ? static_cast<int>(count) : 0;
    return report;
}
