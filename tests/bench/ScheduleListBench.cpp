// Fills the IO schedule window's two lists with full tables (1024 IO devices, 2040 schedules of
// the selected device) as the appliance's replies do, and renders them; then does the same with
// two bare QTableViews over a minimal table model holding the same rows, in the same iteration,
// and prints the ratio of the two times. Not a test: run it with scripts/bench-lists.sh.

#include "link/CGlobalData.h"
#include "pages/ControlIds.h"
#include "pages/Prompt.h"
#include "pages/schedule/CIoschDlg.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QHeaderView>
#include <QTableView>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <ctime>
#include <memory>
#include <optional>
#include <vector>

namespace {

constexpr int kDevices = 1024;
constexpr int kSchedules = 2040;
// Milliseconds per fill of the window's lists and of the bare views, and their ratio.
constexpr char kWindowMs[] = "window_ms";
constexpr char kBareMs[] = "bare_ms";
constexpr char kRatio[] = "ratio";

// Answers nothing: the benchmark raises no message.
class SilentPrompt : public qv::Prompt {
public:
    void notice(const QString&) override {}
    void information(const QString&) override {}
    bool question(const QString&, qv::DefaultAnswer) override { return true; }
    int choice(const QString&, const QStringList&, int preselected) override { return preselected; }
    std::optional<QString> openFileName(const QString&, const QString&) override { return {}; }
    std::optional<QString> saveFileName(const QString&, const QString&, const QString&) override {
        return {};
    }
};

// Every schedule belongs to IO-0001, the first device in the list, so its list is full.
void fillStore(qv::CGlobalData& store) {
    for (int i = 0; i < kDevices; ++i) {
        qv::IoListEntry e;
        char id[32];
        std::snprintf(id, sizeof id, "IO-%04d", i + 1);
        e.setId(id);
        e.setStatus(static_cast<uint8_t>(i % 64));
        store.ioListTable->setEntry(static_cast<size_t>(i), e);
    }
    store.ioDeviceCount = kDevices;
    for (int i = 0; i < kSchedules; ++i) {
        const bool exception = i % 7 == 6;
        qv::ScheduleEntry e;
        e.setId("IO-0001");
        e.setFunction(static_cast<uint8_t>(i % 4 + (exception ? 50 : 0)));
        e.setRelay(static_cast<uint8_t>(i % 4 + 1));
        e.setDay(static_cast<uint8_t>(exception ? i % 12 + 1 : i % 7 + 1));
        e.setDate(static_cast<uint8_t>(exception ? i % 28 + 1 : 0));
        e.setHour(static_cast<uint16_t>(i % 24));
        e.setMinute(static_cast<uint16_t>(i % 60));
        e.setSeq(i + 1);
        store.scheduleTable->setEntry(static_cast<size_t>(i), e);
    }
    store.scheduleCount = kSchedules;
    store.maxScheduleCount = kSchedules;
}

// The least a table model can be: the rows' texts held in memory, handed out as asked.
class BareModel : public QAbstractTableModel {
public:
    explicit BareModel(std::vector<QStringList> rows) : m_rows(std::move(rows)) {}
    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
    }
    int columnCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() || m_rows.empty() ? 0 : static_cast<int>(m_rows.front().size());
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (role != Qt::DisplayRole)
            return {};
        return m_rows[static_cast<size_t>(index.row())][index.column()];
    }
    void refill() {
        beginResetModel();
        endResetModel();
    }

private:
    std::vector<QStringList> m_rows;
};

// A bare view with the window's view's size, column widths and hidden columns.
std::unique_ptr<QTableView> bareViewLike(const QTableView* window, BareModel* model) {
    auto view = std::make_unique<QTableView>();
    view->setModel(model);
    // As many rows on show as in the window: its rows are lower than the style's default.
    view->verticalHeader()->setMinimumSectionSize(window->verticalHeader()->minimumSectionSize());
    view->verticalHeader()->setDefaultSectionSize(window->verticalHeader()->defaultSectionSize());
    view->verticalHeader()->setVisible(false);
    for (int column = 0; column < model->columnCount(); ++column) {
        view->setColumnWidth(column, window->columnWidth(column));
        view->setColumnHidden(column, window->isColumnHidden(column));
    }
    view->setFont(window->font());
    view->resize(window->size());
    view->show();
    return view;
}

