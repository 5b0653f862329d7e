// The update page through its controls: the Update start button that never stays stuck, Enter that
// starts nothing, the automatic-update box, the firmware update's signal and the versions before
// and after an update.

#include "link/CGlobalData.h"
#include "link/CMySocket.h"
#include "link/Frame.h"
#include "pages/ControlIds.h"
#include "pages/QtText.h"
#include "pages/upload/CUpdateDlg.h"
#include "tests/support/PageFixture.h"
#include "tests/support/ScriptedAppliance.h"
#include "tests/support/ScriptedPrompt.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QLabel>
#include <QTest>

#include <gtest/gtest.h>

using qv::StringId;

namespace {

class UpdatePage : public qvtest::PageFixture<CUpdateDlg> {
protected:
    void SetUp() override { open(); }
    QAbstractButton* start() { return qv::findControl<QAbstractButton>(page.get(), 1032); }
    // The header of the next request the appliance receives.
    qv::FrameHeader nextRequest() {
        const std::vector<uint8_t> header = appliance.read(qv::kHeaderSize);
        return header.empty() ? qv::FrameHeader{} : qv::decodeHeader(header.data());
    }
};

TEST_F(UpdatePage, UpdateStartNeverStaysDisabled) {
    // Without a link nothing is sent and the button stays usable.
    QTest::mouseClick(start(), Qt::LeftButton);
    EXPECT_TRUE(start()->isEnabled());

    ASSERT_TRUE(appliance.connect(store));
    // Enter on the page starts nothing.
    start()->setFocus();
    QTest::keyClick(start(), Qt::Key_Return);
    EXPECT_FALSE(appliance.hasData(std::chrono::milliseconds(100)));

    QTest::mouseClick(start(), Qt::LeftButton);
    EXPECT_EQ(nextRequest().cmd, qv::CMD_SET_UPDATE_MSG);
    EXPECT_FALSE(start()->isEnabled());
    EXPECT_TRUE(page->running());
    EXPECT_FALSE(qv::findControl<QLabel>(page.get(), CUpdateDlg::kElapsed)->text().isEmpty());
    // The link ends mid-run: no report can come, the button is back.
    page->linkEnded();
    EXPECT_TRUE(start()->isEnabled());
    EXPECT_FALSE(page->running());
}

TEST_F(UpdatePage, AutoUpdateBoxAndFirmware) {
    auto* box = qv::findControl<QCheckBox>(page.get(), CUpdateDlg::kAutoUpdate);
    EXPECT_TRUE(box->isVisible());
    for (const auto& [value, checked] : {std::pair{1, true}, {2, false}, {0, false}}) {
        page->setAutoUpdate(value);
        EXPECT_EQ(box->isChecked(), checked) << value;
    }
    ASSERT_TRUE(appliance.connect(store));
    QTest::mouseClick(box, Qt::LeftButton);
    const qv::FrameHeader written = nextRequest();
    EXPECT_EQ(written.cmd, qv::CMD_SET_AUTOUPDATE_MSG);
    EXPECT_EQ(written.dwCount, 1);

    prompt.answers = {false, true};
    for (int i = 0; i < 2; ++i)
        QTest::mouseClick(qv::findControl<QAbstractButton>(page.get(), 1033), Qt::LeftButton);
    EXPECT_EQ(nextRequest().cmd, qv::CMD_SET_FIRMWARE_MSG);
    EXPECT_FALSE(appliance.hasData(std::chrono::milliseconds(50)));
}

TEST_F(UpdatePage, VersionsBeforeAndAfterTheNextLogon) {
    auto* note = qv::findControl<QLabel>(page.get(), CUpdateDlg::kVersionChange);
    page->versionReported(QStringLiteral("4.12 (a)"));
    ASSERT_TRUE(appliance.connect(store));
    QTest::mouseClick(start(), Qt::LeftButton);
    page->applyProgress(8);
    // The summary of the same session says nothing yet; the one after the next logon does.
    page->versionReported(QStringLiteral("4.12 (a)"));
    EXPECT_FALSE(note->isVisible());
    page->linkEnded();
    page->versionReported(QStringLiteral("4.13 (b)"));
    EXPECT_TRUE(note->isVisible());
    EXPECT_EQ(note->text(), qv::uiText(StringId::UpdateVersionChange)
                                .arg(QStringLiteral("4.12 (a)"), QStringLiteral("4.13 (b)")));
}

} // namespace
