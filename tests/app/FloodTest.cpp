// An appliance that answers the same thing thousands of times: the window shows one notice box
// at a time, keeps answering, and ends with no box open.

#include "link/Commands.h"
#include "link/LinkEvent.h"
#include "pages/Prompt.h"
#include "tests/app/AppTestSupport.h"

#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include <gtest/gtest.h>

namespace qvtest {
namespace {

int openNoticeBoxes() {
    int open = 0;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (qobject_cast<QMessageBox*>(widget) && widget->isVisible())
            ++open;
    return open;
}

TEST(Flood, ThreeThousandAnswersShowOneBoxAtATime) {
    qv::CGlobalData store;
    qv::QtPrompt prompt;
    CQVSettingDlg window(store, prompt);
    prompt.setParent(&window);
    window.show();

    constexpr int kAnswers = 3000;
    // The receive thread posts them all at once, as a flooding appliance makes it do.
    for (int i = 0; i < kAnswers; ++i)
        window.eventSink().post(
            qv::LinkEvent{qv::ReplyEvent::AdminChangeAnswered, qv::result::kSuccess, {}});

    int mostOpen = 0;
    int ticks = 0;
    QTimer watcher;
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        mostOpen = std::max(mostOpen, openNoticeBoxes());
        // The operator reads the box once the window has taken every answer, and closes it.
        if (++ticks > 20)
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
                box->accept();
    });
    watcher.start(10);
    ASSERT_TRUE(waitUntil([&] { return ticks > 25 && openNoticeBoxes() == 0; }));
    EXPECT_EQ(mostOpen, 1);
}

} // namespace
} // namespace qvtest
