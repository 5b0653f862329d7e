#pragma once

#include "link/LinkEvent.h"

class QObject;

// Delivers the receive thread's events to the main window as posted ServerEvents, so the
// dispatcher runs on the user-interface thread in the order the replies came. The target must
// outlive every link that posts here (the main window closes the link before it goes).
class QtEventSink : public qv::EventSink {
public:
    explicit QtEventSink(QObject* target) : m_target(target) {}
    void post(qv::LinkEvent event) override;

private:
    QObject* m_target;
};
