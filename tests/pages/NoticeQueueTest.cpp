// Notices one at a time: what arrives while a box is open waits, repeats are counted, and the
// queue stays bounded however much arrives.

#include "pages/NoticeQueue.h"
#include "pages/Prompt.h"

#include <gtest/gtest.h>

#include <QStringList>

#include <functional>
#include <vector>

namespace {

struct Boxes {
    std::vector<QString> shown;   // texts of the boxes, in the order they opened
    std::vector<QString> updates; // texts the open box was changed to
    int open = 0;
    int deepest = 0;
    // Runs while the first box is open, as the box's event loop would deliver more answers.
    std::function<void()> whileFirstOpen;
};

qv::NoticeQueue queueFor(Boxes& boxes) {
    return qv::NoticeQueue(
        [&boxes](const QString& text) {
            boxes.deepest = std::max(boxes.deepest, ++boxes.open);
            boxes.shown.push_back(text);
            if (boxes.shown.size() == 1 && boxes.whileFirstOpen)
                boxes.whileFirstOpen();
            --boxes.open;
        },
        [&boxes](const QString& text) { boxes.updates.push_back(text); });
}

TEST(NoticeQueue, WhatArrivesWhileABoxIsOpenWaitsAndRepeatsAreCounted) {
    const QString a = QStringLiteral("Admin changed"), b = QStringLiteral("DDNS checked"),
                  c = QStringLiteral("Logo uploaded");
    struct Case {
        const char* name;
        std::vector<QString> whileOpen;
        std::vector<QString> expectedBoxes;
        size_t expectedUpdates;
    };
    const std::vector<Case> cases{
        {"nothing else", {}, {a}, 0},
        {"the same text again counts on the open box", {a, a}, {a}, 2},
        {"other texts follow in order", {b, c}, {a, b, c}, 0},
        {"a waiting text's repeats are merged with a count",
         {b, c, b, b},
         {a, qv::NoticeQueue::withCount(b, 3), c},
         0},
    };
    for (const Case& test : cases) {
        Boxes boxes;
        qv::NoticeQueue queue = queueFor(boxes);
        boxes.whileFirstOpen = [&] {
            for (const QString& text : test.whileOpen)
                queue.notice(text);
        };
        queue.notice(a);
        EXPECT_EQ(boxes.shown, test.expectedBoxes) << test.name;
        EXPECT_EQ(boxes.updates.size(), test.expectedUpdates) << test.name;
        EXPECT_EQ(boxes.deepest, 1) << test.name;
        EXPECT_FALSE(queue.showing()) << test.name;
    }
}

TEST(NoticeQueue, AFloodOpensOneBoxAtATimeAndKeepsTheQueueBounded) {
    Boxes boxes;
    qv::NoticeQueue queue = queueFor(boxes);
    size_t mostWaiting = 0;
    boxes.whileFirstOpen = [&] {
        for (int i = 0; i < 3000; ++i) {
            queue.notice(QStringLiteral("Admin changed"));
            queue.notice(QStringLiteral("text %1").arg(i)); // all different
            mostWaiting = std::max(mostWaiting, queue.waiting());
        }
    };
    queue.notice(QStringLiteral("Admin changed"));
    EXPECT_EQ(boxes.deepest, 1);
    EXPECT_EQ(mostWaiting, qv::NoticeQueue::kMaxWaiting);
    ASSERT_EQ(boxes.shown.size(), 1 + qv::NoticeQueue::kMaxWaiting);
    EXPECT_EQ(boxes.updates.back(),
              qv::NoticeQueue::withCount(QStringLiteral("Admin changed"), 3001));
    EXPECT_EQ(boxes.shown.back(), QStringLiteral("text %1").arg(qv::NoticeQueue::kMaxWaiting - 1));
}

// A notice of success keeps its information icon while it waits behind a warning.
TEST(NoticeQueue, EachBoxShowsWithItsOwnIcon) {
    QStringList shown;
    qv::NoticeQueue* self = nullptr;
    qv::NoticeQueue queue(
        [&](const QString& text) {
            shown << text + (self->openIsInformation() ? QStringLiteral(" (i)") : QString());
            if (shown.size() == 1)
                self->notice(QStringLiteral("written"), true), self->notice(QStringLiteral("no"));
        },
        [](const QString&) {});
    self = &queue;
    queue.notice(QStringLiteral("lost"));
    EXPECT_EQ(shown.join(QLatin1Char(',')), QStringLiteral("lost,written (i),no"));
}

TEST(Prompt, NoLineOfABoxBeginsWithABlank) {
    EXPECT_EQ(qv::displayedText(QStringLiteral("server will reboot. \r\n Will you continue?")),
              QStringLiteral("server will reboot.\nWill you continue?"));
    EXPECT_EQ(qv::displayedText(QStringLiteral(" Do not use autoupdate\n\n  (x3)")),
              QStringLiteral("Do not use autoupdate\n\n(x3)"));
}

} // namespace
