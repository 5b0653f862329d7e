// The wait for an appliance that reboots: knocks on its port, off the window's thread, until
// it answers after having been seen away.

#include "app/ApplianceReturnWatch.h"
#include "link/SocketIo.h"
#include "pages/QtText.h"
#include "tests/app/AppTestSupport.h"

#include <gtest/gtest.h>

TEST(ReturnWatch, AnswersOnceTheApplianceIsBackAfterBeingSeenAway) {
    qv::SocketHandle listening = qv::listenTcp("127.0.0.1", 0); // a free port, nobody on it
    const int port = qv::localPort(listening);
    qv::closeSocket(listening);
    ApplianceReturnWatch watch;
    QString status;
    int answers = 0;
    QObject::connect(&watch, &ApplianceReturnWatch::statusChanged,
                     [&](const QString& text) { status = text; });
    QObject::connect(&watch, &ApplianceReturnWatch::answered, [&] { ++answers; });
    watch.start(QStringLiteral("127.0.0.1"), static_cast<quint16>(port));
    ASSERT_TRUE(qvtest::waitUntil([&] { return watch.seenAway(); }));
    listening = qv::listenTcp("127.0.0.1", port);
    EXPECT_TRUE(qvtest::waitUntil([&] { return answers == 1; }));
    EXPECT_EQ(
        status,
        qv::uiText(qv::StringId::ReturnAnswered).arg(QStringLiteral("127.0.0.1:%1").arg(port)));
    qvtest::settle(ApplianceReturnWatch::kProbeInterval * 2); // no knock after the answer
    EXPECT_EQ(answers, 1);
    qv::closeSocket(listening);
}
