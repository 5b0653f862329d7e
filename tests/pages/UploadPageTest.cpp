// The three upload pages driven through their controls against an appliance played by hand:
// the refusals that send nothing, the buttons while a file goes out, uploads that end without
// the appliance's answer, and the logo's preview, warning and delete.

#include "link/CGlobalData.h"
#include "link/CMySocket.h"
#include "link/Frame.h"
#include "pages/ControlIds.h"
#include "pages/QtText.h"
#include "pages/upload/CAxDlg.h"
#include "pages/upload/CLogoDlg.h"
#include "pages/upload/CWebDlg.h"
#include "tests/support/PageFixture.h"
#include "tests/support/ScriptedAppliance.h"
#include "tests/support/ScriptedPrompt.h"

#include <QAbstractButton>
#include <QImage>
#include <QLabel>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

using qv::StringId;

namespace {

struct PageCase {
    const char* name;
    int browse, upload;
    std::function<std::unique_ptr<CUploadPageDlg>(qv::CGlobalData&, qv::Prompt&)> make;
};
const PageCase kLogo{"logo", CLogoDlg::kBrowse, CLogoDlg::kUpload,
                     [](auto& s, auto& p) { return std::make_unique<CLogoDlg>(s, p); }};
const PageCase kAx{"activex", CAxDlg::kBrowse, CAxDlg::kUpload,
                   [](auto& s, auto& p) { return std::make_unique<CAxDlg>(s, p); }};
const PageCase kWeb{"web", CWebDlg::kBrowse, CWebDlg::kUpload,
                    [](auto& s, auto& p) { return std::make_unique<CWebDlg>(s, p); }};

class UploadPage : public qvtest::PageFixture<CUploadPageDlg> {
protected:
    void TearDown() override {
        PageFixture::TearDown();
        for (const std::string& file : files)
            std::filesystem::remove(file);
    }
    void open(const PageCase& which) {
        current = which;
        page = which.make(store, prompt);
        page->show();
        ASSERT_TRUE(appliance.connect(store));
    }
    std::string file(const std::string& name, const std::string& bytes) {
        const std::string path = ::testing::TempDir() + std::to_string(::getpid()) + "-" + name;
        std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
        files.push_back(path);
        return path;
    }
    QAbstractButton* button(int id) { return qv::findControl<QAbstractButton>(page.get(), id); }
    void choose(const std::string& path) {
        prompt.openAnswers.push_back(QString::fromStdString(path));
        QTest::mouseClick(button(current.browse), Qt::LeftButton);
    }
    void upload() { QTest::mouseClick(button(current.upload), Qt::LeftButton); }
    bool idleAgain() {
        return QTest::qWaitFor([&] { return button(current.upload)->isEnabled(); }, 10000);
    }
    // One request as it arrived: its header and the raw bytes after it.
    std::pair<qv::FrameHeader, std::string> received(size_t payloadBytes) {
        const std::vector<uint8_t> header = appliance.read(qv::kHeaderSize);
        const std::vector<uint8_t> payload = appliance.read(payloadBytes);
        EXPECT_EQ(header.size(), qv::kHeaderSize);
        return {header.empty() ? qv::FrameHeader{} : qv::decodeHeader(header.data()),
                std::string(payload.begin(), payload.end())};
    }

