// The center ID page driven through its controls, as an operator would: typing, choosing,
// clicking, with messages answered by the scripted prompt and requests read by a peer socket.

#include "core/access/CenterIdRules.h"
#include "link/CGlobalData.h"
#include "link/CMySocket.h"
#include "link/CodePage.h"
#include "link/Frame.h"
#include "link/LinkEvent.h"
#include "link/Requests.h"
#include "link/SocketIo.h"
#include "pages/ControlIds.h"
#include "pages/QtText.h"
#include "pages/access/CCenteridDlg.h"
#include "tests/support/PageFixture.h"
#include "tests/support/ScriptedPrompt.h"

#include "tests/support/ListProbe.h"
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include "tests/support/Typing.h"
#include <QVBoxLayout>

#include "tests/support/ScriptedAppliance.h"

#include <gtest/gtest.h>

#include <poll.h>

namespace cid = qv::centerid;
using qv::StringId;

namespace {

using qvtest::expectWidth;
using qvtest::typeInto;

constexpr int kList = CCenteridDlg::kList, kId = CCenteridDlg::kId,
              kPassword = CCenteridDlg::kPassword, kName = CCenteridDlg::kName,
              kGroup = CCenteridDlg::kGroup, kSuperUser = CCenteridDlg::kSuperUser,
              kNoFileTransfer = CCenteridDlg::kProhibitFileTransfer,
              kNoLogDeletion = CCenteridDlg::kProhibitLogDeletion, kAdd = CCenteridDlg::kAdd,
              kEdit = CCenteridDlg::kEdit, kDel = CCenteridDlg::kDel, kApply = CCenteridDlg::kApply;

qv::CenterIdEntry entry(const char* id, const char* password, uint16_t group) {
    qv::CenterIdEntry e;
    e.setId(id);
    e.setPassword(password);
    e.setName("name");
    e.setGroup(group);
    e.setSuperUser("0");
    return e;
}

class CenterIdPage : public qvtest::PageFixture<CCenteridDlg> {
protected:
    void SetUp() override { open(700, 420); }

    qvtest::ListProbe list() { return qvtest::ListProbe(control<QTableView>(kList)); }
    QComboBox* group() { return control<QComboBox>(kGroup); }
    QCheckBox* check(int id) { return control<QCheckBox>(id); }

