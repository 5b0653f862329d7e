// Every page asks the appliance for what it shows itself, byte for byte as the appliance expects
// it, and every table page says the appliance's answer to Apply in its own words.

#include "link/Commands.h"
#include "link/Frame.h"
#include "link/Requests.h"
#include "pages/CTablePageDlg.h"
#include "pages/QtText.h"
#include "pages/access/CBlacklistDlg.h"
#include "pages/access/CCenteridDlg.h"
#include "pages/network/CInfoDlg.h"
#include "pages/network/CNetworkDlg.h"
#include "pages/network/CWolDlg.h"
#include "pages/schedule/CIoschDlg.h"
#include "pages/upload/CUpdateDlg.h"
#include "tests/support/PageFixture.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>

namespace {

using qv::StringId;

struct PageCase {
    const char* name;
    std::function<CPageDlg*(qv::CGlobalData&, qv::Prompt&)> make;
    std::vector<qv::Frame> requests;
    // What a table page says when the appliance took its table; none for the other pages.
    std::optional<StringId> applied;
    // A refused table is said, or shown by the marker alone.
    bool refusalSaid = true;
};

template <class Page> auto maker() {
    return [](qv::CGlobalData& store, qv::Prompt& prompt) -> CPageDlg* {
        return new Page(store, prompt);
    };
}

const std::vector<PageCase>& pageCases() {
    namespace rq = qv::request;
    static const std::vector<PageCase> cases{
        {"summary", maker<CInfoDlg>(), {rq::readSummary()}, std::nullopt},
        {"center IDs", maker<CCenteridDlg>(), {rq::readCenterIds()}, StringId::CenterIdSet},
        {"Wake-on-LAN", maker<CWolDlg>(), {rq::readWol()}, StringId::WolSet},
        {"network", maker<CNetworkDlg>(), {rq::readNetwork()}, std::nullopt},
        {"update", maker<CUpdateDlg>(), {rq::readAutoUpdate()}, std::nullopt},
        {"blacklist", maker<CBlacklistDlg>(), {rq::readBlacklist()}, StringId::BlockIpListChanged},
        {"IO schedule",
         maker<CIoschDlg>(),
         {rq::readIoList(), rq::readSchedule()},
         StringId::ScheduleUploaded,
         false},
    };
    return cases;
}

class PageRequests : public qvtest::PageFixture<CPageDlg> {};

TEST_F(PageRequests, EachPageAsksForWhatItShowsOnlyWhileConnected) {
    for (const PageCase& c : pageCases()) {
        page.reset(c.make(store, prompt));
        // Without a link nothing is sent and nothing breaks.
        page->requestContent();
    }
    connectPeer();
    for (const PageCase& c : pageCases()) {
        page.reset(c.make(store, prompt));
        page->requestContent();
        std::vector<uint8_t> expected;
        for (const qv::Frame& request : c.requests) {
            const std::vector<uint8_t> wire = qv::encodeFrame(request);
            expected.insert(expected.end(), wire.begin(), wire.end());
        }
        EXPECT_EQ(readPeer(expected.size()), expected) << c.name;
    }
}

TEST_F(PageRequests, TablePagesSayTheAppliancesAnswerToApply) {
    for (const PageCase& c : pageCases()) {
        if (!c.applied)
            continue;
        page.reset(c.make(store, prompt));
        auto* table = dynamic_cast<CTablePageDlg*>(page.get());
        ASSERT_NE(table, nullptr) << c.name;
        table->applyAnswered(qv::result::kSuccess);
        EXPECT_EQ(lastNotice(), qv::uiText(*c.applied)) << c.name;
        // A refusal says the appliance's value, or leaves it to the marker.
        prompt.clear();
        table->applyAnswered(7);
        EXPECT_EQ(lastNotice(),
                  c.refusalSaid ? qv::uiText(StringId::ChangeRefused).arg(7) : QString())
            << c.name;
    }
}

} // namespace
