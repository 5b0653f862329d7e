#include "app/ConfigTransfer.h"

#include "app/RestorePreviewDlg.h"
#include "app/TransferProgressDlg.h"
#include "core/backup/BackupFile.h"
#include "core/backup/RestoreChoices.h"
#include "core/backup/RestorePreview.h"
#include "link/CGlobalData.h"
#include "link/CMySocket.h"
#include "link/CodePage.h"
#include "link/LinkEvent.h"
#include "pages/Prompt.h"
#include "pages/QtText.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace bk = qv::backup;
using qv::StringId;

namespace {

QString text(const bk::Message& message) {
    return qv::fromUtf8(bk::messageText(message));
}

QString lines(const std::vector<std::string>& texts) {
    QStringList out;
    for (const std::string& line : texts)
        out << qv::fromUtf8(line);
    return out.join(QLatin1Char('\n'));
}

std::string localPath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

} // namespace

ConfigTransfer::ConfigTransfer(qv::CGlobalData& store, qv::Prompt& prompt, QWidget* window)
    : QObject(window), m_store(store), m_prompt(prompt), m_window(window) {}

ConfigTransfer::~ConfigTransfer() {
    if (m_fileReader.joinable())
        m_fileReader.join();
}

bool ConfigTransfer::mayStart() {
    if (running()) {
        m_prompt.notice(qv::uiText(StringId::TransferBusy));
        return false;
    }
    if (!m_store.isConnected()) {
        m_prompt.notice(qv::uiText(StringId::TransferNotConnected));
        return false;
    }
    return true;
}

