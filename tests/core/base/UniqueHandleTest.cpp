// The handle owner: each handle is closed exactly once, whichever owner it has moved to, and
// the "none" value never.
#include "base/UniqueHandle.h"

#include <gtest/gtest.h>

#include <functional>
#include <utility>
#include <vector>

namespace {

std::vector<int> g_closed;

struct RecordedKind {
    using Value = int;
    static Value None() { return -1; }
    static void Close(Value handle) { g_closed.push_back(handle); }
};
using Owned = UniqueHandle<RecordedKind>;

TEST(UniqueHandleTest, ClosesEachHandleOnceWhereverItMoved) {
    struct Case {
        const char* what;
        std::function<void()> steps;
        std::vector<int> closed;
    };
    const Case cases[] = {
        {"moved out", [] { Owned from(1), to(std::move(from)); }, {1}},
        {"moved over a held one",
         [] {
             Owned from(1), to(2);
             to = std::move(from);
             EXPECT_EQ(g_closed, std::vector<int>{2});
         },
         {2, 1}},
        {"released", [] { EXPECT_EQ(Owned(1).Release(), 1); }, {}},
        {"reset to another",
         [] {
             Owned owner(1);
             owner.Reset(2);
             EXPECT_EQ(owner.Get(), 2);
         },
         {1, 2}},
        {"none", [] { Owned empty, none(-1), moved(std::move(none)); }, {}},
    };
    for (const Case& c : cases) {
        g_closed.clear();
        c.steps();
        EXPECT_EQ(g_closed, c.closed) << c.what;
    }
}

}  // namespace