    // Chooses group `number` (1..50) with the keyboard, as on a closed drop-down list.
    void chooseGroup(int number) {
        QComboBox* combo = group();
        combo->setFocus();
        QTest::keyClick(combo, Qt::Key_Home);
        for (int i = 1; i < number; ++i)
            QTest::keyClick(combo, Qt::Key_Down);
        ASSERT_EQ(combo->currentIndex(), number - 1);
    }
    void selectRow(int row) {
        list().click(row);
        ASSERT_EQ(list().currentRow(), row);
    }
    void fill(const QString& id, const QString& password, int groupNumber) {
        type(kId, id);
        type(kPassword, password);
        if (groupNumber > 0)
            chooseGroup(groupNumber);
    }
    // The appliance's table arriving as event 4, as the dispatcher hands it over.
    void receive(const std::vector<qv::CenterIdEntry>& entries) {
        qv::CenterIdTable table;
        for (size_t i = 0; i < entries.size(); ++i)
            table.setEntry(i, entries[i]);
        qv::LinkEvent event{qv::ReplyEvent::CenterIdsArrived, static_cast<int32_t>(entries.size()),
                            std::vector<uint8_t>(table.bytes.begin(), table.bytes.end())};
        qv::applyReplyToStore(store, event);
        page->tableArrived();
    }
    QString cell(int row, int column) { return list().cell(row, column); }
};

TEST_F(CenterIdPage, LayoutColumnsAndGroupChoices) {
    ASSERT_EQ(list().columnCount(), 8);
    const char* captions[] = {"No.", "ID", "Password", "Name", "Group", "SuperUser"};
    const int widths[] = {40, 90, 70, 90, 55, 60, 60, 60};
    for (int c = 0; c < 8; ++c) {
        if (c < 6) {
            EXPECT_EQ(list().header(c), QString::fromLatin1(captions[c]));
        }
        // The names take the room the other columns leave: at least their own width.
        if (c == 3)
            EXPECT_GE(list().view()->columnWidth(c), widths[c]);
        else
            expectWidth(list().view(), c, widths[c]);
    }
    EXPECT_EQ(list().header(6), QStringLiteral("로그삭제"));
    EXPECT_EQ(list().header(7), QStringLiteral("파일전송"));
    ASSERT_EQ(group()->count(), 50);
    EXPECT_EQ(group()->itemText(0), QStringLiteral("1"));
    EXPECT_EQ(group()->itemText(49), QStringLiteral("50"));
    EXPECT_EQ(group()->currentIndex(), -1);
    EXPECT_FALSE(check(kSuperUser)->isChecked());
    EXPECT_EQ(edit(kPassword)->echoMode(), QLineEdit::Password);
    for (int id : {kAdd, kEdit, kDel, kApply})
        EXPECT_NE(control<QPushButton>(id), nullptr);
    EXPECT_FALSE(marker()->isVisible());
}

// The relay server's fixed Korean captions and values stay as they are; the English window says
// what they mean in a tooltip and to screen readers.
TEST_F(CenterIdPage, FixedKoreanTextsTellTheirMeaningInEnglish) {
    qv::CenterIdEntry e = entry("alpha", "pw", 1);
    e.setLogDeletionProhibited(true);
    receive({e});
    const QAbstractItemModel* model = list().view()->model();
    for (const int role : {int(Qt::ToolTipRole), int(Qt::AccessibleDescriptionRole)}) {
        EXPECT_EQ(model->headerData(6, Qt::Horizontal, role), QStringLiteral("Log deletion"));
        EXPECT_EQ(model->headerData(7, Qt::Horizontal, role), QStringLiteral("File transfer"));
        EXPECT_EQ(model->index(0, 6).data(role), QStringLiteral("Forbidden"));
        EXPECT_EQ(model->index(0, 7).data(role), QStringLiteral("Allowed"));
    }
    EXPECT_EQ(cell(0, 6), QStringLiteral("금지"));
    EXPECT_FALSE(model->index(0, 1).data(Qt::ToolTipRole).isValid());
}

TEST_F(CenterIdPage, AddWritesTheStoreAtOnceAndClearsTheInputs) {
    receive({});
    EXPECT_EQ(list().rowCount(), 0);
    fill(QStringLiteral("op1"), QStringLiteral("secret"), 3);
    type(kName, QStringLiteral("Kim"));
    tick(kSuperUser, true);
    tick(kNoLogDeletion, true);
    click(kAdd);

    EXPECT_TRUE(prompt.notices().isEmpty()) << lastNotice().toStdString();
    ASSERT_EQ(store.centerIdCount, 1);
    const qv::CenterIdEntry e = store.centerIdTable.entry(0);
    EXPECT_EQ(e.id(), "op1");
    EXPECT_EQ(e.password(), "secret");
    EXPECT_EQ(e.name(), "Kim");
    EXPECT_EQ(e.group(), 3);
    EXPECT_EQ(e.superUser(), "1");
    EXPECT_TRUE(e.logDeletionProhibited());
    EXPECT_FALSE(e.fileTransferProhibited());

    ASSERT_EQ(list().rowCount(), 1);
    const QStringList row{QStringLiteral("1"),    QStringLiteral("op1"), QStringLiteral("******"),
                          QStringLiteral("Kim"),  QStringLiteral("3"),   QStringLiteral("1"),
                          QStringLiteral("금지"), QStringLiteral("허용")};
    for (int c = 0; c < 8; ++c)
        EXPECT_EQ(cell(0, c), row[c]) << c;

    // Inputs cleared, except the two prohibition boxes.
    EXPECT_TRUE(edit(kId)->text().isEmpty());
    EXPECT_TRUE(edit(kPassword)->text().isEmpty());
    EXPECT_TRUE(edit(kName)->text().isEmpty());
    EXPECT_EQ(group()->currentIndex(), -1);
    EXPECT_FALSE(check(kSuperUser)->isChecked());
    EXPECT_TRUE(check(kNoLogDeletion)->isChecked());
    EXPECT_FALSE(check(kNoFileTransfer)->isChecked());
}

struct Refusal {
    const char* what;
    QString id;
    QString password;
    int group; // 0: none chosen
    QString name;
    StringId message;
};

TEST_F(CenterIdPage, AddRefusesBadInputInOrderAndChangesNothing) {
    receive({entry("alpha", "pw", 1)});
    const QString id31(31, QLatin1Char('i'));
    const QString id30(30, QLatin1Char('i'));
    const Refusal cases[] = {
        {"no group", QString(), QString(), 0, QString(), StringId::CenterIdSelectGroup},
        {"empty ID", QString(), QString(), 2, QString(), StringId::CenterIdInputId},
        {"'_' before the empty password", QStringLiteral("a_b"), QString(), 2, QString(),
         StringId::CenterIdUnderscore},
        {"empty password", QStringLiteral("abc"), QString(), 2, QString(),
         StringId::CenterIdInputPassword},
        {"ID of 31 bytes", id31, QStringLiteral("pw"), 2, QString(), StringId::CenterIdTooLong},
        {"password of 16 bytes", QStringLiteral("abc"), QString(16, QLatin1Char('p')), 2, QString(),
         StringId::CenterIdPasswordTooLong},
        {"name of 32 bytes", QStringLiteral("abc"), QStringLiteral("pw"), 2,
         QString(32, QLatin1Char('n')), StringId::NameTooLong},
        {"same ID, same case", QStringLiteral("alpha"), QStringLiteral("pw"), 2, QString(),
         StringId::CenterIdDuplicated},
    };
    for (const Refusal& c : cases) {
        SCOPED_TRACE(c.what);
        prompt.clear();
        group()->setCurrentIndex(-1);
        fill(c.id, c.password, c.group);
        type(kName, c.name);
        const qv::CenterIdTable before = store.centerIdTable;
        click(kAdd);
        ASSERT_EQ(prompt.notices().size(), 1);
        EXPECT_EQ(lastNotice(), qv::uiText(c.message));
        EXPECT_EQ(store.centerIdCount, 1);
        EXPECT_EQ(store.centerIdTable, before);
        // Inputs untouched.
        EXPECT_EQ(edit(kId)->text(), c.id);
        EXPECT_EQ(edit(kName)->text(), c.name);
        EXPECT_EQ(group()->currentIndex(), c.group - 1);
    }
    // The limits themselves are accepted; letter case makes a different ID.
    prompt.clear();
    fill(id30, QString(15, QLatin1Char('p')), 4);
    type(kName, QString(31, QLatin1Char('n')));
    click(kAdd);
    fill(QStringLiteral("ALPHA"), QStringLiteral("pw"), 4);
    click(kAdd);
    EXPECT_TRUE(prompt.notices().isEmpty()) << lastNotice().toStdString();
    EXPECT_EQ(store.centerIdCount, 3);
}

TEST_F(CenterIdPage, FullTableRefusesAddWithAMessage) {
    std::vector<qv::CenterIdEntry> entries;
    for (int i = 0; i < 101; ++i)
        entries.push_back(entry(("id" + std::to_string(i)).c_str(), "pw", 1));
    receive(entries);
    EXPECT_EQ(list().rowCount(), 101);
    fill(QStringLiteral("one-more"), QStringLiteral("pw"), 1);
    click(kAdd);
    EXPECT_EQ(lastNotice(), qv::uiText(StringId::CenterIdTableFull));
    EXPECT_EQ(store.centerIdCount, 101);
}

TEST_F(CenterIdPage, EditAndDelNeedASelectedRow) {
    // An empty list: nothing happens, nothing is said.
    receive({});
    click(kEdit);
    click(kDel);
    EXPECT_TRUE(prompt.notices().isEmpty());

    receive({entry("alpha", "pw1", 7), entry("beta", "pw2", 0), entry("gamma", "pw3", 51)});
    click(kEdit);
    EXPECT_EQ(lastNotice(), qv::uiText(StringId::CenterIdSelectToModify));
    click(kDel);
    EXPECT_EQ(lastNotice(), qv::uiText(StringId::CenterIdSelectToDelete));
    prompt.clear();

    // Choosing a row loads it; a stored group outside 1..50 leaves the group choice alone.
    selectRow(0);
    EXPECT_EQ(edit(kId)->text(), QStringLiteral("alpha"));
    EXPECT_EQ(edit(kPassword)->text(), QStringLiteral("pw1"));
    EXPECT_EQ(group()->currentIndex(), 6);
    selectRow(1);
    EXPECT_EQ(edit(kId)->text(), QStringLiteral("beta"));
    EXPECT_EQ(group()->currentIndex(), 6);
    selectRow(2);
    EXPECT_EQ(group()->currentIndex(), 6);

    // Editing without changing the ID is fine; the inputs stay.
    selectRow(0);
    type(kName, QStringLiteral("Renamed"));
    click(kEdit);
    EXPECT_TRUE(prompt.notices().isEmpty()) << lastNotice().toStdString();
    EXPECT_EQ(store.centerIdTable.entry(0).name(), "Renamed");
    EXPECT_EQ(cell(0, 3), QStringLiteral("Renamed"));
    EXPECT_EQ(edit(kName)->text(), QStringLiteral("Renamed"));
    EXPECT_EQ(store.centerIdCount, 3);

    // Taking another entry's ID is refused; the edit checks run as Add's do.
    selectRow(0);
    type(kId, QStringLiteral("beta"));
    click(kEdit);
    EXPECT_EQ(lastNotice(), qv::uiText(StringId::CenterIdDuplicated));
    type(kId, QString(31, QLatin1Char('x')));
    click(kEdit);
    EXPECT_EQ(lastNotice(), qv::uiText(StringId::CenterIdTooLong));
    EXPECT_EQ(store.centerIdTable.entry(0).id(), "alpha");

    // Del removes the chosen row; the later ones move up.
    selectRow(1);
    click(kDel);
    ASSERT_EQ(store.centerIdCount, 2);
    EXPECT_EQ(cell(1, 1), QStringLiteral("gamma"));
    EXPECT_EQ(cell(1, 0), QStringLiteral("2"));
    EXPECT_TRUE(edit(kId)->text().isEmpty());
}

// Several rows chosen through a filter and a descending sort: Del asks (No first) and then
// removes exactly the store's entries behind them.
TEST_F(CenterIdPage, DelOfSeveralRowsAsksAndRemovesTheChosenStoreEntries) {
    receive({entry("zeta", "p", 1), entry("alpha", "p", 1), entry("mike", "p", 1),
             entry("alpine", "p", 1), entry("alto", "p", 1)});
    typeInto(control<QLineEdit>(CCenteridDlg::kFind), QStringLiteral("al"));
    QHeaderView* header = list().view()->horizontalHeader();
    const QPoint idHeader(header->sectionViewportPosition(1) + 5, header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, idHeader);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, idHeader);
    ASSERT_EQ(cell(0, 1), QStringLiteral("alto"));
    ASSERT_EQ(cell(2, 1), QStringLiteral("alpha"));
    list().click(0);
    list().click(2, Qt::ControlModifier);
    for (const bool yes : {false, true}) {
        prompt.answers = {yes};
        click(kDel);
        ASSERT_EQ(prompt.questions().size(), yes ? 2 : 1);
        EXPECT_EQ(prompt.questions().last(), qv::uiText(StringId::CenterIdDeleteSeveral).arg(2));
        EXPECT_EQ(prompt.shown.back().preselected, qv::DefaultAnswer::No);
    }
    ASSERT_EQ(store.centerIdCount, 3);
    EXPECT_EQ(store.centerIdTable.entry(0).id(), "zeta");
    EXPECT_EQ(store.centerIdTable.entry(1).id(), "mike");
    EXPECT_EQ(store.centerIdTable.entry(2).id(), "alpine");
}

