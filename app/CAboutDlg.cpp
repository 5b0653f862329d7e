#include "app/CAboutDlg.h"

#include "app/ShellTexts.h"
#include "pages/ControlIds.h"
#include "pages/QtText.h"
#include "res/AppIcon.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>

using qv::StringId;

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(qv::uiText(StringId::AboutTitle));
    setupControls();
    setFixedSize(sizeHint());
}

void CAboutDlg::setupControls() {
    auto* icon = new QLabel;
    icon->setPixmap(QPixmap(qv::appIconPath()));
    icon->setAccessibleName(qv::uiText(StringId::AppTitle));
    auto* version = new QLabel(qv::fromUtf8(qv::versionLine(__DATE__)));
    qv::setControl(version, kVersion, version->text());
    auto* purpose = new QLabel(qv::uiText(StringId::AboutPurpose));
    purpose->setAccessibleName(purpose->text());
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
    buttons->button(QDialogButtonBox::Ok)->setAccessibleName(qv::uiText(StringId::AboutOk));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QGridLayout(this);
    layout->setHorizontalSpacing(16);
    layout->addWidget(icon, 0, 0, 2, 1, Qt::AlignTop);
    layout->addWidget(version, 0, 1);
    layout->addWidget(purpose, 1, 1);
    layout->addWidget(buttons, 2, 0, 1, 2);
}
