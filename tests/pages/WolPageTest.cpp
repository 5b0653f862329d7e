// The Wake-on-LAN page driven through its controls, as an operator would: typing, clicking,
// choosing files, with messages and file choosers answered by the scripted prompt and Apply's
// request read by a peer socket.

#include "core/network/WolRules.h"
#include "link/CGlobalData.h"
#include "link/CMySocket.h"
#include "link/Frame.h"
#include "link/LinkEvent.h"
#include "link/Requests.h"
#include "link/Scrambler.h"
#include "link/SocketIo.h"
#include "pages/ControlIds.h"
#include "pages/QtText.h"
#include "pages/network/CWolDlg.h"
#include "tests/support/PageFixture.h"
#include "tests/support/ScriptedPrompt.h"

#include "pages/KeyboardAccess.h"
#include "tests/support/ListProbe.h"
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include "tests/support/Typing.h"

#include "tests/support/ScriptedAppliance.h"

#include <gtest/gtest.h>

#include <poll.h>

namespace wol = qv::wol;
using qv::StringId;

namespace {

using qvtest::expectWidth;
using qvtest::typeInto;

constexpr int kList = CWolDlg::kList, kName = CWolDlg::kName, kMac = CWolDlg::kMac,
              kAdd = CWolDlg::kAdd, kEdit = CWolDlg::kEdit, kDelete = CWolDlg::kDelete,
              kApply = CWolDlg::kApply, kExport = CWolDlg::kExport, kImport = CWolDlg::kImport;
const std::string kKimCp949 = "\xB1\xE8\xC3\xB6\xBC\xF6"; // "김철수"

class WolPage : public qvtest::PageFixture<CWolDlg> {
protected:
    void SetUp() override {
        qputenv("QVSETTING_CODEPAGE", "949");
        open(520, 560);
        ASSERT_TRUE(dir.isValid());
    }
    void TearDown() override {
        PageFixture::TearDown();
        qunsetenv("QVSETTING_CODEPAGE");
    }

    qvtest::ListProbe list() { return qvtest::ListProbe(control<QTableView>(kList)); }
    // A button's caption as read, without the mnemonic the page marks on it when shown.
    QString caption(int id) {
        return qv::controls::withoutMnemonic(control<QPushButton>(id)->text());
    }
    void selectRow(int row) {
        list().click(row);
        ASSERT_EQ(list().currentRow(), row);
    }
    void add(const QString& name, const QString& mac) {
        type(kName, name);
        type(kMac, mac);
        click(kAdd);
    }
    // The appliance's table arriving as event 6, with its own bytes 0 to 3 in every slot.
    void receive(const std::vector<std::pair<std::string, std::string>>& entries) {
        qv::WolTable table;
        for (size_t slot = 0; slot < qv::WolTable::kSlots; ++slot) {
            qv::WolEntry e;
            e.bytes[0] = static_cast<uint8_t>(0x80 | slot);
            e.bytes[1] = 0x42;
            e.bytes[2] = static_cast<uint8_t>(slot);
            e.bytes[3] = 0x99;
            if (slot < entries.size()) {
                e.setNameUtf8(entries[slot].first);
                e.setMacUtf8(entries[slot].second);
            }
            table.setEntry(slot, e);
        }
        qv::LinkEvent event{qv::ReplyEvent::WolArrived, static_cast<int32_t>(entries.size()),
                            std::vector<uint8_t>(table.bytes.begin(), table.bytes.end())};
        qv::applyReplyToStore(store, event);
        page->tableArrived();
    }
    void expectLeadBytesUntouched() {
        for (size_t slot = 0; slot < qv::WolTable::kSlots; ++slot) {
            const qv::WolEntry e = store.wolTable.entry(slot);
            EXPECT_EQ(e.bytes[0], static_cast<uint8_t>(0x80 | slot)) << slot;
            EXPECT_EQ(e.bytes[1], 0x42) << slot;
            EXPECT_EQ(e.bytes[2], static_cast<uint8_t>(slot)) << slot;
            EXPECT_EQ(e.bytes[3], 0x99) << slot;
        }
    }
    QString cell(int row, int column) { return list().cell(row, column); }
    QString path(const char* name) { return dir.filePath(QString::fromLatin1(name)); }
    QByteArray readFile(const QString& file) {
        QFile f(file);
        EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << file.toStdString();
        return f.readAll();
    }
    void writeFile(const QString& file, const QByteArray& bytes) {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        ASSERT_EQ(f.write(bytes), bytes.size());
    }
    void importFile(const QString& file) {
        prompt.openAnswers.push_back(file);
        click(kImport);
    }