std::vector<QStringList> rowsOf(const QTableView* view) {
    std::vector<QStringList> rows;
    const QAbstractItemModel* model = view->model();
    for (int row = 0; row < model->rowCount(); ++row) {
        QStringList texts;
        for (int column = 0; column < model->columnCount(); ++column)
            texts.append(model->index(row, column).data().toString());
        rows.push_back(texts);
    }
    return rows;
}

struct Fixture {
    Fixture() {
        fillStore(store);
        page = std::make_unique<CIoschDlg>(store, prompt);
        page->show();
        devices = page->ioDeviceList();
        schedules = qv::findControl<QTableView>(page.get(), CIoschDlg::kSchedules);
        bareDevices = std::make_unique<BareModel>(rowsOf(devices));
        bareSchedules = std::make_unique<BareModel>(rowsOf(schedules));
        bareDeviceView = bareViewLike(devices, bareDevices.get());
        bareScheduleView = bareViewLike(schedules, bareSchedules.get());
    }
    qv::CGlobalData store;
    SilentPrompt prompt;
    std::unique_ptr<CIoschDlg> page;
    QTableView* devices;
    QTableView* schedules;
    std::unique_ptr<BareModel> bareDevices;
    std::unique_ptr<BareModel> bareSchedules;
    std::unique_ptr<QTableView> bareDeviceView;
    std::unique_ptr<QTableView> bareScheduleView;
};

// Made in main() once the application exists, and gone before it goes.
Fixture* g_fixture = nullptr;

Fixture& fixture() {
    return *g_fixture;
}

// The two replies of opening the window, then what the operator sees.
void fillWindowLists(Fixture& f) {
    f.page->ioListArrived();
    f.page->tableArrived();
    benchmark::DoNotOptimize(f.devices->grab());
    benchmark::DoNotOptimize(f.schedules->grab());
}

void fillBareViews(Fixture& f) {
    f.bareDevices->refill();
    f.bareSchedules->refill();
    benchmark::DoNotOptimize(f.bareDeviceView->grab());
    benchmark::DoNotOptimize(f.bareScheduleView->grab());
}

// The comparison holds only while both views paint the same rows.
bool sameRowsShown(const QTableView* window, const QTableView* bare) {
    const auto lastRow = [](const QTableView* view) {
        return view->rowAt(view->viewport()->height() - 1);
    };
    return window->viewport()->size() == bare->viewport()->size() &&
           lastRow(window) == lastRow(bare);
}

// Processor time of this thread in seconds: the neighbours on a shared machine add to the wall
// time, hardly to this.
double threadSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) * 1e-9;
}

// Every iteration fills the window's lists and then the bare views, so both meet the same load
// of the machine and the ratio holds even while that load changes.
void listsBesideBareViews(benchmark::State& state) {
    Fixture& f = fixture();
    double window = 0;
    double bare = 0;
    for (auto _ : state) {
        const double start = threadSeconds();
        fillWindowLists(f);
        const double between = threadSeconds();
        fillBareViews(f);
        bare += threadSeconds() - between;
        window += between - start;
    }
    if (f.schedules->model()->rowCount() != kSchedules ||
        f.devices->model()->rowCount() != kDevices)
        state.SkipWithError("the lists are not full");
    if (!sameRowsShown(f.devices, f.bareDeviceView.get()) ||
        !sameRowsShown(f.schedules, f.bareScheduleView.get()))
        state.SkipWithError("the bare views show other rows than the window");
    using benchmark::Counter;
    state.counters[kWindowMs] = Counter(window * 1e3, Counter::kAvgIterations);
    state.counters[kBareMs] = Counter(bare * 1e3, Counter::kAvgIterations);
    state.counters[kRatio] = bare > 0 ? window / bare : 0;
}

// Keeps the median ratio over the repetitions for the closing line.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median")
                if (const auto ratio = run.counters.find(kRatio); ratio != run.counters.end())
                    medianRatio = ratio->second.value;
        ConsoleReporter::ReportRuns(runs);
    }
    std::optional<double> medianRatio;
};

} // namespace

BENCHMARK(listsBesideBareViews)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    auto lists = std::make_unique<Fixture>();
    g_fixture = lists.get();
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    g_fixture = nullptr;
    lists.reset();
    if (reporter.medianRatio)
        std::printf("window lists / bare table views (processor time, median): %.2f\n",
                    *reporter.medianRatio);
    benchmark::Shutdown();
    return reporter.medianRatio ? 0 : 1;
}
