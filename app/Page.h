#pragma once

// The pages of the main window. The store keeps the shown page as its PageIndex, the number
// each page has here: 0 is the logon page, 1 to 10 the framed pages, 11 the IO schedule, which
// is a window of its own.
enum class Page : int {
    Logon = 0,
    Summary = 1,
    Admin = 2,
    CenterIds = 3,
    Wol = 4,
    Network = 5,
    Update = 6,
    Logo = 7,
    ActiveX = 8,
    WebPage = 9,
    Blacklist = 10,
    IoSchedule = 11,
};

inline constexpr int kPageCount = 12;

constexpr int pageIndex(Page page) {
    return static_cast<int>(page);
}
