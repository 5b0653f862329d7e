// The Wake-on-LAN page whole: the real window logs on to qvsim over loopback, opens the page,
// adds, edits, deletes, imports a CSV file, applies, opens the page again, and qvsim holds the
// table byte for byte as the operator left it, the appliance's bytes 0 to 3 of every slot
// included.

#include "CGlobalData.h"
#include "CLogonDlg.h"
#include "CQVSettingDlg.h"
#include "ControlIds.h"
#include "QtText.h"
#include "ScriptedPrompt.h"
#include "SimServer.h"
#include "SimState.h"
#include "network/CWolDlg.h"
#include "network/WolRules.h"

#include <QAbstractButton>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include "RunningSim.h"
#include "Typing.h"

#include <gtest/gtest.h>

namespace wol = qv::wol;

namespace {

constexpr int kWaitMs = 10000;

class WolEndToEnd : public ::testing::Test {
protected:
    void SetUp() override { qputenv("QVSETTING_CODEPAGE", "949"); }
    void TearDown() override {
        window.reset();
        qunsetenv("QVSETTING_CODEPAGE");
    }

    template <class T> T* in(QWidget* root, int id) {
        T* widget = qv::findControl<T>(root, id);
        EXPECT_NE(widget, nullptr) << "control " << id;
        return widget;
    }
    CWolDlg* page() { return static_cast<CWolDlg*>(window->page(4)); }
    QTableWidget* list() { return in<QTableWidget>(page(), 1021); }
    void type(int id, const QString& text) {
        QLineEdit* field = in<QLineEdit>(page(), id);
        field->selectAll();
        QTest::keyClick(field, Qt::Key_Delete);
        qvtest::typeInto(field, text);
    }
    void click(int id) { QTest::mouseClick(in<QAbstractButton>(page(), id), Qt::LeftButton); }
    void selectRow(int row) {
        const QRect cell = list()->visualItemRect(list()->item(row, 1));
        QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, cell.center());
    }
    void follow(int linkId) {
        QTest::mouseClick(in<QAbstractButton>(window.get(), linkId), Qt::LeftButton);
    }
    bool logOn() {
        CLogonDlg* logon = window->logonPage();
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < kWaitMs) {
            QLineEdit* id = in<QLineEdit>(logon, 1001);
            QLineEdit* password = in<QLineEdit>(logon, 1002);
            id->clear();
            password->clear();
            QTest::keyClicks(id, QStringLiteral("admin"));
            QTest::keyClicks(password, QStringLiteral("admin"));
            QTest::mouseClick(in<QAbstractButton>(logon, 1003), Qt::LeftButton);
            if (QTest::qWaitFor([&] { return store.PageIndex == 1; }, 2000))
                return true;
        }
        return false;
    }
    qv::sim::SimState simState() { return sim.server().snapshot(); }

    qv::simtest::RunningSim sim;
    qv::CGlobalData store;
    qvtest::ScriptedPrompt prompt;
    std::unique_ptr<CQVSettingDlg> window;
};