void ConfigTransfer::backup() {
    if (!mayStart())
        return;
    const QString name = QStringLiteral("qvsetting-backup-%1.json")
                             .arg(QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd")));
    const std::optional<QString> path =
        m_prompt.saveFileName(qv::uiText(StringId::BackupFileFilter),
                              m_folder.isEmpty() ? name : QDir(m_folder).filePath(name),
                              qv::uiText(StringId::ChooseBackupTitle));
    if (!path || path->isEmpty())
        return;
    m_backupPath = *path;
    m_folder = QFileInfo(*path).absolutePath();
    startReading(Stage::Backup);
}

void ConfigTransfer::restore() {
    if (!mayStart())
        return;
    const std::optional<QString> path = m_prompt.openFileName(
        qv::uiText(StringId::BackupFileFilter), qv::uiText(StringId::ChooseRestoreTitle));
    if (!path || path->isEmpty())
        return;
    m_folder = QFileInfo(*path).absolutePath();
    // A reader of an earlier restore that ended early has its file by now (the read is bounded).
    if (m_fileReader.joinable())
        m_fileReader.join();
    m_stage = Stage::LoadingFile;
    const unsigned loading = ++m_loading;
    m_fileReader = std::thread([this, loading, file = localPath(*path)] {
        auto read = std::make_shared<bk::ReadResult>(bk::readBackupFile(file));
        QMetaObject::invokeMethod(
            this, [this, loading, read] { fileLoaded(loading, read); }, Qt::QueuedConnection);
    });
}

void ConfigTransfer::fileLoaded(unsigned loading, const std::shared_ptr<bk::ReadResult>& file) {
    // The link may have ended while the file was read; that restore was ended then.
    if (loading != m_loading || m_stage != Stage::LoadingFile)
        return;
    // A file that is not taken whole changes nothing; the appliance is not even read.
    if (!file->ok()) {
        m_stage = Stage::Idle;
        m_prompt.notice(text(file->error));
        return;
    }
    m_restored = std::move(file->backup);
    startReading(Stage::RestoreReading);
}

void ConfigTransfer::startReading(Stage stage) {
    m_stage = stage;
    m_read = std::make_unique<bk::Backup>();
    m_read->codePage = qv::systemCodePage();
    m_steps = bk::readingSteps();
    m_stepTables.clear();
    m_next = 0;
    sendNext();
}

void ConfigTransfer::sendNext() {
    if (m_next == m_steps.size()) {
        if (m_stage == Stage::Writing)
            writingDone();
        else
            readingDone();
        return;
    }
    showProgress();
    const bk::Step& step = m_steps[m_next];
    // A send that fails has closed the link; its end is reported here, not later.
    if (!m_store.send(step.request)) {
        linkLost();
        return;
    }
    if (step.answer != qv::ReplyEvent::None)
        return;
    // Save & Reboot: the appliance reboots without an answer, so the link is ended here.
    m_rebootHost = qv::fromUtf8(bk::hostAfterReboot(*m_network, m_store.link->host()));
    m_rebootPort = static_cast<quint16>(m_store.link->port());
    m_rebooting = true;
    m_store.link->Close();
    stepDone();
}

void ConfigTransfer::stepDone() {
    ++m_next;
    if (m_stage == Stage::Writing &&
        (m_next == m_steps.size() || m_stepTables[m_next] != m_stepTables[m_next - 1]))
        ++m_ledger.written;
    if (m_cancelRequested && m_stage == Stage::Writing)
        finish(qv::uiText(StringId::TransferCancelled) + QLatin1Char(' ') +
               text(m_ledger.outcome()));
    else
        sendNext();
}

void ConfigTransfer::showProgress() {
    if (!m_progress) {
        m_progress = new TransferProgressDlg(m_window);
        connect(m_progress, &TransferProgressDlg::cancelled, this, &ConfigTransfer::onCancel);
        m_progress->show();
    }
    if (m_stage == Stage::Writing) {
        const bk::Table table = m_stepTables[m_next];
        const int total = static_cast<int>(m_ledger.order.size());
        const int done = static_cast<int>(m_ledger.written);
        m_progress->setProgress(qv::uiText(StringId::RestoreWritingTables)
                                    .arg(qv::fromUtf8(bk::tableTitle(table)))
                                    .arg(done + 1)
                                    .arg(total),
                                done, total);
        return;
    }
    const int total = static_cast<int>(m_steps.size());
    const int done = static_cast<int>(m_next);
    m_progress->setProgress(qv::uiText(StringId::BackupReadingTables).arg(done).arg(total), done,
                            total);
}

bool ConfigTransfer::takeReply(const qv::LinkEvent& event) {
    if (event.code == qv::ReplyEvent::LinkEnded) {
        m_stray.reset();
        if (running())
            linkLost();
        return false;
    }
    if (m_stray && event.code == *m_stray) {
        m_stray.reset();
        return true;
    }
    if ((m_stage != Stage::Backup && m_stage != Stage::RestoreReading &&
         m_stage != Stage::Writing) ||
        m_next == m_steps.size() || event.code != m_steps[m_next].answer)
        return false;
    if (m_stage != Stage::Writing) {
        bk::takeReading(*m_read, event);
    } else if (!bk::confirms(m_steps[m_next], event)) {
        const QString refused = qv::uiText(StringId::RestoreRefusedBy)
                                    .arg(qv::fromUtf8(bk::tableTitle(m_stepTables[m_next])))
                                    .arg(event.value);
        finish(refused + QLatin1Char('\n') + text(m_ledger.outcome()));
        return true;
    }
    stepDone();
    return true;
}

void ConfigTransfer::readingDone() {
    if (m_stage == Stage::Backup)
        writeBackup();
    else
        showPreview();
}

void ConfigTransfer::writeBackup() {
    const std::string appliance =
        m_store.link ? m_store.link->host() + ":" + std::to_string(m_store.link->port())
                     : std::string();
    bk::stampBackup(*m_read, appliance);
    const std::optional<bk::Message> fault = bk::writeBackupFile(*m_read, localPath(m_backupPath));
    finish(fault ? text(*fault) : qv::uiText(StringId::BackupWritten).arg(m_backupPath), !fault);
}

void ConfigTransfer::showPreview() {
    closeProgress();
    m_stage = Stage::Previewing;
    m_network = bk::planNetworkRestore(m_read->network, m_restored->network, m_restored->codePage,
                                       qv::network::linkViewOf(m_store.link->endpoints()));
    const bk::TargetLimits limits = bk::targetLimits(m_store.maxCenterIdCount, m_read->summary);
    const QString heading =
        text({StringId::RestoreFrom, {m_restored->appliance, m_restored->writtenAt}});
    m_preview = new RestorePreviewDlg(bk::restoreChoices(*m_read, *m_restored, limits, *m_network),
                                      heading, m_window);
    m_preview->setAttribute(Qt::WA_DeleteOnClose);
    connect(m_preview, &QDialog::finished, this, &ConfigTransfer::previewClosed);
    m_preview->open();
}

void ConfigTransfer::previewClosed(int result) {
    // The dialog deletes itself once closed.
    const std::vector<bk::Table> chosen = m_preview->chosen();
    m_preview->disconnect(this);
    m_preview = nullptr;
    if (result != QDialog::Accepted) {
        finish(qv::uiText(StringId::RestoreCancelled), true);
        return;
    }
    startWriting(chosen);
}

bool ConfigTransfer::networkConfirmed() {
    // A change that cuts this client off offers No first, as on the network page.
    const qv::DefaultAnswer first =
        m_network->preview.warnings.empty() ? qv::DefaultAnswer::Yes : qv::DefaultAnswer::No;
    return m_prompt.question(lines(bk::networkLines(*m_network)) + QStringLiteral("\n\n") +
                                 qv::uiText(StringId::NetworkRebootQuestion),
                             first);
}

void ConfigTransfer::startWriting(const std::vector<bk::Table>& chosen) {
    m_ledger = bk::RestoreLedger{bk::writingOrder(chosen)};
    const bool network = std::find(m_ledger.order.begin(), m_ledger.order.end(),
                                   bk::Table::Network) != m_ledger.order.end();
    if (m_ledger.order.empty() || (network && m_network->reboots() && !networkConfirmed())) {
        finish(qv::uiText(StringId::RestoreCancelled), true);
        return;
    }
    m_steps.clear();
    m_stepTables.clear();
    for (const bk::Table table : m_ledger.order)
        for (bk::Step& step : bk::writingSteps(table, *m_restored, *m_network)) {
            m_steps.push_back(std::move(step));
            m_stepTables.push_back(table);
        }
    m_next = 0;
    m_rebooting = false;
    m_stage = Stage::Writing;
    sendNext();
}

void ConfigTransfer::writingDone() {
    QString message = text(m_ledger.outcome());
    if (m_rebooting)
        message += QLatin1Char('\n') + qv::uiText(StringId::NetworkSent);
    finish(message, true);
}

void ConfigTransfer::onCancel() {
    // A write that went out is awaited, so the last words say truly what was written.
    if (m_stage == Stage::Writing) {
        m_cancelRequested = true;
        return;
    }
    if (m_next < m_steps.size())
        m_stray = m_steps[m_next].answer;
    finish(qv::uiText(StringId::TransferCancelled) + QLatin1Char(' ') +
           qv::uiText(m_stage == Stage::Backup ? StringId::BackupNotWritten
                                               : StringId::RestoreCancelled));
}

void ConfigTransfer::linkLost() {
    const QString lost = qv::uiText(StringId::TransferLinkLost) + QLatin1Char(' ');
    switch (m_stage) {
    case Stage::Backup:
        finish(lost + qv::uiText(StringId::BackupNotWritten));
        break;
    case Stage::LoadingFile:
    case Stage::RestoreReading:
    case Stage::Previewing:
        finish(lost + qv::uiText(StringId::RestoreCancelled));
        break;
    case Stage::Writing:
        finish(lost + text(m_ledger.outcome()));
        break;
    case Stage::Idle:
        break;
    }
}

void ConfigTransfer::closeProgress() {
    if (m_progress) {
        m_progress->hide();
        m_progress->deleteLater();
    }
    m_progress = nullptr;
}

void ConfigTransfer::finish(const QString& message, bool success) {
    const bool wrote = m_stage == Stage::Writing && m_ledger.written > 0;
    m_stage = Stage::Idle;
    m_steps.clear();
    m_stepTables.clear();
    m_next = 0;
    m_cancelRequested = false;
    closeProgress();
    if (m_preview) {
        // Closed without asking again: the dialog's answer no longer matters.
        m_preview->disconnect(this);
        m_preview->close();
    }
    if (!message.isEmpty()) {
        if (success)
            m_prompt.information(message);
        else
            m_prompt.notice(message);
    }
    if (m_rebooting) {
        m_rebooting = false;
        Q_EMIT applianceRebooting(m_rebootHost, m_rebootPort);
    } else if (wrote) {
        Q_EMIT tablesWritten();
    }
}
