#pragma once

#include "core/upload/UploadRules.h"
#include "pages/CPageDlg.h"
#include "pages/upload/UploadSender.h"
#include "res/StringIds.h"

#include <QElapsedTimer>

#include <vector>

class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QVBoxLayout;

// What the three upload pages share: a path field with Browse, an Upload button, and while a
// file goes out a progress bar with the rate and a Cancel. The appliance's answer is shown by
// the dispatcher; the page reports an upload that did not reach it.
class CUploadPageDlg : public CPageDlg {
    Q_OBJECT
public:
    // Controls of the send under way, the same on every upload page.
    enum SendControlId : int {
        kProgress = 1300,
        kProgressText = 1301,
        kCancel = 1302,
    };
    // The page's own control ids and texts.
    struct Layout {
        qv::upload::Kind kind;
        qv::StringId title;
        int pathId;
        int browseId;
        int uploadId;
        qv::StringId uploadCaption;
        qv::StringId filter;
        qv::StringId help;
        // The title of Browse's file chooser.
        qv::StringId chooserTitle;
    };

    CUploadPageDlg(const Layout& layout, qv::CGlobalData& store, qv::Prompt& prompt,
                   QWidget* parent = nullptr);

    // The appliance answered an upload (or the logo's delete): the upload reached it.
    void uploadAnswered();
    bool sending() const { return m_sender->busy(); }
    qv::upload::Kind kind() const { return m_layout.kind; }

    // Leaving the page, or closing the window, cancels an upload under way once the
    // administrator agrees: other requests would have to wait for it.
    bool confirmLeave() override;
    void linkEnded() override;
    void linkClosing() override { m_sender->cancel(); }

protected:
    // Where a page adds controls of its own, below the Upload button and above the help text.
    QVBoxLayout* extras() { return m_extras; }
    // Buttons that stay disabled while a file goes out, beside Browse and Upload.
    void disableWhileSending(QPushButton* button) { m_idleOnly.push_back(button); }
    // Tab goes through the file, Browse, the upload and its Cancel, then `extraControls`.
    void orderTabs(const std::vector<QWidget*>& extraControls);
    QString path() const;
    // Called after Browse put a new path into the field.
    virtual void fileChosen(const QString&) {}
    // Asked before a chosen file is read and sent; false sends nothing.
    virtual bool confirmUpload(const QString&) { return true; }

private:
    void onBrowse();
    void onUpload();
    void onProgress(qint64 sent, qint64 total);
    void onEnded(UploadSender::Ending ending, qv::StringId refusal);
    void showSending(bool sending);

    Layout m_layout;
    UploadSender* m_sender;
    QLineEdit* m_path;
    QPushButton* m_browse;
    QPushButton* m_upload;
    QProgressBar* m_progress;
    QLabel* m_progressText;
    QPushButton* m_cancel;
    QVBoxLayout* m_extras;
    std::vector<QPushButton*> m_idleOnly;
    QElapsedTimer m_sendClock;
    // The file went out whole and its answer has not come yet; the link ending now means the
    // appliance may not have taken it.
    bool m_awaitingAnswer = false;
    // The answer came before the sending thread's report did.
    bool m_answeredWhileSending = false;
};
