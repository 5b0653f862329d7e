#include "app/ApplianceReturnWatch.h"

#include "link/SocketIo.h"
#include "pages/QtText.h"

#include <mutex>
#include <string>
#include <thread>

using qv::StringId;

struct ApplianceReturnWatch::Mailbox {
    std::mutex mutex;
    ApplianceReturnWatch* watch = nullptr;
};

ApplianceReturnWatch::ApplianceReturnWatch(QObject* parent)
    : QObject(parent), m_mailbox(std::make_shared<Mailbox>()) {
    m_mailbox->watch = this;
    m_probeTimer.setInterval(kProbeInterval);
    m_secondTimer.setInterval(1000);
    connect(&m_probeTimer, &QTimer::timeout, this, &ApplianceReturnWatch::probe);
    connect(&m_secondTimer, &QTimer::timeout, this, &ApplianceReturnWatch::tick);
}

ApplianceReturnWatch::~ApplianceReturnWatch() {
    // An answer already posted is dropped with this object's pending events.
    const std::lock_guard<std::mutex> lock(m_mailbox->mutex);
    m_mailbox->watch = nullptr;
}

QString ApplianceReturnWatch::target() const {
    return m_host + QLatin1Char(':') + QString::number(m_port);
}

void ApplianceReturnWatch::start(const QString& host, quint16 port) {
    stop();
    m_host = host;
    m_port = port;
    m_seenAway = false;
    m_elapsed.start();
    // The first knock waits one interval: the appliance needs a moment to go down at all.
    m_probeTimer.start();
    m_secondTimer.start();
    tick();
}

void ApplianceReturnWatch::stop() {
    m_probeTimer.stop();
    m_secondTimer.stop();
    endProbe();
}

void ApplianceReturnWatch::tick() {
    const qint64 seconds = m_elapsed.elapsed() / 1000;
    if (m_elapsed.elapsed() >= kGiveUpAfter.count()) {
        stop();
        Q_EMIT statusChanged(qv::uiText(StringId::ReturnGaveUp).arg(target()));
        return;
    }
    Q_EMIT statusChanged(qv::uiText(StringId::ReturnWaiting).arg(target()).arg(seconds));
}

void ApplianceReturnWatch::probe() {
    // A knock still under way after a whole interval has its answer: nobody is there.
    if (m_knock != 0)
        probeFailed();
    m_knock = ++m_lastKnock;
    if (m_knock == 0) // after wrapping round, 0 still means "none"
        m_knock = ++m_lastKnock;
    const unsigned knock = m_knock;
    const qv::ServerAddress address{m_host.toStdString(), m_port};
    std::thread([mailbox = m_mailbox, address, knock] {
        const qv::SocketHandle socket = qv::connectTcp(address, kKnockTimeout);
        const bool connected = socket != qv::kInvalidSocket;
        if (connected)
            qv::closeSocket(socket);
        const std::lock_guard<std::mutex> lock(mailbox->mutex);
        if (ApplianceReturnWatch* watch = mailbox->watch)
            QMetaObject::invokeMethod(
                watch, [watch, knock, connected] { watch->knockEnded(knock, connected); },
                Qt::QueuedConnection);
    }).detach();
}

void ApplianceReturnWatch::knockEnded(unsigned knock, bool connected) {
    if (knock != m_knock)
        return;
    if (connected)
        probeConnected();
    else
        probeFailed();
}

void ApplianceReturnWatch::probeConnected() {
    endProbe();
    if (!m_seenAway && m_elapsed.elapsed() < kSettleTime.count())
        return;
    stop();
    Q_EMIT statusChanged(qv::uiText(StringId::ReturnAnswered).arg(target()));
    Q_EMIT answered();
}

void ApplianceReturnWatch::probeFailed() {
    m_seenAway = true;
    endProbe();
}

void ApplianceReturnWatch::endProbe() {
    m_knock = 0;
}