TEST_F(CenterIdPage, DollarAtTheEndEmptiesThePasswordBox) {
    type(kPassword, QStringLiteral("ab$"));
    EXPECT_EQ(lastNotice(), qv::uiText(StringId::CenterIdPasswordDollar));
    EXPECT_TRUE(edit(kPassword)->text().isEmpty());
    prompt.clear();
    // Pasted text with '$' inside is not caught.
    edit(kPassword)->setText(QStringLiteral("a$b"));
    EXPECT_TRUE(prompt.notices().isEmpty());
    EXPECT_EQ(edit(kPassword)->text(), QStringLiteral("a$b"));
    // A stored password is shown as it is when its row is chosen; nobody typed it.
    receive({entry("alpha", "pw$", 1)});
    selectRow(0);
    EXPECT_TRUE(prompt.notices().isEmpty());
    EXPECT_EQ(edit(kPassword)->text(), QStringLiteral("pw$"));
}

TEST_F(CenterIdPage, ApplySendsTheTableAndTheHeaderAloneWhenEmpty) {
    // Not connected: nothing happens and nothing is said.
    receive({entry("alpha", "pw", 1), entry("beta", "pw", 2)});
    click(kApply);
    EXPECT_TRUE(prompt.notices().isEmpty());

    connectPeer();
    click(kApply);
    const qv::Frame expected = qv::request::writeCenterIds(2, store.centerIdTable);
    const std::vector<uint8_t> wire = qv::encodeFrame(expected);
    ASSERT_EQ(wire.size(), 8u + 13130u);
    EXPECT_EQ(readPeer(wire.size()), wire);
    const qv::FrameHeader header = qv::decodeHeader(wire.data());
    EXPECT_EQ(header.cmd, qv::CMD_SET_CENTERID_MSG);
    EXPECT_EQ(header.dwCount, 2);

    // Deleting every entry and applying sends the header alone, with value 0.
    selectRow(1);
    click(kDel);
    selectRow(0);
    click(kDel);
    ASSERT_EQ(store.centerIdCount, 0);
    click(kApply);
    const std::vector<uint8_t> header0 = readPeer(8);
    const qv::FrameHeader h = qv::decodeHeader(header0.data());
    EXPECT_EQ(h.cmd, qv::CMD_SET_CENTERID_MSG);
    EXPECT_EQ(h.dwCount, 0);
    EXPECT_FALSE(peerHasData(300));
}