    QTemporaryDir dir;
};

TEST_F(WolPage, LayoutColumnsAndButtons) {
    ASSERT_EQ(list().columnCount(), 4);
    const char* captions[] = {"No.", "Name", "Mac Addr", "etc"};
    const int widths[] = {60, 130, 140, 0};
    for (int c = 0; c < 4; ++c) {
        EXPECT_EQ(list().header(c), QString::fromLatin1(captions[c]));
        expectWidth(list().view(), c, widths[c]);
    }
    EXPECT_EQ(list().view()->selectionBehavior(), QAbstractItemView::SelectRows);
    EXPECT_EQ(list().view()->verticalHeader()->defaultSectionSize(), 15);
    for (int id : {kAdd, kEdit, kDelete, kApply, kExport, kImport})
        EXPECT_NE(control<QPushButton>(id), nullptr) << id;
    EXPECT_EQ(caption(kAdd), QStringLiteral("Add"));
    EXPECT_EQ(caption(kExport), QStringLiteral("Export"));
    EXPECT_EQ(caption(kImport), QStringLiteral("Import"));
    EXPECT_NE(edit(kName), nullptr);
    EXPECT_NE(edit(kMac), nullptr);
    EXPECT_EQ(page->title(), QStringLiteral("Wake On Lan"));
    EXPECT_TRUE(page->findChild<QLabel*>(QStringLiteral("macExamples"))
                    ->text()
                    .contains(QStringLiteral("ab-39-22-44-12-aa")));
    const QString help = page->findChild<QLabel*>(QStringLiteral("wolHelp"))->text();
    EXPECT_TRUE(help.contains(
        QStringLiteral("- Quorvel MY is the WOL message distributor on its local network.")));
    EXPECT_TRUE(help.contains(
        QStringLiteral("- You can get MAC in command prompt by typing \"ipconfig /all\".")));
    EXPECT_FALSE(marker()->isVisible());
}

TEST_F(WolPage, RefreshListsEveryEntryAndACountBeyondTheSlotsIsLimited) {
    receive({{"reception-pc", "00:1b:21:3a:4f:01"}, {"사무실PC", "00:1b:21:3a:4f:02"}});
    ASSERT_EQ(list().rowCount(), 2);
    EXPECT_EQ(cell(0, 0), QStringLiteral("1"));
    EXPECT_EQ(cell(1, 0), QStringLiteral("2"));
    EXPECT_EQ(cell(1, 1), QStringLiteral("사무실PC"));
    EXPECT_EQ(cell(1, 2), QStringLiteral("00:1b:21:3a:4f:02"));
    EXPECT_EQ(cell(1, 3), QString());

    store.wolCount = 5000;
    page->tableArrived();
    EXPECT_EQ(list().rowCount(), 101);
}

TEST_F(WolPage, AddRefusesInOrderThenStoresAtOnce) {
    receive({{"a", "aa:aa:aa:aa:aa:aa"}});
    struct Case {
        QString name, mac, message;
    };
    const QString formatError = QStringLiteral("Mac Address Format error.");
    const Case cases[] = {
        {QString(), QString(), QStringLiteral("Please input MAC address.")},
        {QString(), QStringLiteral("ab:39:22:44:12"), formatError},
        {QStringLiteral("pc"), QStringLiteral("ab:39:22-44-12-aa"), formatError},
        {QStringLiteral("   "), QStringLiteral("ab:39:22:44:12:aa"),
         QStringLiteral("Please input Name.")},
        {QString(32, QLatin1Char('n')), QStringLiteral("ab:39:22:44:12:aa"),
         qv::uiText(StringId::NameTooLong)},
        {QStringLiteral("pc"), QStringLiteral("aa:bb:cc:dd:ee:") + QString(49, QLatin1Char('f')),
         qv::uiText(StringId::WolMacTooLong)},
    };
    for (const Case& c : cases) {
        prompt.clear();
        add(c.name, c.mac);
        ASSERT_EQ(prompt.notices().size(), 1u) << c.message.toStdString();
        EXPECT_EQ(lastNotice(), c.message);
        EXPECT_EQ(store.wolCount, 1);
    }
    EXPECT_FALSE(marker()->isVisible());

    prompt.clear();
    add(QStringLiteral("my pc"), QStringLiteral("ab-39-22-44-12-aa"));
    add(QStringLiteral("김철수"), QStringLiteral("AB:39:22:44:12:AA"));
    // Thai has no form in code page 949; the appliance keeps UTF-8, so it is taken as typed.
    add(QStringLiteral("กข"), QStringLiteral("ab:39:22:44:12:ab"));
    EXPECT_TRUE(prompt.notices().isEmpty()) << lastNotice().toStdString();
    ASSERT_EQ(store.wolCount, 4);
    EXPECT_EQ(store.wolTable.entry(3).nameUtf8(), "กข");
    EXPECT_EQ(store.wolTable.entry(1).nameUtf8(), "mypc");
    EXPECT_EQ(store.wolTable.entry(1).macUtf8(), "ab:39:22:44:12:aa");
    EXPECT_EQ(store.wolTable.entry(2).nameUtf8(), "김철수");
    EXPECT_EQ(store.wolTable.entry(2).macUtf8(), "AB:39:22:44:12:AA");
    EXPECT_EQ(cell(2, 1), QStringLiteral("김철수"));
    EXPECT_TRUE(edit(kName)->text().isEmpty());
    EXPECT_TRUE(edit(kMac)->text().isEmpty());
    EXPECT_TRUE(marker()->isVisible());
    expectLeadBytesUntouched();
}

TEST_F(WolPage, TheHundredAndFirstEntryIsTheLast) {
    std::vector<std::pair<std::string, std::string>> hundred;
    for (int i = 0; i < 100; ++i)
        hundred.push_back({"pc" + std::to_string(i), "00:00:00:00:00:00"});
    receive(hundred);
    add(QStringLiteral("last"), QStringLiteral("11:11:11:11:11:11"));
    EXPECT_TRUE(prompt.notices().isEmpty());
    ASSERT_EQ(store.wolCount, 101);
    add(QStringLiteral("more"), QStringLiteral("22:22:22:22:22:22"));
    EXPECT_EQ(lastNotice(), QStringLiteral("WOL registration quantity limitation!"));
    EXPECT_EQ(store.wolCount, 101);
    EXPECT_EQ(list().rowCount(), 101);
    expectLeadBytesUntouched();
}

TEST_F(WolPage, EditAndDeleteWorkOnTheChosenRow) {
    // An empty list: Edit and Delete do nothing and say nothing.
    receive({});
    click(kEdit);
    click(kDelete);
    EXPECT_TRUE(prompt.notices().isEmpty());

    receive({{"a", "aa:aa:aa:aa:aa:aa"}, {"b", "bb:bb:bb:bb:bb:bb"}, {"c", "cc:cc:cc:cc:cc:cc"}});
    type(kName, QStringLiteral("x"));
    type(kMac, QStringLiteral("ab:39:22:44:12:aa"));
    click(kEdit);
    EXPECT_EQ(lastNotice(), QStringLiteral("Please select WOL item you want to modify first."));
    click(kDelete);
    EXPECT_EQ(lastNotice(), QStringLiteral("Please select WOL item you want to delete first."));

    // Choosing a row fills the inputs from its cells.
    selectRow(1);
    EXPECT_EQ(edit(kName)->text(), QStringLiteral("b"));
    EXPECT_EQ(edit(kMac)->text(), QStringLiteral("bb:bb:bb:bb:bb:bb"));
    prompt.clear();
    type(kName, QString());
    click(kEdit);
    EXPECT_EQ(lastNotice(), QStringLiteral("Please input Name."));
    type(kName, QStringLiteral("my pc"));
    type(kMac, QStringLiteral("12-34-56-78-9a-bc"));
    click(kEdit);
    ASSERT_EQ(prompt.notices().size(), 1u);
    EXPECT_EQ(store.wolTable.entry(1).nameUtf8(), "my pc");
    EXPECT_EQ(store.wolTable.entry(1).macUtf8(), "12:34:56:78:9a:bc");
    EXPECT_EQ(cell(1, 1), QStringLiteral("my pc"));
    EXPECT_TRUE(edit(kName)->text().isEmpty());

    selectRow(0);
    click(kDelete);
    ASSERT_EQ(store.wolCount, 2);
    EXPECT_EQ(cell(0, 1), QStringLiteral("my pc"));
    EXPECT_EQ(cell(1, 1), QStringLiteral("c"));
    EXPECT_EQ(cell(1, 0), QStringLiteral("2"));
    EXPECT_EQ(store.wolTable.entry(2).nameUtf8(), "");
    expectLeadBytesUntouched();
    EXPECT_TRUE(marker()->isVisible());
}

TEST_F(WolPage, ExportWritesTheListInTheCodePageWithCrLf) {
    // Nothing to export: the fixed message, and no chooser.
    receive({});
    click(kExport);
    EXPECT_EQ(lastNotice(), QStringLiteral("내보내기할 데이터가 없습니다."));
    EXPECT_TRUE(prompt.texts(qvtest::ScriptedPrompt::Kind::SaveFile).isEmpty());

    receive({{"pc1", "ab:39:22:44:12:aa"}, {"김철수", "AB:39:22:44:12:AA"}, {"my pc", ":::::"}});
    // Cancelled: no file.
    prompt.clear();
    click(kExport);
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_EQ(prompt.shown[0].kind, qvtest::ScriptedPrompt::Kind::SaveFile);
    EXPECT_EQ(prompt.shown[0].defaultName, QStringLiteral("wol.csv"));
    EXPECT_EQ(prompt.shown[0].text, QStringLiteral("WOL File(*.csv) (*.csv)"));
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());

