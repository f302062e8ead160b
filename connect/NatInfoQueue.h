// The NAT library's info texts on their way from its threads to the window. The callback adds
// a text and posts WM_NAT_INFO without data; the window takes whatever is waiting. So the
// message carries no pointer, and one that another program posts finds nothing or texts that
// were waiting anyway.
#pragma once

#include <cstddef>
#include <deque>
#include <mutex>
#include <string>
#include <vector>

class NatInfoQueue {
public:
    // A window that falls this far behind loses the oldest texts, not its memory.
    static constexpr std::size_t kMaxTexts = 64;

    // Any thread.
    void Push(std::string text);
    // The texts waiting, oldest first; the queue is empty afterwards.
    std::vector<std::string> TakeAll();

private:
    std::mutex m_mutex;
    std::deque<std::string> m_texts;
};