    PageCase current = kLogo;
    std::vector<std::string> files;
};

TEST_F(UploadPage, RefusedFilesSendNothing) {
    struct Case {
        const PageCase& page;
        uint64_t size; // of the chosen file; -1 for none, -2 for a missing one
        QString message;
    };
    const QString unreadable = qv::uiText(StringId::UploadFileUnreadable);
    for (const Case& c : {
             Case{kLogo, uint64_t(-1), qv::uiText(StringId::SelectFile)},
             Case{kLogo, 614400, qv::uiText(StringId::LogoTooLarge)},
             Case{kLogo, 0, qv::uiText(StringId::LogoFileEmpty)},
             Case{kAx, 131072, qv::uiText(StringId::ActiveXPageTooLarge)},
             Case{kWeb, 16777216, qv::uiText(StringId::ZipTooLarge)},
             Case{kWeb, uint64_t(-2), unreadable},
         }) {
        SCOPED_TRACE(c.message.toStdString());
        open(c.page);
        prompt.clear();
        std::string path = ::testing::TempDir() + "no-such-dir/site.zip";
        if (c.size < uint64_t(-2)) {
            path = file("refused.gif", "GIF");
            std::filesystem::resize_file(path, c.size);
        }
        if (c.size != uint64_t(-1))
            choose(path);
        upload();
        EXPECT_TRUE(idleAgain());
        QTest::qWait(20);
        const QString expected =
            c.message == unreadable ? unreadable.arg(QString::fromStdString(path)) : c.message;
        EXPECT_EQ(prompt.notices(), QStringList{expected});
        EXPECT_FALSE(appliance.hasData(std::chrono::milliseconds(50)));
        page.reset();
        store.link->Close();
    }
}

TEST_F(UploadPage, ButtonsWaitForTheSendAndAnEndedLinkIsAFailure) {
    enum class End { ApplianceCutsIn, Cancel, LinkEndsBeforeAnswer, Answered };
    for (End end : {End::ApplianceCutsIn, End::Cancel, End::LinkEndsBeforeAnswer, End::Answered}) {
        SCOPED_TRACE(static_cast<int>(end));
        open(kWeb);
        prompt.clear();
        appliance.shrinkReceiveBuffer();
        const size_t size =
            end == End::LinkEndsBeforeAnswer || end == End::Answered ? 100000 : 12 * 1024 * 1024;
        choose(file("big.zip", std::string(size, 'b')));
        upload();
        // While the file goes out, nothing else can be started on the page.
        EXPECT_FALSE(button(kWeb.browse)->isEnabled());
        EXPECT_TRUE(button(CUploadPageDlg::kCancel)->isVisible());
        EXPECT_EQ(appliance.read(qv::kHeaderSize + 4096).size(), qv::kHeaderSize + 4096);
        QString expected = qv::uiText(StringId::UploadFailed);
        if (end == End::ApplianceCutsIn) {
            appliance.closeClient();
        } else if (end == End::Cancel) {
            QTest::mouseClick(button(CUploadPageDlg::kCancel), Qt::LeftButton);
            expected = qv::uiText(StringId::UploadCancelled);
        } else {
            EXPECT_EQ(appliance.read(size - 4096).size(), size - 4096);
            ASSERT_TRUE(idleAgain());
            EXPECT_TRUE(prompt.notices().isEmpty());
            if (end == End::Answered)
                page->uploadAnswered();
            page->linkEnded();
        }
        EXPECT_TRUE(idleAgain());
        EXPECT_TRUE(button(kWeb.browse)->isEnabled());
        EXPECT_TRUE(QTest::qWaitFor([&] { return !prompt.notices().isEmpty(); }, 200) ||
                    end == End::Answered);
        EXPECT_EQ(prompt.notices(), end == End::Answered ? QStringList{} : QStringList{expected});
        page.reset();
        store.link->Close();
    }
}

// An empty web page or archive would blank the appliance's page: asked, No first; No sends
// nothing, Yes sends it.
TEST_F(UploadPage, AnEmptyPageOrArchiveAsksFirst) {
    for (const PageCase* which : {&kAx, &kWeb}) {
        SCOPED_TRACE(which->name);
        open(*which);
        prompt.clear();
        const std::string path = file("empty.html", "");
        choose(path);
        prompt.answers = {false};
        upload();
        EXPECT_EQ(
            prompt.questions(),
            QStringList{qv::uiText(StringId::UploadEmptyPage).arg(QString::fromStdString(path))});
        EXPECT_EQ(prompt.shown.back().preselected, qv::DefaultAnswer::No);
        EXPECT_FALSE(appliance.hasData(std::chrono::milliseconds(50)));
        prompt.answers = {true};
        upload();
        EXPECT_TRUE(appliance.hasData(std::chrono::milliseconds(5000)));
        EXPECT_TRUE(idleAgain());
        page.reset();
        store.link->Close();
    }
}

TEST_F(UploadPage, LogoPreviewAndAWarningForBytesThatAreNoLogoImage) {
    open(kLogo);
    const std::string png = ::testing::TempDir() + std::to_string(::getpid()) + "-logo.png";
    files.push_back(png);
    ASSERT_TRUE(QImage(640, 256, QImage::Format_RGB32).save(QString::fromStdString(png)));
    choose(png);
    EXPECT_EQ(qv::findControl<QLabel>(page.get(), CLogoDlg::kPreviewSize)->text(),
              qv::uiText(StringId::LogoPreviewSize).arg(640).arg(256));
    EXPECT_FALSE(qv::findControl<QLabel>(page.get(), CLogoDlg::kPreview)->pixmap().isNull());
    // A PNG would be stored as a GIF logo: the administrator is asked, and No sends nothing.
    prompt.answers.push_back(false);
    upload();
    EXPECT_EQ(prompt.questions(),
              QStringList{qv::uiText(StringId::LogoNotImage).arg(QString::fromStdString(png))});
    EXPECT_FALSE(appliance.hasData(std::chrono::milliseconds(100)));
    // Delete is the header alone, with value 0.
    QTest::mouseClick(button(CLogoDlg::kDelete), Qt::LeftButton);
    const auto [header, payload] = received(0);
    EXPECT_EQ(header.cmd, qv::CMD_SET_LOGO_MSG);
    EXPECT_EQ(header.dwCount, 0);
}

} // namespace