    // A name without an extension gets ".csv"; an existing file is replaced whole, and only
    // when the operator says so.
    writeFile(path("list.csv"), QByteArray(500, 'x'));
    prompt.saveAnswers.push_back(path("list"));
    prompt.answers = {false};
    click(kExport);
    ASSERT_EQ(prompt.questions().size(), 1);
    EXPECT_TRUE(prompt.questions()[0].contains(QStringLiteral("list.csv")));
    EXPECT_EQ(prompt.shown.back().preselected, qv::DefaultAnswer::No);
    EXPECT_EQ(readFile(path("list.csv")), QByteArray(500, 'x'));
    prompt.saveAnswers.push_back(path("list"));
    prompt.answers = {true};
    click(kExport);
    const QByteArray expected = QByteArray("pc1, ab:39:22:44:12:aa\r\n") +
                                QByteArray::fromStdString(kKimCp949) +
                                ", AB:39:22:44:12:AA\r\nmy pc, :::::\r\n";
    EXPECT_EQ(readFile(path("list.csv")), expected);
    EXPECT_EQ(prompt.notices().size(), 0u);
    EXPECT_EQ(store.wolCount, 3);

    // A file that cannot be written is said so.
    prompt.saveAnswers.push_back(path("no-such-folder/wol.csv"));
    click(kExport);
    EXPECT_EQ(lastNotice(), qv::uiText(StringId::WolFileNotWritten)
                                .arg(QDir::toNativeSeparators(path("no-such-folder/wol.csv"))));

