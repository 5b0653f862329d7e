#include "pages/upload/CLogoDlg.h"

#include "link/CGlobalData.h"
#include "link/Requests.h"
#include "pages/ControlFactory.h"
#include "pages/ControlIds.h"
#include "pages/Prompt.h"
#include "pages/QtText.h"

#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QImageReader>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

using qv::StringId;

CLogoDlg::CLogoDlg(qv::CGlobalData& store, qv::Prompt& prompt, QWidget* parent)
    : CUploadPageDlg({qv::upload::Kind::Logo, StringId::LogoTitle, kPath, kBrowse, kUpload,
                      StringId::LogoUploadButton, StringId::LogoFilter, StringId::LogoHelp,
                      StringId::ChooseLogoTitle},
                     store, prompt, parent) {
    m_delete = qv::controls::button(kDelete, qv::uiText(StringId::LogoDeleteButton), "delete");
    disableWhileSending(m_delete);
    m_preview = new QLabel;
    qv::setControl(m_preview, kPreview, qv::uiText(StringId::LogoPreviewCaption));
    m_preview->setFixedSize(kPreviewWidth, kPreviewHeight);
    m_preview->setAlignment(Qt::AlignCenter);
    m_preview->setFrameShape(QFrame::StyledPanel);
    m_previewSize = new QLabel;
    qv::setControl(m_previewSize, kPreviewSize, qv::uiText(StringId::LogoPreviewCaption));
    m_previewSize->setWordWrap(true);

    auto* previewBox = new QGroupBox(qv::uiText(StringId::LogoPreviewCaption));
    auto* previewRow = new QHBoxLayout(previewBox);
    previewRow->addWidget(m_preview);
    previewRow->addWidget(m_previewSize, 1);
    extras()->addWidget(m_delete, 0, Qt::AlignLeft);
    extras()->addWidget(previewBox);
    orderTabs({m_delete});
    connect(m_delete, &QPushButton::clicked, this, &CLogoDlg::onDelete);
    dropEnterAndEscape();
}

void CLogoDlg::fileChosen(const QString& file) {
    // Only the image's header is read for its size; the scaled picture decodes the file once.
    QImageReader reader(file);
    const QSize size = reader.size();
    reader.setScaledSize(size.scaled(kPreviewWidth, kPreviewHeight, Qt::KeepAspectRatio));
    const QImage image = size.isValid() ? reader.read() : QImage();
    if (image.isNull()) {
        m_preview->clear();
        m_previewSize->setText(qv::uiText(StringId::LogoPreviewNone));
        return;
    }
    m_preview->setPixmap(QPixmap::fromImage(image));
    m_previewSize->setText(
        qv::uiText(StringId::LogoPreviewSize).arg(size.width()).arg(size.height()));
}

bool CLogoDlg::confirmUpload(const QString& file) {
    // Only the first bytes: a file the upload refuses anyway (unreadable, too large) is reported
    // by the upload without a question first.
    QFile in(QDir::fromNativeSeparators(file));
    if (in.size() > static_cast<qint64>(qv::upload::kLogoMaxBytes) || !in.open(QIODevice::ReadOnly))
        return true;
    const QByteArray head = in.read(qv::upload::kImageSignatureBytes);
    if (head.isEmpty() ||
        qv::upload::looksLikeLogoImage(std::span(reinterpret_cast<const uint8_t*>(head.constData()),
                                                 static_cast<size_t>(head.size()))))
        return true;
    return prompt().question(qv::uiText(StringId::LogoNotImage).arg(file), qv::DefaultAnswer::No);
}

void CLogoDlg::onDelete() {
    // Without a link the button does nothing and says nothing, like every request.
    if (store().isConnected())
        store().send(qv::request::deleteLogo());
}
