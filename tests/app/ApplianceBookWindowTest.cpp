// The logon page's address book against qvsim and a real Secret Service (the test runs inside
// tests/core/appliances/with-secret-service.sh): a book of three appliances, logging on by
// choosing one with its saved password, the appliance's own code page, and the offers after a
// logon.

#include "app/ApplianceBookPanel.h"
#include "core/appliances/ApplianceBook.h"
#include "core/appliances/Keyring.h"
#include "pages/access/CCenteridDlg.h"
#include "tests/support/WindowOnSim.h"

#include <QAbstractItemModel>
#include <QComboBox>
#include <QTableView>

namespace {

using qv::appliances::Appliance;
using qv::appliances::ApplianceBook;
using Panel = ApplianceBookPanel;

class BookWindow : public qvtest::WindowOnSim {
protected:
    void SetUp() override {
        // Texts in the code page the book names, not the one of the environment.
        qunsetenv("QVSETTING_CODEPAGE");
        qputenv("LANG", "en_US.UTF-8");
        path = *qv::appliances::defaultBookPath();
    }
    void TearDown() override {
        for (const Appliance& entry : book.appliances())
            qv::appliances::clearPassword(entry.name, entry.address);
        std::remove(path.c_str());
        qv::setApplianceCodePage(0);
        WindowOnSim::TearDown();
    }

    // The book of three: the simulator as "office" in code page `codePage`, two others.
    void writeBook(int codePage, bool savePassword) {
        ASSERT_FALSE(book.add({"office", sim.address(), "admin", "Seoul", codePage, "3F", {}}));
        ASSERT_FALSE(book.add({"depot", "127.0.0.1:1", "admin", "Busan", 0, "", {}}));
        ASSERT_FALSE(book.add({"annex", "127.0.0.1:2", "root", "Seoul", 0, "", {}}));
        ASSERT_FALSE(qv::appliances::saveBook(book, path));
        if (savePassword) {
            ASSERT_TRUE(qv::appliances::storePassword("office", sim.address(), "admin").ok());
        }
    }
    QTableView* list() { return in<QTableView>(window->logonPage(), Panel::kList); }
    QStringList names() {
        QStringList shown;
        for (int row = 0; row < list()->model()->rowCount(); ++row)
            shown << list()->model()->index(row, 0).data().toString();
        return shown;
    }
    void choose(const QString& name) {
        const int row = static_cast<int>(names().indexOf(name));
        ASSERT_GE(row, 0) << name.toStdString();
        const QModelIndex index = list()->model()->index(row, 0);
        list()->setCurrentIndex(index);
        list()->setFocus();
        QTest::keyClick(list(), Qt::Key_Return);
    }
    QStringList centerIdNames() {
        follow(CQVSettingDlg::kLinkCenterIds);
        auto* ids = in<QTableView>(window->page(Page::CenterIds), CCenteridDlg::kList);
        EXPECT_TRUE(QTest::qWaitFor([&] { return ids->model()->rowCount() > 0; }, kWaitMs));
        QStringList shown;
        for (int row = 0; row < ids->model()->rowCount(); ++row)
            for (int column = 0; column < ids->model()->columnCount(); ++column)
                shown << ids->model()->index(row, column).data().toString();
        return shown;
    }

    std::string path;
    ApplianceBook book;
};

TEST_F(BookWindow, ChoosingAnApplianceLogsOnWithItsSavedPasswordAndNotesWhatItSaw) {
    writeBook(949, true);
    openWindow();
    // Sorted by group, then name; the find box reads every column and the note.
    EXPECT_EQ(names(), (QStringList{QStringLiteral("depot"), QStringLiteral("annex"),
                                    QStringLiteral("office")}));
    type(window->logonPage(), Panel::kFind, QStringLiteral("3f"));
    EXPECT_EQ(names(), QStringList{QStringLiteral("office")});

    choose(QStringLiteral("office"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return store.PageIndex == 1; }, kWaitMs));
    // The English window reads the Korean center ID name in the entry's code page.
    EXPECT_TRUE(centerIdNames().contains(QStringLiteral("관제센터")));
    EXPECT_TRUE(prompt.questions().isEmpty());

    const qv::appliances::LoadResult kept = qv::appliances::loadBook(path);
    ASSERT_TRUE(kept.ok());
    const Appliance* office = kept.book->find("office");
    ASSERT_NE(office, nullptr);
    EXPECT_FALSE(office->lastSeen.when.empty());
    EXPECT_EQ(office->lastSeen.softwareVersion.substr(0, 4), "4.12");
}

