#include "CAdminDlg.h"

#include "ControlIds.h"
#include "StringTable.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace {

QString pick(const char* english, const char* korean) {
    return QString::fromUtf8(qv::systemLanguage() == qv::Language::Korean ? korean : english);
}

QLineEdit* addRow(QFormLayout* form, int id, const QString& caption, bool password) {
    auto* edit = new QLineEdit;
    qv::setControl(edit, id, caption);
    if (password)
        edit->setEchoMode(QLineEdit::Password);
    auto* label = new QLabel(caption);
    label->setBuddy(edit);
    form->addRow(label, edit);
    return edit;
}

} // namespace

CAdminDlg::CAdminDlg(qv::CGlobalData& store, qv::Prompt& prompt, QWidget* parent)
    : CPageDlg(QStringLiteral("Change Admin Password"), store, prompt, parent) {
    auto* group =
        new QGroupBox(pick("Change Administrator ID and Password", "관리자 ID 및 Password 변경"));
    auto* form = new QFormLayout(group);
    m_newId = addRow(form, 1012, pick("New Admin ID", "새 관리자 아이디"), false);
    m_newPassword = addRow(form, 1013, pick("New Password", "새 비밀번호"), true);
    m_retype = addRow(form, 1014, pick("Retype New Password", "새 비밀번호 확인"), true);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 24, 24, 24);
    layout->addWidget(group);
    layout->addStretch();
}

void CAdminDlg::clearEdits() {
    m_newId->clear();
    m_newPassword->clear();
    m_retype->clear();
}
