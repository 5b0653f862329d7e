// Every page of the main window and the IO schedule window walked with Tab alone, in both
// languages, logged on to the simulated appliance so that the lists hold rows: Tab reaches
// every enabled control, each has a name a screen reader can announce, and the pages' buttons
// have mnemonics.

#include "pages/KeyboardAccess.h"
#include "app/NavLink.h"
#include "link/Requests.h"
#include "pages/QtText.h"
#include "pages/network/CInfoDlg.h"
#include "tests/app/AppTestSupport.h"
#include "tests/support/RunningSim.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QKeySequence>

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

QString spokenName(QWidget* widget) {
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
    return accessible ? accessible->text(QAccessible::Name).trimmed() : QString();
}

// The controls of `root` an operator can use now.
std::set<QWidget*> usableControls(QWidget* root) {
    std::set<QWidget*> controls;
    for (QWidget* widget : root->findChildren<QWidget*>())
        if ((widget->focusPolicy() & Qt::TabFocus) && !widget->focusProxy() &&
            widget->isVisible() && widget->isEnabled() && widget->window() == root->window())
            controls.insert(widget);
    return controls;
}

TEST(KeyboardAccess, TabReachesEveryControlOfEveryPageAndEachHasAName) {
    for (const bool korean : {false, true}) {
        qvtest::LanguageScope language(korean);
        qv::simtest::RunningSim sim;
        qvtest::Window w(QString::fromStdString(sim.address()));
        ASSERT_TRUE(w.logOnAsAdmin());
        for (const qv::Frame& read :
             {qv::request::readCenterIds(), qv::request::readWol(), qv::request::readBlacklist(),
              qv::request::readBlockIps(), qv::request::readIoList(), qv::request::readSchedule()})
            ASSERT_TRUE(w.store.send(read));
        qvtest::settle(std::chrono::milliseconds(500));
        for (int index = 0; index < kPageCount; ++index) {
            const auto page = static_cast<Page>(index);
            SCOPED_TRACE(testing::Message() << (korean ? "ko" : "en") << " page " << index);
            w.store.PageIndex = index;
            w.window->ShowPage(page);
            QWidget* root = w.window.get();
            if (page == Page::IoSchedule)
                root = w.window->page(page);
            root->activateWindow();
            ASSERT_TRUE(QTest::qWaitForWindowActive(root));
            qvtest::settle();

            const std::set<QWidget*> controls = usableControls(root);
            ASSERT_FALSE(controls.empty());
            QWidget* first = *controls.begin();
            first->setFocus(Qt::TabFocusReason);
            std::set<QWidget*> reached{first};
            for (size_t press = 0; press < 2 * controls.size() + 2; ++press) {
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
                reached.insert(QApplication::focusWidget());
            }
            for (QWidget* control : controls) {
                const std::string which = control->objectName().toStdString() + " (" +
                                          control->metaObject()->className() + ")";
                EXPECT_TRUE(reached.count(control)) << which << " is not reached by Tab";
                EXPECT_FALSE(spokenName(control).isEmpty()) << which << " has no name";
                // The pages' buttons have mnemonics; the links beside them are reached by Tab.
                if (auto* button = qobject_cast<QAbstractButton*>(control);
                    button && w.window->page(page)->isAncestorOf(button)) {
                    EXPECT_FALSE(QKeySequence::mnemonic(button->text()).isEmpty()) << which;
                }
            }
        }
    }
}

void logOn(qvtest::Window& w) {
    ASSERT_TRUE(w.logOnAsAdmin());
    w.window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w.window.get()));
}

// The key Alt takes to the button, 0 when it has none.
int mnemonicKey(const QAbstractButton* button) {
    const QKeySequence keys = QKeySequence::mnemonic(button->text());
    return keys.isEmpty() ? 0 : keys[0].key() & ~Qt::KeyboardModifierMask;
}

// The objectNames Tab reaches on `root` from `names`' first, as many as `names` holds visible
// and enabled. A name listed more than once (an address's fields) is checked by its first.
void expectTabOrder(QWidget* root, const std::vector<const char*>& names) {
    QStringList expected;
    for (const char* name : names) {
        const QWidget* control = root->findChild<QWidget*>(QLatin1String(name));
        if (control->isVisible() && control->isEnabled())
            expected << QLatin1String(name);
    }
    root->findChild<QWidget*>(expected.front())->setFocus(Qt::TabFocusReason);
    QStringList walked{QApplication::focusWidget()->objectName()};
    while (walked.size() < expected.size()) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QWidget* now = QApplication::focusWidget();
        walked << (now->objectName().isEmpty() ? QString::fromLatin1(now->metaObject()->className())
                                               : now->objectName());
    }
    EXPECT_EQ(walked.join(QLatin1Char(' ')).toStdString(),
              expected.join(QLatin1Char(' ')).toStdString());
}

