#pragma once

// The fixture of the end-to-end tests: the real window on qvsim in this process, on a free
// loopback port, driven through its controls the way an administrator would.

#include "app/CLogonDlg.h"
#include "app/CQVSettingDlg.h"
#include "link/CGlobalData.h"
#include "pages/ControlIds.h"
#include "pages/QtText.h"
#include "sim/SimState.h"
#include "tests/support/RunningSim.h"
#include "tests/support/ScriptedPrompt.h"
#include "tests/support/Typing.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace qvtest {

class WindowOnSim : public ::testing::Test {
protected:
    static constexpr int kWaitMs = 10000;

    // The seeded demonstration appliance, or the state a test gives it (a large plant, say).
    explicit WindowOnSim(std::unique_ptr<qv::sim::SimState> state = qv::sim::seededState())
        : sim(simOptions(), std::move(state)) {}
    // On a simulator with options and a state of the test's own.
    WindowOnSim(qv::sim::ServerOptions options, std::unique_ptr<qv::sim::SimState> state)
        : sim(std::move(options), std::move(state)) {}

    // The seeded appliance keeps a Korean center ID name in code page 949; the window reads it
    // in that code page whatever the machine's language.
    void SetUp() override { qputenv("QVSETTING_CODEPAGE", "949"); }
    void TearDown() override {
        window.reset();
        qunsetenv("QVSETTING_CODEPAGE");
    }

    QString simAddress() const { return QString::fromStdString(sim.address()); }
    qv::sim::SimState simState() { return sim.server().snapshot(); }
    // How many lines of qvsim's request log contain `what`.
    int simLogCount(const std::string& what) {
        int n = 0;
        for (const std::string& line : sim.log())
            if (line.find(what) != std::string::npos)
                ++n;
        return n;
    }

    template <class T> T* in(QWidget* root, int id) {
        T* widget = qv::findControl<T>(root, id);
        EXPECT_NE(widget, nullptr) << "control " << id;
        return widget;
    }
    void type(QWidget* root, int id, const QString& text) {
        QLineEdit* field = in<QLineEdit>(root, id);
        field->selectAll();
        QTest::keyClick(field, Qt::Key_Delete);
        typeInto(field, text);
    }
    void click(QWidget* root, int id) {
        QTest::mouseClick(in<QAbstractButton>(root, id), Qt::LeftButton);
    }
    // Follows a navigation link of the main window.
    void follow(int linkId) { click(window.get(), linkId); }
    bool noticeShown(const QString& text) { return prompt.notices().contains(text); }

    // Opens the window with qvsim's address in the address box and waits for the logon page.
    void openWindow() {
        window = std::make_unique<CQVSettingDlg>(store, prompt, simAddress());
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        ASSERT_TRUE(QTest::qWaitFor([&] { return window->logonPage()->isVisible(); }, kWaitMs));
    }
    // Types `id` and `password` into the logon page and logs on: true when the summary page
    // comes, false when the appliance refuses. Tries again while the appliance is still
    // rebooting (its connections are refused then).
    bool logOn(const QString& id = QStringLiteral("admin"),
               const QString& password = QStringLiteral("admin")) {
        CLogonDlg* logon = window->logonPage();
        const QString refusal = qv::uiText(qv::StringId::LogonRefused);
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < kWaitMs) {
            const auto refusals = prompt.notices().count(refusal);
            QLineEdit* idBox = in<QLineEdit>(logon, 1001);
            QLineEdit* passwordBox = in<QLineEdit>(logon, 1002);
            idBox->clear();
            passwordBox->clear();
            typeInto(idBox, id);
            typeInto(passwordBox, password);
            click(logon, 1003);
            if (QTest::qWaitFor(
                    [&] {
                        return store.PageIndex == 1 || prompt.notices().count(refusal) > refusals;
                    },
                    2000))
                return store.PageIndex == 1;
        }
        return false;
    }
    // Ends the link by rebooting the appliance; the logon page comes back.
    void reboot() {
        prompt.answers.push_back(true); // "Are you sure to reboot?"
        follow(1008);
        ASSERT_TRUE(
            QTest::qWaitFor([&] { return store.PageIndex == 0 && !store.isConnected(); }, kWaitMs));
    }

    // Where qvsim keeps the files uploaded to it, one folder per test process.
    static std::string simUploadDir() {
        return ::testing::TempDir() + "qvsim-uploads-" +
               std::to_string(QCoreApplication::applicationPid());
    }
    static qv::sim::ServerOptions simOptions() {
        qv::sim::ServerOptions options;
        options.uploadDir = simUploadDir();
        return options;
    }

    qv::simtest::RunningSim sim{simOptions()};
    qv::CGlobalData store;
    ScriptedPrompt prompt;
    std::unique_ptr<CQVSettingDlg> window;
};

} // namespace qvtest
