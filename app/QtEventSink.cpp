#include "QtEventSink.h"

#include "ServerEvent.h"

#include <QCoreApplication>

void QtEventSink::post(qv::LinkEvent event) {
    QCoreApplication::postEvent(m_target, new ServerEvent(std::move(event)));
}