// Every page in both languages: Tab in reading order, the shared actions' keys, no two buttons
// of a page on one key, and captions as written (a literal '&' shown, never a key).
TEST(KeyboardAccess, TabOrderAndKeysPerPageInBothLanguages) {
    const std::pair<Page, std::vector<const char*>> orders[] = {
        {Page::Summary,
         {"deviceName", "softwareVersion", "macAddress", "company", "ddnsHost", "email",
          "maxCenterIds", "maxSchedules", "maxStandby", "scheduleWindow", "backup", "restore"}},
        {Page::CenterIds,
         {"centerIdFind", "centerIdList", "centerId", "centerPassword", "centerName", "centerGroup",
          "superUser", "prohibitFileTransfer", "prohibitLogDeletion", "add", "edit", "del",
          "apply"}},
        {Page::Wol,
         {"wolFind", "wolList", "wolName", "wolMac", "add", "edit", "delete", "exportCsv",
          "importCsv", "apply"}},
        {Page::Network,
         {"octet1",           "octet2",    "octet3",      "octet4",        "octet1",
          "octet2",           "octet3",    "octet4",      "octet1",        "octet2",
          "octet3",           "octet4",    "dhcp",        "linkPort",      "dataPort",
          "configPort",       "webPort",   "upnp",        "saveAndReboot", "macText",
          "macRegistration",  "ddnsId",    "ddnsCheck",   "email",         "company",
          "ddnsRegistration", "ntpServer", "ntpServerReg"}},
        {Page::Update, {"updateStart", "autoUpdate", "firmware"}},
        {Page::Logo, {"uploadPath", "browse", "upload", "cancelUpload", "delete"}},
        {Page::ActiveX, {"uploadPath", "browse", "upload", "cancelUpload"}},
        {Page::WebPage, {"uploadPath", "browse", "upload", "cancelUpload"}},
        {Page::Blacklist,
         {"blacklist", "blacklistFind", "addSelected", "clearAll", "blockListFind", "blockList",
          "addAddress", "add", "editAddress", "edit", "delete", "apply"}},
        {Page::IoSchedule,
         {"exception", "function", "relay", "weekday", "hour", "minute", "add", "edit", "delete",
          "apply", "ioDevices", "refresh", "toExcel", "fromExcel", "countLine", "scheduleFind",
          "schedules", "nextEvents"}},
    };
    const std::map<std::string, int> actionKeys{{"add", Qt::Key_A},    {"edit", Qt::Key_E},
                                                {"delete", Qt::Key_D}, {"del", Qt::Key_D},
                                                {"apply", Qt::Key_P},  {"refresh", Qt::Key_R},
                                                {"backup", Qt::Key_B}, {"restore", Qt::Key_T},
                                                {"browse", Qt::Key_W}, {"upload", Qt::Key_U}};
    for (const bool korean : {false, true}) {
        qvtest::LanguageScope language(korean);
        qv::simtest::RunningSim sim;
        qvtest::Window w(QString::fromStdString(sim.address()));
        logOn(w);
        EXPECT_EQ(w.control<QPushButton>(CQVSettingDlg::kClose)->text(),
                  korean ? QStringLiteral("닫기(&C)") : QStringLiteral("&Close"));
        for (int index = 1; index < kPageCount; ++index) {
            const auto page = static_cast<Page>(index);
            SCOPED_TRACE(testing::Message() << (korean ? "ko" : "en") << " page " << index);
            w.store.PageIndex = index;
            w.window->ShowPage(page);
            QWidget* root = w.window->page(page);
            root->window()->activateWindow();
            ASSERT_TRUE(QTest::qWaitForWindowActive(root->window()));
            qvtest::settle();
            // Every page states its Tab order; none is left to be guessed from the layout.
            EXPECT_TRUE(root->property("qvTabOrderSet").toBool());
            for (const auto& [listed, names] : orders)
                if (listed == page)
                    expectTabOrder(root, names);
            std::map<int, std::string> keysTaken;
            for (QAbstractButton* button : root->findChildren<QAbstractButton*>()) {
                if (button->text().isEmpty()) // a list's corner button
                    continue;
                const std::string name = button->objectName().toStdString();
                const int key = mnemonicKey(button);
                EXPECT_TRUE(key != 0 && key != Qt::Key_Space) << name;
                if (actionKeys.count(name)) {
                    EXPECT_EQ(key, actionKeys.at(name)) << button->text().toStdString();
                }
                EXPECT_EQ(qv::controls::withoutMnemonic(button->text()).trimmed(),
                          button->accessibleName().trimmed());
                EXPECT_TRUE(keysTaken.emplace(key, name).second) << name;
            }
        }
        // The Korean key follows the words, before the dots.
        EXPECT_EQ(
            qv::findControl<QPushButton>(w.window->page(Page::Summary), CInfoDlg::kBackup)->text(),
            korean ? QStringLiteral("백업(&B)...") : QStringLiteral("&Backup..."));
    }
}

TEST(KeyboardAccess, CtrlPageKeysStepThroughThePagesAndTheShownPageIsMarked) {
    qv::simtest::RunningSim sim;
    qvtest::Window w(QString::fromStdString(sim.address()));
    logOn(w);
    w.control<NavLink>(CQVSettingDlg::kLinkIoSchedule)->hide();
    // From the summary: the next page, back, and round to the last link and back again.
    const std::pair<Qt::Key, Page> steps[] = {{Qt::Key_PageDown, Page::Admin},
                                              {Qt::Key_PageUp, Page::Summary},
                                              {Qt::Key_PageUp, Page::Blacklist},
                                              {Qt::Key_PageDown, Page::Summary}};
    for (const auto& [key, page] : steps) {
        QWidget* before = QApplication::focusWidget();
        QTest::keyClick(w.window.get(), key, Qt::ControlModifier);
        EXPECT_EQ(w.currentPage(), w.window->page(page));
        auto* link = qobject_cast<NavLink*>(QApplication::focusWidget());
        ASSERT_TRUE(link && link->isCurrent() && link != before);
        EXPECT_EQ(link->accessibleDescription(), qv::uiText(qv::StringId::LinkShownPage));
        EXPECT_FALSE(qobject_cast<NavLink*>(before) && qobject_cast<NavLink*>(before)->isCurrent());
    }
}

} // namespace
