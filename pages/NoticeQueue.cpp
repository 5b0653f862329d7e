#include "pages/NoticeQueue.h"

#include <algorithm>
#include <utility>

namespace qv {

NoticeQueue::NoticeQueue(ShowBox show, UpdateOpenBox update)
    : m_show(std::move(show)), m_update(std::move(update)) {}

QString NoticeQueue::withCount(const QString& text, int count) {
    if (count <= 1)
        return text;
    return text + QStringLiteral("\n\n(\u00d7%1)").arg(count);
}

void NoticeQueue::notice(const QString& text, bool information) {
    if (m_showing) {
        if (text == m_openText) {
            m_update(withCount(m_openText, ++m_openCount));
            return;
        }
        const auto same = std::find_if(m_waiting.begin(), m_waiting.end(),
                                       [&](const Waiting& w) { return w.text == text; });
        if (same != m_waiting.end())
            ++same->count;
        else if (m_waiting.size() < kMaxWaiting)
            m_waiting.push_back({text, 1, information});
        return;
    }
    m_showing = true;
    Waiting next{text, 1, information};
    for (;;) {
        m_openText = next.text;
        m_openCount = next.count;
        m_openInformation = next.information;
        m_show(withCount(next.text, next.count));
        if (m_waiting.empty())
            break;
        next = std::move(m_waiting.front());
        m_waiting.pop_front();
    }
    m_openText.clear();
    m_openCount = 0;
    m_openInformation = false;
    m_showing = false;
}

} // namespace qv