    // An entry with no form in the code page: No writes nothing and chooses no file; Yes
    // writes UTF-8 with its mark, which the import reads back whole.
    receive({{"pc", "ab:39:22:44:12:aa"}, {"กข, ก", "ab:39:22:44:12:ab"}});
    const size_t choosersBefore = prompt.texts(qvtest::ScriptedPrompt::Kind::SaveFile).size();
    prompt.answers = {false};
    click(kExport);
    EXPECT_EQ(prompt.questions().last(), qv::uiText(StringId::WolExportAsUtf8).arg(2));
    EXPECT_EQ(prompt.texts(qvtest::ScriptedPrompt::Kind::SaveFile).size(), choosersBefore);
    prompt.answers = {true};
    prompt.saveAnswers.push_back(path("thai.csv"));
    click(kExport);
    EXPECT_EQ(readFile(path("thai.csv")),
              QByteArray("\xEF\xBB\xBFpc, ab:39:22:44:12:aa\r\n\"กข, ก\", ab:39:22:44:12:ab\r\n"));
    receive({});
    importFile(path("thai.csv"));
    ASSERT_EQ(store.wolCount, 2);
    EXPECT_EQ(store.wolTable.entry(1).nameUtf8(), "กข, ก");
}

TEST_F(WolPage, ImportReplacesTheListOnlyWithWhatAFileYields) {
    receive({{"a", "aa:aa:aa:aa:aa:aa"}, {"b", "bb:bb:bb:bb:bb:bb"}});

    // Cancelled chooser, missing file, empty file, file of short lines, hostile lines: the list
    // stays as it was.
    click(kImport);
    EXPECT_EQ(prompt.shown.back().text, QStringLiteral("CSV (*.csv);;All(*.*) (*)"));
    importFile(path("missing.csv"));
    EXPECT_EQ(
        lastNotice(),
        qv::uiText(StringId::WolFileNotRead).arg(QDir::toNativeSeparators(path("missing.csv"))));
    writeFile(path("empty.csv"), {});
    importFile(path("empty.csv"));
    EXPECT_EQ(
        lastNotice(),
        qv::uiText(StringId::WolFileHasNoEntries).arg(QDir::toNativeSeparators(path("empty.csv"))));
    writeFile(path("short.csv"), "pc1, ab:3\r\nno comma here\r\n");
    importFile(path("short.csv"));
    EXPECT_EQ(
        lastNotice(),
        qv::uiText(StringId::WolFileHasNoEntries).arg(QDir::toNativeSeparators(path("short.csv"))));
    writeFile(path("long.csv"),
              "ok, ab:39:22:44:12:aa\n" + QByteArray(40, 'n') + ", ab:39:22:44:12:aa\n");
    importFile(path("long.csv"));
    EXPECT_EQ(lastNotice(), qv::uiText(StringId::WolImportNameTooLong).arg(2));
    writeFile(path("bad.csv"), "\xFF\xFF, ab:39:22:44:12:aa\n");
    importFile(path("bad.csv"));
    EXPECT_EQ(lastNotice(), qv::uiText(StringId::WolImportNotConvertible).arg(1));
    writeFile(path("huge.csv"),
              QByteArray(static_cast<qsizetype>(wol::kMaxImportFileBytes) + 1, 'a'));
    importFile(path("huge.csv"));
    EXPECT_EQ(
        lastNotice(),
        qv::uiText(StringId::WolFileTooLarge).arg(QDir::toNativeSeparators(path("huge.csv"))));
    EXPECT_EQ(store.wolCount, 2);
    EXPECT_EQ(cell(1, 1), QStringLiteral("b"));
    EXPECT_FALSE(marker()->isVisible());

    // A good file replaces the list; it is an edit like any other.
    prompt.clear();
    writeFile(path("good.csv"), QByteArray::fromStdString(kKimCp949) +
                                    " , ab:39:22:44:12:aa\r\npc,1,ab:39:22:44:12:aa\nx, ab:3\n");
    importFile(path("good.csv"));
    EXPECT_TRUE(prompt.notices().isEmpty()) << lastNotice().toStdString();
    ASSERT_EQ(store.wolCount, 2);
    EXPECT_EQ(cell(0, 1), QStringLiteral("김철수"));
    EXPECT_EQ(cell(1, 1), QStringLiteral("pc"));
    EXPECT_EQ(cell(1, 2), QStringLiteral("1ab:39:22:44:12:aa"));
    EXPECT_TRUE(marker()->isVisible());
    expectLeadBytesUntouched();

    // 150 entries: 99 are taken, and the operator is told.
    QByteArray many;
    for (int i = 0; i < 150; ++i)
        many += "pc" + QByteArray::number(i) + ", ab:39:22:44:12:aa\r\n";
    writeFile(path("many.csv"), many);
    importFile(path("many.csv"));
    EXPECT_EQ(store.wolCount, 99);
    EXPECT_EQ(list().rowCount(), 99);
    EXPECT_EQ(lastNotice(), qv::uiText(qv::StringId::WolImportLimited));
    expectLeadBytesUntouched();
}