TEST_F(CenterIdPage, EnterAndEscapeNeitherApplyNorClose) {
    QDialog window;
    auto* layout = new QVBoxLayout(&window);
    page->setParent(&window);
    layout->addWidget(page.get());
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &window, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &window, &QDialog::reject);
    layout->addWidget(buttons);
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

    receive({entry("alpha", "pw", 1)});
    connectPeer();
    for (int target : {kId, kPassword, kName, kList, kGroup, kApply, kAdd}) {
        for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
            QWidget* widget = control<QWidget>(target);
            widget->setFocus();
            QTest::keyClick(widget, key);
            EXPECT_TRUE(window.isVisible()) << target << " " << key;
            EXPECT_EQ(window.result(), 0) << target << " " << key;
        }
    }
    QTest::keyClick(page.get(), Qt::Key_Escape);
    EXPECT_TRUE(window.isVisible());
    EXPECT_FALSE(peerHasData(300));
    EXPECT_EQ(store.centerIdCount, 1);
    page->setParent(nullptr);
}

TEST_F(CenterIdPage, UnappliedEditsAreMarkedAndConfirmedByTheAppliance) {
    receive({entry("alpha", "pw", 1)});
    EXPECT_FALSE(marker()->isVisible());
    fill(QStringLiteral("beta"), QStringLiteral("pw"), 2);
    click(kAdd);
    EXPECT_TRUE(marker()->isVisible());
    EXPECT_EQ(marker()->text(), qv::uiText(StringId::ChangesNotApplied));

    // Removing the addition again gives the appliance's table back: no marker.
    selectRow(1);
    click(kDel);
    EXPECT_FALSE(marker()->isVisible());

    fill(QStringLiteral("beta"), QStringLiteral("pw"), 2);
    click(kAdd);
    connectPeer();
    click(kApply);
    readPeer(8 + 13130);
    // A refusal keeps the marker; the appliance's 101 clears it.
    page->applyAnswered(0);
    EXPECT_TRUE(marker()->isVisible());
    click(kApply);
    readPeer(8 + 13130);
    page->applyAnswered(101);
    EXPECT_FALSE(marker()->isVisible());
    EXPECT_TRUE(page->confirmLeave());
    EXPECT_TRUE(prompt.questions().isEmpty());
}

