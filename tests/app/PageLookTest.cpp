// How the pages read and fit, against the simulated appliance: file choosers titled by what
// they choose, Korean captions, fields and lists that show what they hold.

#include "app/NavLink.h"
#include "pages/QtText.h"
#include "pages/access/CCenteridDlg.h"
#include "pages/network/CInfoDlg.h"
#include "pages/network/CWolDlg.h"
#include "pages/schedule/CIoschDlg.h"
#include "pages/upload/CAxDlg.h"
#include "pages/upload/CLogoDlg.h"
#include "pages/upload/CWebDlg.h"
#include "tests/app/AppTestSupport.h"
#include "tests/support/RunningSim.h"

#include <QComboBox>
#include <QScrollBar>
#include <QTableView>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

namespace {

using qv::StringId;

// A link's states as they are drawn: the page shown has a bar at its left, the focus a tint
// behind the caption, the mouse a plum caption; the hint is the same in every state.
TEST(PageLook, LinksDrawTheShownPageTheFocusAndTheMouse) {
    QWidget column;
    auto* layout = new QVBoxLayout(&column);
    auto* link = new NavLink(3001, QStringLiteral("Product Summary"));
    auto* other = new NavLink(3002, QStringLiteral("Reboot"));
    layout->addWidget(link);
    layout->addWidget(other);
    column.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&column));
    const QSize hint = link->sizeHint();
    const auto rgb = [](const QImage& image, int x, int y) { return image.pixelColor(x, y).rgb(); };
    const QRgb blue = qRgb(0x1a, 0x4f, 0xa0), tint = qRgb(0xe4, 0xe8, 0xf4),
               plum = qRgb(0x88, 0x33, 0x66);
    const struct {
        bool current, focus, mouse;
    } states[] = {
        {false, false, false}, {true, false, false}, {false, true, false}, {false, false, true}};
    for (const auto& state : states) {
        link->setCurrent(state.current);
        (state.focus ? link : other)->setFocus();
        QTest::mouseMove(state.mouse ? link : other, QPoint(4, 4));
        const QImage image = link->grab().toImage();
        const int right = image.width() - 2, middle = image.height() / 2;
        EXPECT_EQ(rgb(image, 1, middle) == blue, state.current);
        EXPECT_EQ(rgb(image, right, 1) == tint, state.focus);
        bool plumSeen = false;
        for (int x = 0; x < image.width() && !plumSeen; ++x)
            for (int y = 0; y < image.height() && !plumSeen; ++y)
                plumSeen = rgb(image, x, y) == plum;
        EXPECT_EQ(plumSeen, state.mouse);
        EXPECT_EQ(link->sizeHint(), hint);
    }
}

TEST(PageLook, ChoosersSayWhatTheyChooseAndControlsFitWhatTheyShow) {
    for (const bool korean : {false, true}) {
        qvtest::LanguageScope language(korean);
        qv::simtest::RunningSim sim;
        qvtest::Window w(QString::fromStdString(sim.address()));
        ASSERT_TRUE(w.logOnAsAdmin());
        w.clickLink(CQVSettingDlg::kLinkCenterIds);
        w.clickLink(CQVSettingDlg::kLinkIoSchedule);
        qvtest::settle();
        const auto page = [&](Page p) { return w.window->page(p); };
        CIoschDlg* iosch = w.window->ioSchedulePage();
        auto* ids = qv::findControl<QTableView>(page(Page::CenterIds), CCenteridDlg::kList);
        auto* function = qv::findControl<QComboBox>(iosch, CIoschDlg::kFunction);
        if (korean) {
            QStringList headers;
            for (int column = 2; column <= 5; ++column)
                headers << ids->model()->headerData(column, Qt::Horizontal).toString();
            EXPECT_EQ(headers.join(QLatin1Char(' ')),
                      QStringLiteral("비밀번호 이름 그룹 최고관리자"));
            EXPECT_EQ(function->accessibleName(), QStringLiteral("구분"));
            continue;
        }
        const std::tuple<QWidget*, int, StringId> choosers[] = {
            {page(Page::Logo), CLogoDlg::kBrowse, StringId::ChooseLogoTitle},
            {page(Page::ActiveX), CAxDlg::kBrowse, StringId::ChooseActiveXTitle},
            {page(Page::WebPage), CWebDlg::kBrowse, StringId::ChooseWebArchiveTitle},
            {page(Page::Wol), CWolDlg::kImport, StringId::ChooseWolImportTitle},
            {page(Page::Summary), CInfoDlg::kBackup, StringId::ChooseBackupTitle},
            {page(Page::Summary), CInfoDlg::kRestore, StringId::ChooseRestoreTitle},
        };
        QStringList titles;
        for (const auto& [on, button, title] : choosers) {
            qv::findControl<QPushButton>(on, button)->click();
            titles << qv::uiText(title);
        }
        EXPECT_EQ(w.prompt.fileTitles, titles);
        EXPECT_EQ(w.prompt.texts(qvtest::ScriptedPrompt::Kind::OpenFile).value(0),
                  QStringLiteral("Logo images (*.gif *.jpg);;All Files(*.*) (*)"));
        // Read-only summary fields look it; center ID names take the room the list has.
        for (QLineEdit* field : page(Page::Summary)->findChildren<QLineEdit*>())
            EXPECT_NE(field->palette().color(QPalette::Base),
                      QApplication::palette().color(QPalette::Base));
        EXPECT_GT(ids->columnWidth(3), 2 * 90);
        EXPECT_EQ(ids->horizontalScrollBar()->maximum(), 0);
        // The group list opens twenty rows at a time.
        auto* group = qv::findControl<QComboBox>(page(Page::CenterIds), CCenteridDlg::kGroup);
        group->showPopup();
        QAbstractItemView* popup = group->view();
        EXPECT_EQ(popup->indexAt(QPoint(2, popup->viewport()->height() - 2)).row() + 1, 20);
        group->hidePopup();
        // Relay and minute keep their width as the IO schedule window grows.
        auto* relay = qv::findControl<QComboBox>(iosch, CIoschDlg::kRelay);
        auto* minute = qv::findControl<QLineEdit>(iosch, CIoschDlg::kMinute);
        const QSize widths(relay->width(), minute->width());
        EXPECT_LE(widths.width(), relay->sizeHint().width());
        iosch->resize(iosch->width() + 400, iosch->height());
        qvtest::settle();
        EXPECT_EQ(QSize(relay->width(), minute->width()), widths);
    }
}

} // namespace
