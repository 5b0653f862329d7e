#include "CAboutDlg.h"

#include "AppIcon.h"
#include "ControlIds.h"
#include "QtText.h"
#include "ShellTexts.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(qv::uiText(qv::StringId::AboutTitle));
    auto* icon = new QLabel;
    icon->setPixmap(QPixmap(qv::appIconPath()));
    icon->setAccessibleName(QStringLiteral("QVSetting"));
    auto* version = new QLabel(qv::fromUtf8(qv::versionLine(__DATE__)));
    qv::setControl(version, 1073, version->text());
    auto* purpose =
        new QLabel(QStringLiteral("Administration client of the Quorvel MY relay appliance"));
    purpose->setAccessibleName(purpose->text());
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
    buttons->button(QDialogButtonBox::Ok)->setAccessibleName(QStringLiteral("OK"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QGridLayout(this);
    layout->setHorizontalSpacing(16);
    layout->addWidget(icon, 0, 0, 2, 1, Qt::AlignTop);
    layout->addWidget(version, 0, 1);
    layout->addWidget(purpose, 1, 1);
    layout->addWidget(buttons, 2, 0, 1, 2);
    setFixedSize(sizeHint());
}
