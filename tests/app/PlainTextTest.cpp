// Texts that come from the appliance or from a file are shown as they are: markup in them is
// never drawn, whatever it says. Each place that shows such text gets a crafted one.

#include "app/CLogonDlg.h"
#include "pages/ControlIds.h"
#include "pages/Prompt.h"
#include "pages/upload/CUpdateDlg.h"
#include "tests/app/AppTestSupport.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QTimer>

#include <gtest/gtest.h>

namespace qvtest {
namespace {

const QString kMarkup = QStringLiteral(
    "<h1 style='color:red'>OFFICIAL</h1><img src='/usr/share/pixmaps/debian-logo.png'>");

TEST(PlainText, MarkupFromTheApplianceOrAFileIsShownNotDrawn) {
    // Notices and questions quote names, IDs and file contents.
    qv::QtPrompt prompt;
    std::vector<Qt::TextFormat> formats;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            formats.push_back(box->textFormat());
            EXPECT_TRUE(box->text().contains(kMarkup));
            box->done(QMessageBox::No);
        }
    });
    closer.start(10);
    prompt.notice(kMarkup);
    ASSERT_TRUE(waitUntil([&] { return formats.size() == 1; }));
    prompt.question(kMarkup, qv::DefaultAnswer::No);
    EXPECT_EQ(formats, (std::vector<Qt::TextFormat>{Qt::PlainText, Qt::PlainText}));

    // The logon page's status line names the address it was given.
    qv::CGlobalData store;
    CLogonDlg logon(store, prompt);
    logon.showReturnStatus(kMarkup);
    auto* status = qv::findControl<QLabel>(&logon, CLogonDlg::kReturnStatus);
    ASSERT_NE(status, nullptr);
    EXPECT_EQ(status->textFormat(), Qt::PlainText);

    // The update page shows the versions the appliance reports.
    CUpdateDlg update(store, prompt);
    auto* versions = qv::findControl<QLabel>(&update, CUpdateDlg::kVersionChange);
    ASSERT_NE(versions, nullptr);
    EXPECT_EQ(versions->textFormat(), Qt::PlainText);
}

} // namespace
} // namespace qvtest
