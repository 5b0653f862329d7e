#include "pages/access/CAdminDlg.h"

#include "core/access/AdminRules.h"
#include "link/CGlobalData.h"
#include "link/CodePage.h"
#include "link/Requests.h"
#include "pages/ControlFactory.h"
#include "pages/KeyboardAccess.h"
#include "pages/Prompt.h"
#include "pages/QtText.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using qv::StringId;
namespace controls = qv::controls;

namespace {

// The group and the caution below it keep a readable width on a wide page.
constexpr int kContentWidth = 600;

// A form row: the box under the label that its screen-reader name reads.
void addRow(QFormLayout* form, QLineEdit* edit) {
    auto* label = new QLabel(edit->accessibleName());
    label->setBuddy(edit);
    form->addRow(label, edit);
}

} // namespace

CAdminDlg::CAdminDlg(qv::CGlobalData& store, qv::Prompt& prompt, QWidget* parent)
    : CPageDlg(qv::uiText(StringId::AdminTitle), store, prompt, parent) {
    setupControls();
    connect(m_apply, &QPushButton::clicked, this, &CAdminDlg::onApply);
    dropEnterAndEscape();
}

void CAdminDlg::setupControls() {
    m_newId = controls::lineEdit(kNewId, qv::uiText(StringId::AdminNewId), "newAdminId");
    m_newPassword =
        controls::passwordEdit(kNewPassword, qv::uiText(StringId::AdminNewPassword), "newPassword");
    m_retype = controls::passwordEdit(kRetype, qv::uiText(StringId::AdminRetype), "retypePassword");
    m_apply = controls::button(kApply, qv::uiText(StringId::AdminApply), "apply");

    auto* group = new QGroupBox(qv::uiText(StringId::AdminGroup));
    group->setObjectName(QStringLiteral("credentialsGroup"));
    group->setMaximumWidth(kContentWidth);
    auto* form = new QFormLayout(group);
    for (QLineEdit* edit : {m_newId, m_newPassword, m_retype})
        addRow(form, edit);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_apply);
    form->addRow(buttons);

    auto* caution = new QLabel(qv::uiText(StringId::AdminCaution));
    caution->setObjectName(QStringLiteral("caution"));
    caution->setWordWrap(true);
    caution->setMaximumWidth(kContentWidth);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 24, 24, 24);
    layout->addWidget(group);
    layout->addWidget(caution);
    layout->addStretch();

    controls::setTabOrder(this, {m_newId, m_newPassword, m_retype, m_apply});
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
        prompt().notice(qv::uiText(*verdict.refusal));
        return;
    }
    // Disconnected, nothing goes out and nothing is said; the boxes keep what was typed.
    store().send(qv::request::changeAdmin(verdict.id, verdict.password));
}
