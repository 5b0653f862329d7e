// Every page of the main window and the IO schedule window walked with Tab alone, in both
// languages, logged on to the simulated appliance so that the lists hold rows: Tab reaches
// every enabled control, each has a name a screen reader can announce, and the pages' buttons
// have mnemonics.

#include "AppTestSupport.h"
#include "Requests.h"
#include "RunningSim.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QKeySequence>

#include <gtest/gtest.h>

#include <set>

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
        w.typeLogon(QStringLiteral("admin"), QStringLiteral("admin"));
        w.clickLogin();
        ASSERT_TRUE(qvtest::waitUntil([&] { return w.store.PageIndex == 1; }));
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

} // namespace
