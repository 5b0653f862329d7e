#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>

#include <chrono>

class QTcpSocket;

// Waits for an appliance to come back after a reboot: tries a TCP connection to its address
// every two seconds, without blocking the window, and reports the wait as a status line until
// the appliance answers or five minutes have passed. It only knocks; logging on stays with the
// administrator, and no password is kept for it.
class ApplianceReturnWatch : public QObject {
    Q_OBJECT
public:
    static constexpr std::chrono::milliseconds kProbeInterval{2000};
    static constexpr std::chrono::milliseconds kGiveUpAfter{5 * 60 * 1000};
    // An answer that comes before the appliance was ever seen away may be the appliance still
    // on its way down; it counts only after this long.
    static constexpr std::chrono::milliseconds kSettleTime{15000};

    explicit ApplianceReturnWatch(QObject* parent = nullptr);
    ~ApplianceReturnWatch() override;

    // Starts (or restarts) the wait for `host` and `port`.
    void start(const QString& host, quint16 port);
    void stop();

Q_SIGNALS:
    // The status line in the user-interface language.
    void statusChanged(const QString& text);
    void answered();

private:
    void probe();
    void probeConnected();
    void probeFailed();
    void tick();
    void endProbe();
    QString target() const;

    QString m_host;
    quint16 m_port = 0;
    bool m_seenAway = false;
    QTcpSocket* m_probe = nullptr;
    QElapsedTimer m_elapsed;
    QTimer m_probeTimer;
    QTimer m_secondTimer;
};
