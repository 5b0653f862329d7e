#pragma once

// What every page test needs: a store, the scripted prompt, the page on screen (offscreen), an
// appliance played by hand for the requests the page sends, and the operator's hands: find a
// control by its id, type, click, tick, and read the last notice and the unapplied marker.

#include "link/CGlobalData.h"
#include "link/CMySocket.h"
#include "pages/ControlIds.h"
#include "tests/support/ScriptedAppliance.h"
#include "tests/support/ScriptedPrompt.h"
#include "tests/support/Typing.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <memory>
#include <vector>

namespace qvtest {

template <class Page> class PageFixture : public ::testing::Test {
protected:
    void TearDown() override {
        page.reset();
        if (store.link)
            store.link->Close();
    }

    // Builds the page over the store and shows it, at `width` x `height` when given.
    void open(int width = 0, int height = 0) {
        page = std::make_unique<Page>(store, prompt);
        if (width > 0 && height > 0)
            page->resize(width, height);
        page->show();
    }

    template <class T> T* control(int id) {
        T* widget = qv::findControl<T>(page.get(), id);
        EXPECT_NE(widget, nullptr) << "control " << id;
        return widget;
    }
    QLineEdit* edit(int id) { return control<QLineEdit>(id); }
    // Replaces the field's text by typing, as an operator would.
    void type(int id, const QString& text) {
        QLineEdit* field = edit(id);
        field->selectAll();
        QTest::keyClick(field, Qt::Key_Delete);
        typeInto(field, text);
    }
    void click(int id) { QTest::mouseClick(control<QAbstractButton>(id), Qt::LeftButton); }
    // Clicks a check box until it shows `on`.
    void tick(int id, bool on) {
        if (control<QAbstractButton>(id)->isChecked() != on)
            click(id);
    }
    QString lastNotice() const {
        return prompt.notices().isEmpty() ? QString() : prompt.notices().last();
    }
    QLabel* marker() const {
        return page->template findChild<QLabel*>(QStringLiteral("unappliedMarker"));
    }

    void connectPeer() { ASSERT_TRUE(appliance.connect(store)); }
    bool peerHasData(int ms) { return appliance.hasData(std::chrono::milliseconds(ms)); }
    std::vector<uint8_t> readPeer(size_t length) { return appliance.read(length); }

    qv::CGlobalData store;
    ScriptedPrompt prompt;
    std::unique_ptr<Page> page;
    ScriptedAppliance appliance{ScriptedAppliance::kByHand};
};

} // namespace qvtest
