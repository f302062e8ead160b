// The NAT library's info texts on their way from its threads to the window. The callback adds
// a text and posts WM_NAT_INFO without data when none is on its way; the window takes whatever
// is waiting. So the message carries no pointer, one that another program posts finds nothing
// or texts that were waiting anyway, and a flood of callbacks puts one message in the window's
// queue, not one each.
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

    // Any thread. True when the caller is to post WM_NAT_INFO: none is on its way since the
    // window last took the texts.
    bool Push(std::string text);
    // The post that Push asked for failed (a full message queue): the next Push asks again.
    void PostFailed();
    // The texts waiting, oldest first; the queue is empty afterwards.
    std::vector<std::string> TakeAll();

private:
    std::mutex m_mutex;
    std::deque<std::string> m_texts;
    bool m_posted = false;
};