TEST_F(WolPage, ApplySendsCommandSevenWithTheWholeTable) {
    receive({{"a", "aa:aa:aa:aa:aa:aa"}, {"b", "bb:bb:bb:bb:bb:bb"}});
    // Not connected: nothing happens and nothing is said.
    click(kApply);
    EXPECT_TRUE(prompt.shown.empty());

    add(QStringLiteral("c"), QStringLiteral("cc-cc-cc-cc-cc-cc"));
    connectPeer();
    click(kApply);
    const std::vector<uint8_t> header = readPeer(8);
    const qv::FrameHeader h = qv::decodeHeader(header.data());
    EXPECT_EQ(h.cmd, qv::CMD_SET_WOL_MSG);
    EXPECT_EQ(h.dwCount, 3);
    const std::vector<uint8_t> scrambled = readPeer(qv::WolTable::kSize);
    std::vector<uint8_t> payload(scrambled.size());
    ASSERT_TRUE(qv::UnscrambleBlock(scrambled.data(), payload.data(), payload.size()));
    EXPECT_TRUE(std::equal(payload.begin(), payload.end(), store.wolTable.bytes.begin()));
    qv::WolTable sent;
    std::copy(payload.begin(), payload.end(), sent.bytes.begin());
    EXPECT_EQ(sent.entry(2).macUtf8(), "cc:cc:cc:cc:cc:cc");
    EXPECT_EQ(sent.entry(2).bytes[0], 0x82);
    EXPECT_FALSE(peerHasData(200));

    // The appliance's answer 101 makes the edits its own; the marker goes.
    EXPECT_TRUE(marker()->isVisible());
    page->applyAnswered(101);
    EXPECT_FALSE(marker()->isVisible());
    EXPECT_FALSE(page->hasUnappliedChanges());

    // An empty list still travels whole: the appliance always reads the table after command 7.
    for (int row = 2; row >= 0; --row) {
        selectRow(row);
        click(kDelete);
    }
    ASSERT_EQ(store.wolCount, 0);
    click(kApply);
    const std::vector<uint8_t> wire = readPeer(8 + qv::WolTable::kSize);
    EXPECT_EQ(wire, qv::encodeFrame(qv::request::writeWol(0, store.wolTable)));
    EXPECT_EQ(qv::decodeHeader(wire.data()).dwCount, 0);
    EXPECT_FALSE(peerHasData(200));
}

