#include "connect/NatInfoQueue.h"

#include <iterator>
#include <utility>

bool NatInfoQueue::Push(std::string text) {
    const std::lock_guard lock(m_mutex);
    if (m_texts.size() == kMaxTexts) {
        m_texts.pop_front();
    }
    m_texts.push_back(std::move(text));
    return !std::exchange(m_posted, true);
}

void NatInfoQueue::PostFailed() {
    const std::lock_guard lock(m_mutex);
    m_posted = false;
}

std::vector<std::string> NatInfoQueue::TakeAll() {
    std::deque<std::string> taken;
    {
        const std::lock_guard lock(m_mutex);
        taken.swap(m_texts);
        m_posted = false;
    }
    return std::vector<std::string>(std::make_move_iterator(taken.begin()),
                                    std::make_move_iterator(taken.end()));
}
