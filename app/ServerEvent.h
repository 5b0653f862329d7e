#pragma once

#include "link/LinkEvent.h"

#include <QEvent>

// One reply of the appliance (or the end of the link, event 255) on its way from the receive
// thread to the main window, which hands it to OnUserReplyMsg.
class ServerEvent : public QEvent {
public:
    static constexpr QEvent::Type kType = static_cast<QEvent::Type>(11155);

    explicit ServerEvent(qv::LinkEvent link) : QEvent(kType), m_link(std::move(link)) {}

    const qv::LinkEvent& link() const { return m_link; }

private:
    qv::LinkEvent m_link;
};
