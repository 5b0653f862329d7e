#include "app/RestorePreviewDlg.h"

#include "core/backup/RestorePreview.h"
#include "pages/ControlIds.h"
#include "pages/QtText.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

namespace bk = qv::backup;
using qv::StringId;

RestorePreviewDlg::RestorePreviewDlg(const std::vector<bk::TableChoice>& choices,
                                     const QString& heading, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(qv::uiText(StringId::RestorePreviewTitle));
    auto* tables = new QWidget;
    auto* list = new QVBoxLayout(tables);
    for (const bk::TableChoice& choice : choices) {
        const int place = static_cast<int>(choice.table);
        auto* box = new QCheckBox(qv::fromUtf8(bk::tableTitle(choice.table)));
        qv::setControl(box, kFirstTable + place, box->text());
        const bool offered = choice.differs && !choice.refusal;
        box->setEnabled(offered);
        box->setChecked(offered && choice.table != bk::Table::Network);
        std::vector<std::string> lines = choice.lines;
        if (choice.refusal)
            lines.push_back(
                qv::format({StringId::RestoreTableRefused, {qv::format(*choice.refusal)}}));
        // The lines quote the file's own texts: names, IDs, notes.
        auto* details = new QLabel(qv::linesText(lines));
        details->setTextFormat(Qt::PlainText);
        details->setWordWrap(true);
        details->setTextInteractionFlags(Qt::TextSelectableByMouse);
        details->setIndent(20);
        qv::setControl(details, kFirstDetails + place, details->text());
        list->addWidget(box);
        list->addWidget(details);
        m_boxes[choice.table] = box;
    }
    list->addStretch();
    auto* scroll = new QScrollArea;
    scroll->setWidget(tables);
    scroll->setWidgetResizable(true);
    scroll->setMinimumSize(620, 420);

    auto* buttons = new QDialogButtonBox;
    QPushButton* ok =
        buttons->addButton(qv::uiText(StringId::TransferOk), QDialogButtonBox::AcceptRole);
    QPushButton* cancel =
        buttons->addButton(qv::uiText(StringId::TransferCancel), QDialogButtonBox::RejectRole);
    qv::setControl(ok, kOk, ok->text());
    qv::setControl(cancel, kCancel, cancel->text());
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    auto* top =
        new QLabel(heading + QStringLiteral("\n") + qv::uiText(StringId::RestoreChooseTables));
    // The heading names the appliance as the file says, and a file can say anything.
    top->setTextFormat(Qt::PlainText);
    top->setWordWrap(true);
    layout->addWidget(top);
    layout->addWidget(scroll, 1);
    layout->addWidget(buttons);
}

std::vector<bk::Table> RestorePreviewDlg::chosen() const {
    std::vector<bk::Table> tables;
    for (const auto& [table, box] : m_boxes)
        if (box->isChecked())
            tables.push_back(table);
    return tables;
}
