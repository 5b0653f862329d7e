#include "app/TransferProgressDlg.h"

#include "pages/ControlIds.h"
#include "pages/QtText.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

TransferProgressDlg::TransferProgressDlg(QWidget* parent)
    : QDialog(parent), m_text(new QLabel), m_bar(new QProgressBar) {
    setWindowTitle(qv::uiText(qv::StringId::AppTitle));
    setWindowModality(Qt::ApplicationModal);
    qv::setControlId(this, kDialog);
    qv::setControl(m_text, kText, {});
    qv::setControl(m_bar, kBar, {});
    m_text->setMinimumWidth(360);
    auto* cancel = new QPushButton(qv::uiText(qv::StringId::TransferCancel));
    cancel->setAutoDefault(false);
    qv::setControl(cancel, kCancel, cancel->text());
    connect(cancel, &QPushButton::clicked, this, &TransferProgressDlg::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_text);
    layout->addWidget(m_bar);
    layout->addWidget(cancel, 0, Qt::AlignRight);
}

void TransferProgressDlg::setProgress(const QString& text, int done, int total) {
    m_text->setText(text);
    m_text->setAccessibleName(text);
    m_bar->setRange(0, total);
    m_bar->setValue(done);
}

void TransferProgressDlg::reject() {
    // The owner decides when the dialog goes: a write in flight is awaited first.
    Q_EMIT cancelled();
}
