#include "app/ApplianceReturnWatch.h"

#include "pages/QtText.h"

#include <QTcpSocket>

using qv::StringId;

ApplianceReturnWatch::ApplianceReturnWatch(QObject* parent) : QObject(parent) {
    m_probeTimer.setInterval(kProbeInterval);
    m_secondTimer.setInterval(1000);
    connect(&m_probeTimer, &QTimer::timeout, this, &ApplianceReturnWatch::probe);
    connect(&m_secondTimer, &QTimer::timeout, this, &ApplianceReturnWatch::tick);
}

ApplianceReturnWatch::~ApplianceReturnWatch() {
    endProbe();
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
    if (m_probe)
        probeFailed();
    m_probe = new QTcpSocket(this);
    connect(m_probe, &QTcpSocket::connected, this, &ApplianceReturnWatch::probeConnected);
    connect(m_probe, &QTcpSocket::errorOccurred, this, &ApplianceReturnWatch::probeFailed);
    m_probe->connectToHost(m_host, m_port);
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
    if (!m_probe)
        return;
    m_probe->disconnect(this);
    m_probe->abort();
    m_probe->deleteLater();
    m_probe = nullptr;
}
