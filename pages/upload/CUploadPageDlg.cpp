#include "pages/upload/CUploadPageDlg.h"

#include "link/CGlobalData.h"
#include "pages/ControlFactory.h"
#include "pages/ControlIds.h"
#include "pages/KeyboardAccess.h"
#include "pages/Prompt.h"
#include "pages/QtText.h"

#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

using qv::StringId;
namespace make = qv::controls;

CUploadPageDlg::CUploadPageDlg(const Layout& layout, qv::CGlobalData& store, qv::Prompt& prompt,
                               QWidget* parent)
    : CPageDlg(qv::uiText(layout.title), store, prompt, parent), m_layout(layout),
      m_sender(new UploadSender(store, this)) {
    m_path = make::lineEdit(layout.pathId, qv::uiText(layout.uploadCaption), "uploadPath");
    m_path->setReadOnly(true);
    m_browse = make::button(layout.browseId, qv::uiText(StringId::UploadBrowse), "browse");
    m_upload = make::button(layout.uploadId, qv::uiText(layout.uploadCaption), "upload");
    m_progress = new QProgressBar;
    qv::setControl(m_progress, kProgress, qv::uiText(layout.uploadCaption));
    m_progressText = new QLabel;
    qv::setControl(m_progressText, kProgressText, qv::uiText(layout.uploadCaption));
    m_cancel = make::button(kCancel, qv::uiText(StringId::UploadCancel), "cancelUpload");

    auto* pathRow = new QHBoxLayout;
    pathRow->addWidget(m_path, 1);
    pathRow->addWidget(m_browse);
    auto* progressRow = new QHBoxLayout;
    progressRow->addWidget(m_progress, 1);
    progressRow->addWidget(m_cancel);
    m_extras = new QVBoxLayout;
    auto* help = new QLabel(qv::uiText(layout.help));
    help->setObjectName(QStringLiteral("uploadHelp"));
    help->setWordWrap(true);

    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(24, 16, 24, 16);
    page->addLayout(pathRow);
    page->addWidget(m_upload, 0, Qt::AlignLeft);
    page->addLayout(progressRow);
    page->addWidget(m_progressText);
    page->addLayout(m_extras);
    page->addWidget(help);
    page->addStretch();
    showSending(false);
    orderTabs({});

    connect(m_browse, &QPushButton::clicked, this, &CUploadPageDlg::onBrowse);
    connect(m_upload, &QPushButton::clicked, this, &CUploadPageDlg::onUpload);
    connect(m_cancel, &QPushButton::clicked, m_sender, &UploadSender::cancel);
    connect(m_sender, &UploadSender::progressed, this, &CUploadPageDlg::onProgress);
    connect(m_sender, &UploadSender::ended, this, &CUploadPageDlg::onEnded);
}

void CUploadPageDlg::orderTabs(const std::vector<QWidget*>& extraControls) {
    std::vector<QWidget*> order{m_path, m_browse, m_upload, m_cancel};
    order.insert(order.end(), extraControls.begin(), extraControls.end());
    make::setTabOrder(this, order);
}

QString CUploadPageDlg::path() const {
    return m_path->text();
}

void CUploadPageDlg::onBrowse() {
    const std::optional<QString> chosen = prompt().openFileName(
        qv::qtFileFilter(qv::uiText(m_layout.filter)), qv::uiText(m_layout.chooserTitle));
    if (!chosen)
        return;
    m_path->setText(QDir::toNativeSeparators(*chosen));
    fileChosen(*chosen);
}

void CUploadPageDlg::onUpload() {
    if (m_sender->busy())
        return;
    const QString file = path();
    if (file.isEmpty()) {
        prompt().notice(qv::uiText(StringId::SelectFile));
        return;
    }
    if (!confirmUpload(file))
        return;
    // An empty page or archive is sent as it is and leaves the appliance's web page blank.
    if (const QFileInfo info(QDir::fromNativeSeparators(file));
        m_layout.kind != qv::upload::Kind::Logo && info.isFile() && info.size() == 0 &&
        !prompt().question(qv::uiText(StringId::UploadEmptyPage).arg(file), qv::DefaultAnswer::No))
        return;
    m_answeredWhileSending = false;
    m_sendClock.start();
    showSending(true);
    m_sender->start(m_layout.kind, QDir::fromNativeSeparators(file));
}

void CUploadPageDlg::onProgress(qint64 sent, qint64 total) {
    m_progress->setRange(0, static_cast<int>(total));
    m_progress->setValue(static_cast<int>(sent));
    const double seconds = std::max<qint64>(m_sendClock.elapsed(), 1) / 1000.0;
    const double kilobytesPerSecond = static_cast<double>(sent) / 1024.0 / seconds;
    m_progressText->setText(qv::uiText(StringId::UploadProgress)
                                .arg(sent)
                                .arg(total)
                                .arg(kilobytesPerSecond, 0, 'f', 0));
}

void CUploadPageDlg::onEnded(UploadSender::Ending ending, qv::StringId refusal) {
    showSending(false);
    using Ending = UploadSender::Ending;
    switch (ending) {
    case Ending::Sent:
        // The link may have ended between the last byte and this report; then no answer comes.
        if (m_answeredWhileSending)
            break;
        if (store().isConnected())
            m_awaitingAnswer = true;
        else
            prompt().notice(qv::uiText(StringId::UploadFailed));
        break;
    case Ending::Refused:
        prompt().notice(refusal == StringId::UploadFileUnreadable ? qv::uiText(refusal).arg(path())
                                                                  : qv::uiText(refusal));
        break;
    case Ending::LinkLost:
        prompt().notice(qv::uiText(StringId::UploadFailed));
        break;
    case Ending::Cancelled:
        prompt().notice(qv::uiText(StringId::UploadCancelled));
        break;
    case Ending::NotConnected:
        break;
    }
}

void CUploadPageDlg::uploadAnswered() {
    m_awaitingAnswer = false;
    if (m_sender->busy())
        m_answeredWhileSending = true;
}

void CUploadPageDlg::linkEnded() {
    // While the file is still going out, the sending thread reports the loss itself.
    if (!m_awaitingAnswer)
        return;
    m_awaitingAnswer = false;
    prompt().notice(qv::uiText(StringId::UploadFailed));
}

bool CUploadPageDlg::confirmLeave() {
    if (!m_sender->busy())
        return true;
    if (!prompt().question(qv::uiText(StringId::UploadLeaveQuestion), qv::DefaultAnswer::No))
        return false;
    m_sender->cancel();
    return true;
}

void CUploadPageDlg::showSending(bool sending) {
    m_progress->setVisible(sending);
    m_progressText->setVisible(sending);
    m_cancel->setVisible(sending);
    if (sending) {
        m_progress->setRange(0, 0);
        m_progressText->clear();
    }
    m_browse->setEnabled(!sending);
    m_upload->setEnabled(!sending);
    for (QPushButton* button : m_idleOnly)
        button->setEnabled(!sending);
}