TEST_F(WolEndToEnd, EditImportApplyAndReadBackByteForByte) {
    ASSERT_TRUE(sim.started());
    const qv::sim::SimState seeded = simState();
    ASSERT_GE(seeded.wolCount, 3);

    window = std::make_unique<CQVSettingDlg>(store, prompt, QString::fromStdString(sim.address()));
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->logonPage()->isVisible(); }, kWaitMs));
    ASSERT_TRUE(logOn());

    // Open the page through its link: the appliance's list arrives and is shown.
    follow(1003);
    ASSERT_EQ(store.PageIndex, 4);
    ASSERT_TRUE(QTest::qWaitFor([&] { return list()->rowCount() == seeded.wolCount; }, kWaitMs));
    EXPECT_EQ(list()->item(1, 1)->text(), QStringLiteral("사무실PC"));

    // What the appliance should end with: the same operations on its table through the rules.
    qv::WolTable expected = seeded.wol;
    int32_t expectedCount = seeded.wolCount;
    auto input = [](const std::string& name, const std::string& mac) {
        return wol::Input{name, mac, 0};
    };

    // Add, edit, delete.
    type(1020, QStringLiteral("new pc"));
    type(1018, QStringLiteral("aa-bb-cc-dd-ee-ff"));
    click(1022);
    wol::addEntry(expected, expectedCount, input("new pc", "aa-bb-cc-dd-ee-ff"), 949);
    selectRow(0);
    type(1020, QStringLiteral("front desk"));
    click(1025);
    wol::editEntry(expected, expectedCount, 0, input("front desk", "00:1b:21:3a:4f:01"), 949);
    selectRow(2);
    click(1023);
    wol::deleteEntry(expected, expectedCount, 2);
    ASSERT_TRUE(prompt.notices().isEmpty())
        << prompt.notices().join(QLatin1Char('|')).toStdString();
    ASSERT_EQ(list()->rowCount(), expectedCount);

    // Import a file in code page 949: it replaces the list, and one more entry is added after.
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString csv = dir.filePath(QStringLiteral("wol.csv"));
    {
        QFile file(csv);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("\xB1\xE8\xC3\xB6\xBC\xF6, 10:20:30:40:50:60\r\n" // "김철수"
                   "lab, 0A-0B-0C-0D-0E-0F\r\n"
                   "short, ab:3\r\n");
    }
    prompt.openAnswers.push_back(csv);
    click(1027);
    wol::replaceEntries(expected, expectedCount,
                        {{"김철수", "10:20:30:40:50:60"}, {"lab", "0A-0B-0C-0D-0E-0F"}});
    type(1020, QStringLiteral("printer"));
    type(1018, QStringLiteral("11:22:33:44:55:66"));
    click(1022);
    wol::addEntry(expected, expectedCount, input("printer", "11:22:33:44:55:66"), 949);
    ASSERT_TRUE(prompt.notices().isEmpty())
        << prompt.notices().join(QLatin1Char('|')).toStdString();
    ASSERT_EQ(list()->rowCount(), 3);
    EXPECT_TRUE(page()->hasUnappliedChanges());

    // Apply: the appliance confirms and the page counts nothing as unapplied.
    click(1024);
    ASSERT_TRUE(QTest::qWaitFor([&] { return prompt.notices().contains(qv::uiText(wol::kWolSet)); },
                                kWaitMs));
    EXPECT_FALSE(page()->hasUnappliedChanges());

    const qv::sim::SimState after = simState();
    ASSERT_EQ(after.wolCount, 3);
    EXPECT_EQ(after.wol.bytes, expected.bytes);
    EXPECT_EQ(after.wol.entry(0).nameUtf8(), "김철수");
    EXPECT_EQ(after.wol.entry(1).macUtf8(), "0A-0B-0C-0D-0E-0F");
    for (size_t slot = 0; slot < qv::WolTable::kSlots; ++slot)
        for (size_t b = 0; b < 4; ++b)
            EXPECT_EQ(after.wol.entry(slot).bytes[b], seeded.wol.entry(slot).bytes[b])
                << slot << "," << b;

    // Leave and come back with the store forgotten: what the page shows comes from the appliance.
    follow(1000);
    ASSERT_EQ(store.PageIndex, 1);
    store.wolTable = qv::WolTable{};
    store.wolCount = 0;
    follow(1003);
    ASSERT_TRUE(QTest::qWaitFor([&] { return store.wolCount == 3; }, kWaitMs));
    EXPECT_EQ(store.wolTable.bytes, expected.bytes);
    ASSERT_EQ(list()->rowCount(), 3);
    EXPECT_EQ(list()->item(0, 1)->text(), QStringLiteral("김철수"));
    EXPECT_EQ(list()->item(2, 1)->text(), QStringLiteral("printer"));
    EXPECT_EQ(list()->item(2, 2)->text(), QStringLiteral("11:22:33:44:55:66"));
    EXPECT_TRUE(prompt.questions().isEmpty());
}

} // namespace
