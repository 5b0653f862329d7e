#pragma once

#include "app/CLogonDlg.h"
#include "app/CQVSettingDlg.h"
#include "app/ServerEvent.h"
#include "link/CGlobalData.h"
#include "pages/ControlIds.h"
#include "pages/network/CInfoDlg.h"
#include "tests/support/ScriptedAppliance.h"
#include "tests/support/ScriptedPrompt.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTest>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <thread>

namespace qvtest {

// Runs the event loop until `done` holds or `timeout` passes; true when it held.
inline bool waitUntil(const std::function<bool()>& done,
                      std::chrono::milliseconds timeout = std::chrono::milliseconds(10000)) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

// Runs the event loop until the appliance has received at least `count` requests.
// The window's summary page, reached through its page id as the window knows it.
inline CInfoDlg* summaryPage(CQVSettingDlg& window) {
    return static_cast<CInfoDlg*>(window.page(Page::Summary));
}

inline bool waitForRequests(const ScriptedAppliance& appliance, size_t count) {
    return waitUntil([&] { return appliance.requests().size() >= count; });
}

// Runs the event loop for `span` (for checking that something does not happen).
inline void settle(std::chrono::milliseconds span = std::chrono::milliseconds(150)) {
    waitUntil([] { return false; }, span);
}

// Sets the user-interface language for the lifetime of the scope.
class LanguageScope {
public:
    explicit LanguageScope(bool korean) {
        save("LC_ALL", m_lcAll);
        save("LANG", m_lang);
        setenv("LC_ALL", korean ? "ko_KR.UTF-8" : "en_US.UTF-8", 1);
        setenv("LANG", korean ? "ko_KR.UTF-8" : "en_US.UTF-8", 1);
    }
    ~LanguageScope() {
        restore("LC_ALL", m_lcAll);
        restore("LANG", m_lang);
    }

private:
    static void save(const char* name, std::optional<std::string>& into) {
        if (const char* v = std::getenv(name))
            into = v;
    }
    static void restore(const char* name, const std::optional<std::string>& value) {
        if (value)
            setenv(name, value->c_str(), 1);
        else
            unsetenv(name);
    }
    std::optional<std::string> m_lcAll;
    std::optional<std::string> m_lang;
};

// The main window on a store of its own with a scripted message service, shown offscreen and
// past its start-up placement.
struct Window {
    explicit Window(const QString& address = {}) {
        window = std::make_unique<CQVSettingDlg>(store, prompt, address);
        window->show();
        waitUntil([&] { return currentPage() == window->page(Page::Logon); });
        // The keyboard focus arrives with the activation, after the first show.
        waitUntil([&] { return window->isActiveWindow(); });
    }
    ~Window() { window.reset(); }

    template <class T> T* control(int id) { return qv::findControl<T>(window.get(), id); }
    template <class T> T* pageControl(Page page, int id) {
        return qv::findControl<T>(window->page(page), id);
    }
    QWidget* currentPage() {
        auto* frame = qv::findControl<QWidget>(window.get(), 1069);
        auto* stack = frame ? frame->findChild<QStackedWidget*>() : nullptr;
        return stack ? stack->currentWidget() : nullptr;
    }
    void clickLink(int id) { QTest::mouseClick(control<QPushButton>(id), Qt::LeftButton); }
    void typeLogon(const QString& id, const QString& password) {
        pageControl<QLineEdit>(Page::Logon, CLogonDlg::kAdminId)->setText(id);
        pageControl<QLineEdit>(Page::Logon, CLogonDlg::kPassword)->setText(password);
    }
    // Logs on as the appliance's administrator and waits for the summary; false when it is not
    // reached.
    bool logOnAsAdmin() {
        typeLogon(QStringLiteral("admin"), QStringLiteral("admin"));
        clickLogin();
        return waitUntil([&] { return store.PageIndex == 1; });
    }
    void clickLogin() {
        QTest::mouseClick(pageControl<QPushButton>(Page::Logon, CLogonDlg::kLogin), Qt::LeftButton);
    }
    // Delivers an event as the receive thread would and lets the window handle it.
    void post(int code, int32_t value, std::vector<uint8_t> payload = {}) {
        window->eventSink().post(
            qv::LinkEvent{static_cast<qv::ReplyEvent>(code), value, std::move(payload)});
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
    }

    qv::CGlobalData store;
    ScriptedPrompt prompt;
    std::unique_ptr<CQVSettingDlg> window;
};

} // namespace qvtest
