#include "pages/upload/UploadSender.h"

#include "link/CGlobalData.h"
#include "link/CMySocket.h"
#include "pages/QtText.h"

#include <QMetaObject>

UploadSender::UploadSender(qv::CGlobalData& store, QObject* parent)
    : QObject(parent), m_store(store) {}

UploadSender::~UploadSender() {
    cancel();
}

void UploadSender::start(qv::upload::Kind kind, const QString& path) {
    if (m_busy)
        return;
    joinWorker();
    m_busy = true;
    m_cancelled = false;
    // The link object lives as long as the window; the page cancels (and so joins the thread)
    // before the window releases it.
    m_worker = std::thread(&UploadSender::run, this, m_store.link.get(), kind, qv::toUtf8(path));
}

void UploadSender::cancel() {
    if (m_busy) {
        m_cancelled = true;
        // A file being read is simply not sent; one going out is cut off by closing the link,
        // which makes the sending thread's send fail at once.
        if (m_sending && m_store.link)
            m_store.link->Close();
    }
    joinWorker();
}

void UploadSender::joinWorker() {
    if (m_worker.joinable())
        m_worker.join();
}

void UploadSender::run(qv::CMySocket* link, qv::upload::Kind kind, const std::string& path) {
    const qv::upload::Prepared prepared = qv::upload::prepare(kind, path);
    if (prepared.refusal) {
        report(Ending::Refused, *prepared.refusal);
        return;
    }
    // Marked before the cancel flag is read, the reverse of cancel(): whichever comes second
    // sees the other, so a cancel either stops the send before it starts or cuts it off.
    m_sending = true;
    if (m_cancelled) {
        m_sending = false;
        report(Ending::Cancelled);
        return;
    }
    if (link == nullptr || !link->connected()) {
        m_sending = false;
        report(Ending::NotConnected);
        return;
    }
    const bool sent = link->Send(*prepared.frame, [this](size_t done, size_t total) {
        QMetaObject::invokeMethod(
            this,
            [this, done, total] {
                Q_EMIT progressed(static_cast<qint64>(done), static_cast<qint64>(total));
            },
            Qt::QueuedConnection);
    });
    m_sending = false;
    report(sent ? Ending::Sent : (m_cancelled ? Ending::Cancelled : Ending::LinkLost));
}

void UploadSender::report(Ending ending, qv::StringId refusal) {
    QMetaObject::invokeMethod(
        this,
        [this, ending, refusal] {
            m_busy = false;
            Q_EMIT ended(ending, refusal);
        },
        Qt::QueuedConnection);
}