TEST_F(WolPage, UnappliedEditsAreNeverDroppedWithoutAsking) {
    receive({{"a", "aa:aa:aa:aa:aa:aa"}});
    add(QStringLiteral("b"), QStringLiteral("bb:bb:bb:bb:bb:bb"));
    ASSERT_TRUE(page->hasUnappliedChanges());

    // Leaving: No keeps the page and the edits.
    prompt.answers.push_back(false);
    EXPECT_FALSE(page->confirmLeave());
    EXPECT_EQ(prompt.questions().last(), qv::uiText(StringId::WolDiscardOnLeave));
    EXPECT_EQ(store.wolCount, 2);

    // A fresh table over the edits: Yes keeps them.
    prompt.answers.push_back(true);
    receive({{"a", "aa:aa:aa:aa:aa:aa"}});
    EXPECT_EQ(prompt.questions().last(), qv::uiText(StringId::WolKeepAfterReread));
    EXPECT_EQ(store.wolCount, 2);
    EXPECT_EQ(list().rowCount(), 2);

    // After a lost link the question says so; No shows the appliance's list.
    page->linkEnded();
    prompt.answers.push_back(false);
    receive({{"a", "aa:aa:aa:aa:aa:aa"}});
    EXPECT_EQ(prompt.questions().last(), qv::uiText(StringId::WolKeepAfterLogon));
    EXPECT_EQ(store.wolCount, 1);
    EXPECT_FALSE(marker()->isVisible());

    // An import is an edit too; leaving with Yes throws it away.
    writeFile(path("one.csv"), "z, ab:39:22:44:12:aa\n");
    importFile(path("one.csv"));
    ASSERT_TRUE(page->hasUnappliedChanges());
    prompt.answers.push_back(true);
    EXPECT_TRUE(page->confirmLeave());
    EXPECT_EQ(store.wolCount, 1);
    EXPECT_EQ(cell(0, 1), QStringLiteral("a"));
    EXPECT_FALSE(page->hasUnappliedChanges());
}

} // namespace

