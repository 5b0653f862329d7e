// The Wake-on-LAN page whole: the real window logs on to qvsim over loopback, opens the page,
// adds, edits, deletes, imports a CSV file, applies, opens the page again, and qvsim holds the
// table byte for byte as the operator left it, the appliance's bytes 0 to 3 of every slot
// included.

#include "app/CQVSettingDlg.h"
#include "core/network/WolRules.h"
#include "pages/QtText.h"
#include "pages/network/CWolDlg.h"
#include "tests/support/ListProbe.h"
#include "tests/support/WindowOnSim.h"

#include <QFile>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace wol = qv::wol;
using qv::StringId;

namespace {

class WolEndToEnd : public qvtest::WindowOnSim {
protected:
    CWolDlg* page() { return static_cast<CWolDlg*>(window->page(Page::Wol)); }
    qvtest::ListProbe list() { return qvtest::ListProbe(in<QTableView>(page(), CWolDlg::kList)); }
    void type(int id, const QString& text) { WindowOnSim::type(page(), id, text); }
    void click(int id) { WindowOnSim::click(page(), id); }
    void selectRow(int row) { list().click(row); }
};

TEST_F(WolEndToEnd, EditImportApplyAndReadBackByteForByte) {
    ASSERT_TRUE(sim.started());
    const qv::sim::SimState seeded = simState();
    ASSERT_GE(seeded.wolCount, 3);

    openWindow();
    ASSERT_TRUE(logOn());

    // Open the page through its link: the appliance's list arrives and is shown.
    follow(1003);
    ASSERT_EQ(store.PageIndex, 4);
    ASSERT_TRUE(QTest::qWaitFor([&] { return list().rowCount() == seeded.wolCount; }, kWaitMs));
    EXPECT_EQ(list().cell(1, 1), QStringLiteral("사무실PC"));

    // What the appliance should end with: the same operations on its table through the rules.
    qv::WolTable expected = seeded.wol;
    int32_t expectedCount = seeded.wolCount;
    auto input = [](const std::string& name, const std::string& mac) {
        return wol::Input{name, mac};
    };

    // Add, edit, delete.
    type(1020, QStringLiteral("new pc"));
    type(1018, QStringLiteral("aa-bb-cc-dd-ee-ff"));
    click(1022);
    wol::addEntry(expected, expectedCount, input("new pc", "aa-bb-cc-dd-ee-ff"));
    selectRow(0);
    type(1020, QStringLiteral("front desk"));
    click(1025);
    wol::editEntry(expected, expectedCount, 0, input("front desk", "00:1b:21:3a:4f:01"));
    selectRow(2);
    click(1023);
    wol::deleteEntry(expected, expectedCount, 2);
    ASSERT_TRUE(prompt.notices().isEmpty())
        << prompt.notices().join(QLatin1Char('|')).toStdString();
    ASSERT_EQ(list().rowCount(), expectedCount);

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
    wol::addEntry(expected, expectedCount, input("printer", "11:22:33:44:55:66"));
    ASSERT_TRUE(prompt.notices().isEmpty())
        << prompt.notices().join(QLatin1Char('|')).toStdString();
    ASSERT_EQ(list().rowCount(), 3);
    EXPECT_TRUE(page()->hasUnappliedChanges());

    // Apply: the appliance confirms and the page counts nothing as unapplied.
    click(1024);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return prompt.notices().contains(qv::uiText(StringId::WolSet)); }, kWaitMs));
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
    ASSERT_EQ(list().rowCount(), 3);
    EXPECT_EQ(list().cell(0, 1), QStringLiteral("김철수"));
    EXPECT_EQ(list().cell(2, 1), QStringLiteral("printer"));
    EXPECT_EQ(list().cell(2, 2), QStringLiteral("11:22:33:44:55:66"));
    EXPECT_TRUE(prompt.questions().isEmpty());
}

} // namespace
