#include "access/CAdminDlg.h"

#include "CGlobalData.h"
#include "CodePage.h"
#include "ControlIds.h"
#include "Prompt.h"
#include "QtText.h"
#include "Requests.h"
#include "StringTable.h"
#include "access/AdminRules.h"

#include <QEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QString pick(const char* english, const char* korean) {
    return QString::fromUtf8(qv::systemLanguage() == qv::Language::Korean ? korean : english);
}

QLineEdit* addRow(QFormLayout* form, int id, const QString& caption, const char* name,
                  bool password) {
    auto* edit = new QLineEdit;
    qv::setControl(edit, id, caption);
    edit->setObjectName(QString::fromLatin1(name));
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
    group->setObjectName(QStringLiteral("credentialsGroup"));
    auto* form = new QFormLayout(group);
    m_newId = addRow(form, 1012, pick("New Admin ID", "새 관리자 아이디"), "newAdminId", false);
    m_newPassword = addRow(form, 1013, pick("New Password", "새 비밀번호"), "newPassword", true);
    m_retype =
        addRow(form, 1014, pick("Retype New Password", "새 비밀번호 확인"), "retypePassword", true);

    const QString applyCaption = pick("Apply", "변  경");
    m_apply = new QPushButton(applyCaption);
    qv::setControl(m_apply, 1011, applyCaption);
    m_apply->setObjectName(QStringLiteral("apply"));
    m_apply->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_apply);
    form->addRow(buttons);

    auto* caution = new QLabel(
        pick("# Caution: If you leave ID and Password as default value, it will cause security "
             "problems.\nPlease be sure to change the ID and password.",
             "# 주의: ID와 비번을 초기값으로 방치할 경우 보안 위험을 초래할 수 있으므로 "
             "변경하십시오."));
    caution->setObjectName(QStringLiteral("caution"));
    caution->setWordWrap(true);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 24, 24, 24);
    group->setMaximumWidth(600);
    caution->setMaximumWidth(600);
    layout->addWidget(group);
    layout->addWidget(caution);
    layout->addStretch();

    connect(m_apply, &QPushButton::clicked, this, &CAdminDlg::onApply);
    dropEnterAndEscape();
}

void CAdminDlg::clearEdits() {
    m_newId->clear();
    m_newPassword->clear();
    m_retype->clear();
}

void CAdminDlg::onApply() {
    const qv::admin::Verdict verdict =
        qv::admin::checkChange(qv::toUtf8(m_newId->text()), qv::toUtf8(m_newPassword->text()),
                               qv::toUtf8(m_retype->text()), qv::systemCodePage());
    if (!verdict.ok()) {
        prompt().notice(verdict.stringId != 0 ? qv::uiText(verdict.stringId)
                                              : qv::fromUtf8(verdict.fixedText));
        return;
    }
    // Disconnected, nothing goes out and nothing is said; the boxes keep what was typed.
    store().send(qv::request::changeAdmin(verdict.id, verdict.password));
}