TEST_F(BookWindow, WithoutASavedPasswordTheChoiceAsksForIt) {
    writeBook(949, false);
    openWindow();
    choose(QStringLiteral("office"));
    QLineEdit* password = in<QLineEdit>(window->logonPage(), CLogonDlg::kPassword);
    ASSERT_TRUE(QTest::qWaitFor([&] { return password->hasFocus(); }, kWaitMs));
    EXPECT_EQ(store.PageIndex, 0);
    EXPECT_EQ(in<QLineEdit>(window->logonPage(), CLogonDlg::kServerAddress)->text(),
              simAddress());
    qvtest::typeInto(password, QStringLiteral("admin"));
    QTest::keyClick(password, Qt::Key_Return);
    EXPECT_TRUE(QTest::qWaitFor([&] { return store.PageIndex == 1; }, kWaitMs));
}

TEST_F(BookWindow, KoreanTextsUnderAnotherCodePageBringAnOfferToSwitch) {
    writeBook(1252, true);
    openWindow();
    prompt.answers.push_back(true); // "The texts of office read as Korean..."
    choose(QStringLiteral("office"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return store.PageIndex == 1; }, kWaitMs));
    // Read in 1252 first; the names read as Korean, and the switch reads them again.
    EXPECT_FALSE(centerIdNames().contains(QStringLiteral("관제센터")));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !prompt.questions().isEmpty(); }, kWaitMs));
    EXPECT_EQ(prompt.questions().front(),
              qv::uiText(qv::StringId::BookOfferKorean).arg(QStringLiteral("office")));
    EXPECT_TRUE(centerIdNames().contains(QStringLiteral("관제센터")));
    const qv::appliances::LoadResult kept = qv::appliances::loadBook(path);
    ASSERT_TRUE(kept.ok());
    EXPECT_EQ(kept.book->find("office")->codePage, 949);
}

TEST_F(BookWindow, ATypedLogonWithSavePasswordIsOfferedToTheBookAndTheKeyring) {
    ASSERT_FALSE(qv::appliances::saveBook(book, path));
    openWindow();
    type(window->logonPage(), Panel::kName, QStringLiteral("lab"));
    QTest::mouseClick(in<QAbstractButton>(window->logonPage(), CLogonDlg::kSavePassword),
                      Qt::LeftButton, {}, QPoint(4, 4));
    prompt.answers.push_back(true); // "Add lab to the address book?"
    ASSERT_TRUE(logOn());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !prompt.questions().isEmpty(); }, kWaitMs));
    EXPECT_EQ(prompt.questions().front(),
              qv::uiText(qv::StringId::BookOfferAdd).arg(QStringLiteral("lab")));
    std::string saved;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return qv::appliances::lookupPassword("lab", sim.address(), saved).ok(); },
        kWaitMs));
    EXPECT_EQ(saved, "admin");
    const qv::appliances::LoadResult kept = qv::appliances::loadBook(path);
    ASSERT_TRUE(kept.ok() && kept.book->find("lab"));
    book = *kept.book;
}

// Add, Edit and Remove refuse what qvctl refuses and leave the file as it was; Remove takes
// the saved password with it.
TEST_F(BookWindow, AddEditRemoveKeepTheFileAndTheKeyringInStep) {
    writeBook(0, true);
    openWindow();
    QWidget* logon = window->logonPage();
    const std::string before = bookText(book);

    type(logon, Panel::kName, QStringLiteral("office"));
    click(logon, Panel::kAdd); // the name is taken
    EXPECT_EQ(prompt.notices().size(), 1);
    EXPECT_EQ(bookText(*qv::appliances::loadBook(path).book), before);

    choose(QStringLiteral("annex"));
    type(logon, Panel::kNote, QStringLiteral("second floor"));
    click(logon, Panel::kEdit);
    EXPECT_EQ(qv::appliances::loadBook(path).book->find("annex")->note, "second floor");

    list()->setCurrentIndex(list()->model()->index(static_cast<int>(names().indexOf(QStringLiteral("office"))), 0));
    prompt.answers.push_back(true); // "Remove office...?"
    click(logon, Panel::kRemove);
    EXPECT_EQ(qv::appliances::loadBook(path).book->find("office"), nullptr);
    std::string saved;
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            return qv::appliances::lookupPassword("office", sim.address(), saved).status ==
                   qv::appliances::KeyringStatus::NotFound;
        },
        kWaitMs));
}

} // namespace