TEST_F(CenterIdPage, LeavingWithUnappliedEditsAsksFirst) {
    receive({entry("alpha", "pw", 1)});
    fill(QStringLiteral("beta"), QStringLiteral("pw"), 2);
    click(kAdd);

    // No: stay, edits kept.
    prompt.answers.push_back(false);
    EXPECT_FALSE(page->confirmLeave());
    ASSERT_EQ(prompt.questions().size(), 1);
    EXPECT_EQ(prompt.questions().last(), qv::uiText(StringId::CenterIdDiscardOnLeave));
    EXPECT_EQ(store.centerIdCount, 2);
    EXPECT_TRUE(marker()->isVisible());

    // Yes: the edits go, the store holds the appliance's table again.
    prompt.answers.push_back(true);
    EXPECT_TRUE(page->confirmLeave());
    EXPECT_EQ(store.centerIdCount, 1);
    EXPECT_EQ(list().rowCount(), 1);
    EXPECT_FALSE(marker()->isVisible());
}

TEST_F(CenterIdPage, EditsSurviveTheEndOfTheLinkUntilTheOperatorDecides) {
    receive({entry("alpha", "pw", 1)});
    fill(QStringLiteral("beta"), QStringLiteral("pw"), 2);
    click(kAdd);
    const qv::CenterIdTable edited = store.centerIdTable;
    page->linkEnded();
    // The link ended: nothing was thrown away.
    EXPECT_EQ(store.centerIdCount, 2);
    EXPECT_TRUE(prompt.questions().isEmpty());

    // Logged on again, the page is opened and the appliance's table arrives: keep the edits.
    prompt.answers.push_back(true);
    receive({entry("alpha", "pw", 1)});
    ASSERT_EQ(prompt.questions().size(), 1);
    EXPECT_EQ(prompt.questions().last(), qv::uiText(StringId::CenterIdKeepAfterLogon));
    EXPECT_EQ(store.centerIdCount, 2);
    EXPECT_EQ(store.centerIdTable, edited);
    EXPECT_EQ(cell(1, 1), QStringLiteral("beta"));
    EXPECT_TRUE(marker()->isVisible());

    // Read again without a lost link: asked in other words; No shows the appliance's table.
    prompt.answers.push_back(false);
    receive({entry("alpha", "pw", 1), entry("other", "pw", 3)});
    ASSERT_EQ(prompt.questions().size(), 2);
    EXPECT_EQ(prompt.questions().last(), qv::uiText(StringId::CenterIdKeepAfterReread));
    EXPECT_EQ(store.centerIdCount, 2);
    EXPECT_EQ(cell(1, 1), QStringLiteral("other"));
    EXPECT_FALSE(marker()->isVisible());

    // Without edits a fresh table is shown without a question.
    receive({entry("alpha", "pw", 1)});
    EXPECT_EQ(prompt.questions().size(), 2);
    EXPECT_EQ(list().rowCount(), 1);
}

