// The upload pages whole: the real window logs on to qvsim over loopback, chooses each kind of
// file, uploads it, and qvsim stores exactly the original bytes; the logo's delete removes it.

#include "app/CQVSettingDlg.h"
#include "pages/QtText.h"
#include "pages/upload/CAxDlg.h"
#include "pages/upload/CLogoDlg.h"
#include "pages/upload/CWebDlg.h"
#include "tests/support/WindowOnSim.h"

#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

using qv::StringId;

namespace {

std::string contentsOf(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class UploadEndToEnd : public qvtest::WindowOnSim {};

TEST_F(UploadEndToEnd, StoredFilesEqualTheOriginals) {
    ASSERT_TRUE(sim.started());
    std::mt19937 random(7);
    std::string archive(3 * 1024 * 1024, '\0');
    for (char& byte : archive)
        byte = static_cast<char>(random());
    struct Case {
        int link;
        Page page;
        int browse, upload;
        std::string name, bytes, stored;
        StringId message;
    };
    const std::vector<Case> cases{
        {CQVSettingDlg::kLinkLogo, Page::Logo, CLogoDlg::kBrowse, CLogoDlg::kUpload, "logo.jpeg",
         "\xFF\xD8\xFF\xE0-jpeg-bytes", "logo.jpg", StringId::LogoUploaded},
        {CQVSettingDlg::kLinkActiveX, Page::ActiveX, CAxDlg::kBrowse, CAxDlg::kUpload, "index.html",
         "<html>\r\n<a href=client.exe>\r</a>\r\n</html>", "index.html",
         StringId::ActiveXPageUploaded},
        {CQVSettingDlg::kLinkWebPage, Page::WebPage, CWebDlg::kBrowse, CWebDlg::kUpload, "site.zip",
         archive, "webpage.zip", StringId::HtmlPageUploaded},
    };
    openWindow();
    ASSERT_TRUE(logOn());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = ::testing::TempDir() + "e2e-" + c.name;
        std::ofstream(path, std::ios::binary | std::ios::trunc) << c.bytes;
        follow(c.link);
        prompt.openAnswers.push_back(QString::fromStdString(path));
        click(window->page(c.page), c.browse);
        click(window->page(c.page), c.upload);
        ASSERT_TRUE(QTest::qWaitFor([&] { return noticeShown(qv::uiText(c.message)); }, kWaitMs));
        EXPECT_EQ(contentsOf(simUploadDir() + "/" + c.stored), c.bytes);
        std::filesystem::remove(path);
    }
    follow(CQVSettingDlg::kLinkLogo);
    click(window->page(Page::Logo), CLogoDlg::kDelete);
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return noticeShown(qv::uiText(StringId::LogoDeleted)); }, kWaitMs));
    EXPECT_FALSE(std::filesystem::exists(simUploadDir() + "/logo.jpg"));
    EXPECT_FALSE(noticeShown(qv::uiText(StringId::UploadFailed)));
    std::filesystem::remove_all(simUploadDir());
}

TEST_F(UploadEndToEnd, RebootWaitsForTheUploadInsteadOfFreezingTheWindow) {
    const std::string path = ::testing::TempDir() + "e2e-reboot-site.zip";
    std::ofstream(path, std::ios::binary | std::ios::trunc) << std::string(8 * 1024 * 1024, 'z');
    openWindow();
    ASSERT_TRUE(logOn());
    follow(CQVSettingDlg::kLinkWebPage);
    prompt.openAnswers.push_back(QString::fromStdString(path));
    click(window->page(Page::WebPage), CWebDlg::kBrowse);
    click(window->page(Page::WebPage), CWebDlg::kUpload);
    // The page is busy from the click until the sending thread's report is handled here.
    follow(CQVSettingDlg::kLinkReboot);
    EXPECT_EQ(prompt.notices(), QStringList{qv::uiText(StringId::RebootWhileUploading)});
    EXPECT_TRUE(prompt.questions().isEmpty());
    ASSERT_TRUE(QTest::qWaitFor([&] { return noticeShown(qv::uiText(StringId::HtmlPageUploaded)); },
                                kWaitMs));
    EXPECT_EQ(simLogCount("bytes as webpage.zip"), 1);
    EXPECT_EQ(simLogCount(" reboot ("), 0);
    EXPECT_TRUE(store.isConnected());
    // Once the file is out, Reboot asks and reboots as usual.
    reboot();
    EXPECT_EQ(prompt.questions().size(), 1);
    std::filesystem::remove(path);
    std::filesystem::remove_all(simUploadDir());
}

} // namespace
