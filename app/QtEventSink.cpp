#include "app/QtEventSink.h"

#include "app/ServerEvent.h"

#include <QCoreApplication>

void QtEventSink::post(qv::LinkEvent event) {
    QCoreApplication::postEvent(m_target, new ServerEvent(std::move(event)));
}