namespace {

// Both layouts carry export and import; in Korean the captions, the help and the messages are
// Korean, and the "nothing to export" text is the same fixed Korean text as in English.
TEST(WolPageKorean, CaptionsHelpAndMessagesFollowTheLanguage) {
    const QByteArray savedLang = qgetenv("LANG");
    const QByteArray savedAll = qgetenv("LC_ALL");
    qunsetenv("LC_ALL");
    qputenv("LANG", "ko_KR.UTF-8");
    {
        qv::CGlobalData store;
        qvtest::ScriptedPrompt prompt;
        CWolDlg page(store, prompt);
        const std::pair<int, const char*> captions[] = {
            {kAdd, "추가"},    {kEdit, "수정"},       {kDelete, "삭제"},
            {kApply, "적 용"}, {kExport, "내보내기"}, {kImport, "불러오기"},
        };
        for (const auto& [id, caption] : captions) {
            auto* button = qv::findControl<QAbstractButton>(&page, id);
            ASSERT_NE(button, nullptr) << id;
            EXPECT_EQ(button->text(), QString::fromUtf8(caption)) << id;
        }
        EXPECT_TRUE(page.findChild<QLabel*>(QStringLiteral("wolHelp"))
                        ->text()
                        .contains(QStringLiteral("공백 없이")));
        page.show();
        QTest::mouseClick(qv::findControl<QAbstractButton>(&page, kAdd), Qt::LeftButton);
        ASSERT_EQ(prompt.notices().size(), 1);
        EXPECT_EQ(prompt.notices().first(), QStringLiteral("MAC 주소를 입력하세요."));
        QTest::mouseClick(qv::findControl<QAbstractButton>(&page, kExport), Qt::LeftButton);
        EXPECT_EQ(prompt.notices().last(), QStringLiteral("내보내기할 데이터가 없습니다."));
    }
    if (savedLang.isNull())
        qunsetenv("LANG");
    else
        qputenv("LANG", savedLang);
    if (!savedAll.isNull())
        qputenv("LC_ALL", savedAll);
}

} // namespace

// Filtered and sorted, the list still edits and deletes the entry the operator chose.
TEST_F(WolPage, FilterAndSortActOnTheChosenStoreEntry) {
    receive({{"zulu", "00:00:00:00:00:01"},
             {"alpha", "00:00:00:00:00:02"},
             {"mike", "00:00:00:00:00:03"},
             {"alpine", "00:00:00:00:00:04"}});
    // Find "alp": the second and fourth entries remain; choose the second shown, alpine.
    typeInto(edit(CWolDlg::kFind), QStringLiteral("ALP"));
    ASSERT_EQ(list().rowCount(), 2);
    selectRow(1);
    EXPECT_EQ(edit(kName)->text(), QStringLiteral("alpine"));
    type(kName, QStringLiteral("alpine2"));
    click(kEdit);
    EXPECT_EQ(store.wolTable.entry(3).nameUtf8(), "alpine2");
    EXPECT_EQ(store.wolTable.entry(1).nameUtf8(), "alpha");

    // Clear the filter, sort by name (click its header): alpha, alpine2, mike, zulu.
    edit(CWolDlg::kFind)->clear();
    QHeaderView* header = list().view()->horizontalHeader();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(1) + 5, header->height() / 2));
    ASSERT_EQ(list().cell(0, 1), QStringLiteral("alpha"));
    ASSERT_EQ(list().cell(3, 1), QStringLiteral("zulu"));
    // The last row shown is the store's first entry: Delete removes zulu, nothing else.
    selectRow(3);
    click(kDelete);
    ASSERT_EQ(store.wolCount, 3);
    EXPECT_EQ(store.wolTable.entry(0).nameUtf8(), "alpha");
    EXPECT_EQ(store.wolTable.entry(1).nameUtf8(), "mike");
    EXPECT_EQ(store.wolTable.entry(2).nameUtf8(), "alpine2");
    EXPECT_TRUE(prompt.questions().isEmpty());

    // Two rows of the sorted list (alpha, alpine2, mike): asked first, then both go.
    list().click(0);
    list().click(2, Qt::ControlModifier);
    prompt.answers = {true};
    click(kDelete);
    EXPECT_EQ(prompt.questions(), QStringList{qv::uiText(StringId::WolDeleteSeveral).arg(2)});
    ASSERT_EQ(store.wolCount, 1);
    EXPECT_EQ(store.wolTable.entry(0).nameUtf8(), "alpine2");
    expectLeadBytesUntouched();
}