TEST_F(CenterIdPage, KoreanNameIsStoredInCodePage949) {
    qputenv("QVSETTING_CODEPAGE", "949");
    receive({});
    fill(QStringLiteral("kim"), QStringLiteral("pw"), 1);
    type(kName, QStringLiteral("김철수"));
    click(kAdd);
    qunsetenv("QVSETTING_CODEPAGE");
    ASSERT_EQ(store.centerIdCount, 1);
    EXPECT_EQ(store.centerIdTable.entry(0).name(), "\xB1\xE8\xC3\xB6\xBC\xF6");
}

TEST_F(CenterIdPage, TextOutsideTheCodePageIsRefusedNotStoredAsQuestionMarks) {
    qputenv("QVSETTING_CODEPAGE", "1252");
    receive({});
    fill(QStringLiteral("kim"), QStringLiteral("pw"), 1);
    type(kName, QStringLiteral("김철수"));
    click(kAdd);
    qunsetenv("QVSETTING_CODEPAGE");
    EXPECT_EQ(lastNotice(), qv::uiText(StringId::NameNotConvertible));
    EXPECT_EQ(store.centerIdCount, 0);
}

} // namespace

namespace {

TEST(CenterIdPageKorean, CaptionsAndMessagesFollowTheLanguage) {
    const QByteArray savedLang = qgetenv("LANG");
    const QByteArray savedAll = qgetenv("LC_ALL");
    qunsetenv("LC_ALL");
    qputenv("LANG", "ko_KR.UTF-8");
    {
        qv::CGlobalData store;
        qvtest::ScriptedPrompt prompt;
        CCenteridDlg page(store, prompt);
        const std::pair<int, const char*> captions[] = {
            {1014, "추가"},          {1020, "수정"},          {1015, "삭제"},      {1017, "적 용"},
            {1043, "파일전송 금지"}, {1044, "로그삭제 금지"}, {1042, "슈퍼 유저"},
        };
        for (const auto& [id, caption] : captions) {
            auto* button = qv::findControl<QAbstractButton>(&page, id);
            ASSERT_NE(button, nullptr) << id;
            EXPECT_EQ(button->text(), QString::fromUtf8(caption)) << id;
        }
        page.show();
        QTest::mouseClick(qv::findControl<QAbstractButton>(&page, 1014), Qt::LeftButton);
        ASSERT_EQ(prompt.notices().size(), 1);
        EXPECT_EQ(prompt.notices().first(),
                  qv::uiText(StringId::CenterIdSelectGroup, qv::Language::Korean));
    }
    if (savedLang.isNull())
        qunsetenv("LANG");
    else
        qputenv("LANG", savedLang);
    if (!savedAll.isNull())
        qputenv("LC_ALL", savedAll);
}

} // namespace
