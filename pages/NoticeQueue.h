#pragma once

// Notices are shown one at a time. A notice box runs an event loop of its own while it is open,
// and in that loop the appliance's next answers arrive and want notices of their own: they wait
// here instead of opening a box inside the box. An appliance may send the same answer thousands
// of times, so a text already waiting (or already open) is counted, not queued again: the queue
// holds each text once and its length is bounded.

#include <QString>

#include <cstddef>
#include <deque>
#include <functional>

namespace qv {

class NoticeQueue {
public:
    // Shows one box and returns when it is closed.
    using ShowBox = std::function<void(const QString& text)>;
    // Changes the text of the box that is open (a repeat of it arrived meanwhile).
    using UpdateOpenBox = std::function<void(const QString& text)>;

    // The most texts that wait at once; further distinct texts are dropped (the appliance is
    // flooding, and the operator has that many boxes to read already).
    static constexpr size_t kMaxWaiting = 64;

    NoticeQueue(ShowBox show, UpdateOpenBox update);

    // Shows `text`, or, while a box is open, lets it wait its turn. `information`: the
    // window reports its own success, not a refusal or a fault.
    void notice(const QString& text, bool information = false);

    // True while a box is open.
    bool showing() const { return m_showing; }
    // Whether the box being shown reports success (read while ShowBox runs).
    bool openIsInformation() const { return m_openInformation; }
    size_t waiting() const { return m_waiting.size(); }

    // The text a box shows for a notice that came `count` times.
    static QString withCount(const QString& text, int count);

private:
    struct Waiting {
        QString text;
        int count;
        bool information;
    };

    ShowBox m_show;
    UpdateOpenBox m_update;
    bool m_showing = false;
    QString m_openText;
    int m_openCount = 0;
    bool m_openInformation = false;
    std::deque<Waiting> m_waiting;
};

} // namespace qv
