#pragma once

#include "core/backup/Backup.h"
#include "core/backup/BackupFile.h"
#include "core/backup/NetworkRestore.h"
#include "core/backup/TransferSteps.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <memory>
#include <optional>
#include <thread>
#include <vector>

class QWidget;
class RestorePreviewDlg;
class TransferProgressDlg;

namespace qv {
class CGlobalData;
class Prompt;
struct LinkEvent;
} // namespace qv

// Backup... and Restore... of the main window. Both go over the window's link one request at
// a time, each sent when the answer to the one before came through the window's dispatcher, so
// the window keeps drawing and Cancel works. The answers a transfer waits for are taken before
// the store and the pages see them: reading the appliance for a backup or a restore never
// replaces a table a page is editing, so unapplied edits stay as they were. After a restore the
// pages read their tables again (the shown one at once, the others when they are shown) and
// a page holding edits asks about them then, as for any fresh table.
class ConfigTransfer : public QObject {
    Q_OBJECT
public:
    ConfigTransfer(qv::CGlobalData& store, qv::Prompt& prompt, QWidget* window);
    ~ConfigTransfer() override;

    // Asks for the file, reads every part of the appliance, writes the file.
    void backup();
    // Asks for the file and reads it, reads the appliance, shows the preview, writes the tables
    // ticked in it.
    void restore();

    // The dispatcher's first stop: true when `event` was the answer the transfer waits for,
    // which then goes no further. The end of the link ends the transfer and goes on to the
    // window.
    bool takeReply(const qv::LinkEvent& event);
    bool running() const { return m_stage != Stage::Idle; }

Q_SIGNALS:
    // Tables were written: the shown page reads its table again.
    void tablesWritten();
    // Save & Reboot went out and the link is closed: the appliance comes back at host:port.
    void applianceRebooting(const QString& host, quint16 port);

private:
    enum class Stage { Idle, LoadingFile, Backup, RestoreReading, Previewing, Writing };

    // False, having said why, while another transfer runs or there is no link.
    bool mayStart();
    // The backup file was read beside the window; `loading` tells which restore asked for it.
    void fileLoaded(unsigned loading, const std::shared_ptr<qv::backup::ReadResult>& file);
    void startReading(Stage stage);
    // Sends the next request, or ends the reading or the writing when none is left.
    void sendNext();
    // The request m_next was answered (or, for Save & Reboot, sent).
    void stepDone();
    void showProgress();
    void closeProgress();
    void readingDone();
    void writeBackup();
    void showPreview();
    void previewClosed(int result);
    void startWriting(const std::vector<qv::backup::Table>& chosen);
    // The network page's question before Save & Reboot, over the restore's network changes.
    bool networkConfirmed();
    void writingDone();
    void onCancel();
    void linkLost();
    // Ends the transfer, saying `message` (nothing when empty).
    // `success`: the notice reports success (information icon), not a fault.
    void finish(const QString& message, bool success = false);

    qv::CGlobalData& m_store;
    qv::Prompt& m_prompt;
    QWidget* m_window;
    Stage m_stage = Stage::Idle;
    // The requests of the transfer and the next one to be answered; while writing, the table
    // each request writes.
    std::vector<qv::backup::Step> m_steps;
    std::vector<qv::backup::Table> m_stepTables;
    size_t m_next = 0;
    // A reading whose answer is still on its way after Cancel: taken when it comes, so it does
    // not land on a page.
    std::optional<qv::ReplyEvent> m_stray;
    bool m_cancelRequested = false;
    std::unique_ptr<qv::backup::Backup> m_read;     // what the appliance holds
    std::unique_ptr<qv::backup::Backup> m_restored; // the backup being restored
    std::optional<qv::backup::NetworkRestore> m_network;
    qv::backup::RestoreLedger m_ledger;
    // Save & Reboot went out: the appliance comes back where the link reached it.
    bool m_rebooting = false;
    QString m_rebootHost;
    quint16 m_rebootPort = 0;
    QString m_backupPath;
    QString m_folder; // where the last backup was written or read
    // Reads the backup file of a restore, so that a large file never stalls the window.
    std::thread m_fileReader;
    unsigned m_loading =
        0; // counts the restores begun, so a late file is told from the one awaited
    QPointer<TransferProgressDlg> m_progress;
    QPointer<RestorePreviewDlg> m_preview;
};
