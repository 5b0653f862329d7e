#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>

#include <chrono>
#include <memory>

// Waits for an appliance to come back after a reboot: tries a TCP connection to its address
// every two seconds, without blocking the window, and reports the wait as a status line until
// the appliance answers or five minutes have passed. It only knocks; logging on stays with the
// administrator, and no password is kept for it.
//
// Each knock is the link's own connect on a short-lived worker thread (a name lookup or a
// silent address may take a while), so the window needs no second network stack for it.
class ApplianceReturnWatch : public QObject {
    Q_OBJECT
public:
    static constexpr std::chrono::milliseconds kProbeInterval{2000};
    static constexpr std::chrono::milliseconds kGiveUpAfter{5 * 60 * 1000};
    // An answer that comes before the appliance was ever seen away may be the appliance still
    // on its way down; it counts only after this long.
    static constexpr std::chrono::milliseconds kSettleTime{15000};
    // A knock that has no answer within this long finds nobody; shorter than the interval, so
    // that the next knock does not start while this one still waits.
    static constexpr std::chrono::milliseconds kKnockTimeout{1500};

    explicit ApplianceReturnWatch(QObject* parent = nullptr);
    ~ApplianceReturnWatch() override;

    // Starts (or restarts) the wait for `host` and `port`.
    void start(const QString& host, quint16 port);
    void stop();
    // Whether a knock since start() found nobody: only then does an early answer count.
    bool seenAway() const { return m_seenAway; }

Q_SIGNALS:
    // The status line in the user-interface language.
    void statusChanged(const QString& text);
    void answered();

private:
    struct Mailbox;

    void probe();
    void knockEnded(unsigned knock, bool connected);
    void probeConnected();
    void probeFailed();
    void tick();
    void endProbe();
    QString target() const;

    QString m_host;
    quint16 m_port = 0;
    bool m_seenAway = false;
    // The knock under way (0: none); an answer to any other knock is stale and dropped.
    unsigned m_knock = 0;
    unsigned m_lastKnock = 0;
    // Where the worker threads post their answers; emptied when the watch goes away, so a
    // knock that outlives the watch answers nobody.
    std::shared_ptr<Mailbox> m_mailbox;
    QElapsedTimer m_elapsed;
    QTimer m_probeTimer;
    QTimer m_secondTimer;
};
