#include "pages/schedule/CIoschDlg.h"

#include "core/schedule/ServerTime.h"
#include "core/schedule/WeekPlan.h"
#include "link/CGlobalData.h"
#include "link/Commands.h"
#include "link/Requests.h"
#include "pages/ControlFactory.h"
#include "pages/ControlIds.h"
#include "pages/DigitsValidator.h"
#include "pages/KeyboardAccess.h"
#include "pages/ListFilter.h"
#include "pages/Prompt.h"
#include "pages/QtText.h"
#include "pages/StoreTableModel.h"
#include "pages/schedule/CMyPicStatic.h"
#include "pages/schedule/WeekPanel.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QColor>
#include <QComboBox>
#include <QDesktopServices>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStyle>
#include <QTableView>
#include <QUrl>
#include <QVBoxLayout>

namespace sched = qv::schedule;
using qv::StringId;

namespace {

QList<StoreTableModel::Column> scheduleColumns() {
    const auto text = [](StringId id) { return qv::uiText(id); };
    return {{QStringLiteral("No"), 70},
            {text(StringId::ScheduleType), 110},
            {text(StringId::ScheduleFunction), 100},
            {text(StringId::ScheduleMonth), 60},
            {text(StringId::ScheduleWeekday), 60},
            {text(StringId::ScheduleDate), 60},
            {text(StringId::ScheduleHour), 60},
            {text(StringId::ScheduleMinute), 60},
            {text(StringId::ScheduleRelay), 60},
            {QStringLiteral("ID"), 0},
            {QStringLiteral("SEQ"), 0}};
}

QStringList numberTexts(int from, int to, bool twoDigits) {
    QStringList texts;
    for (int i = from; i <= to; ++i)
        texts.append(twoDigits ? qv::fromUtf8(sched::twoDigits(i)) : QString::number(i));
    return texts;
}

// Without a display (offscreen, in tests and on servers) there is no spreadsheet program to hand
// a file to.
bool openWithDesktop(const QString& path) {
    const QString platform = QGuiApplication::platformName();
    if (platform == QLatin1String("offscreen") || platform == QLatin1String("minimal"))
        return false;
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

std::optional<int> chosen(const QComboBox* combo) {
    return combo->currentIndex() >= 0 ? std::optional<int>(combo->currentIndex()) : std::nullopt;
}

} // namespace

CIoschDlg::CIoschDlg(qv::CGlobalData& store, qv::Prompt& prompt, QWidget* parent)
    : CTablePageDlg(qv::uiText(StringId::IoScheduleTitle), store, prompt,
                    std::make_unique<qv::UnappliedEdits<qv::ScheduleTable>>(
                        prompt, *store.scheduleTable, store.scheduleCount,
                        qv::UnappliedEditsQuestions{StringId::ScheduleKeepAfterLogon,
                                                    StringId::ScheduleKeepAfterReread,
                                                    StringId::ScheduleDiscardOnLeave}),
                    qv::uiText(StringId::ChangesNotApplied), StringId::ScheduleUploaded, parent),
      m_openInDesktop(openWithDesktop) {
    setWindowFlag(Qt::Window);
    setWindowTitle(qv::uiText(StringId::IoScheduleWindowTitle));
    m_deviceModel = new StoreTableModel(
        {{qv::uiText(StringId::ColumnNumber), 60},
         {qv::uiText(StringId::ColumnId), 180},
         {qv::uiText(StringId::IoColumnStatus), 100}},
        [this] { return sched::usedDevices(this->store().ioDeviceCount); },
        [this](int row) {
            const qv::IoListEntry e = this->store().ioListTable->entry(static_cast<size_t>(row));
            return QStringList{QString::number(row + 1), qv::fromAnsi(e.id()),
                               qv::fromUtf8(sched::ioStatusText(e.status()))};
        },
        this);
    m_scheduleModel = new StoreTableModel(
        scheduleColumns(), [this] { return static_cast<int>(m_slots.size()); },
        [this](int row) {
            const qv::ScheduleEntry e = this->store().scheduleTable->entry(
                static_cast<size_t>(m_slots[static_cast<size_t>(row)]));
            auto texts = sched::rowTexts(e, row + 1, qv::systemLanguage());
            texts[sched::kColId] = qv::ansiToUtf8(texts[sched::kColId], qv::systemCodePage());
            return modelRow(texts);
        },
        this);
    // Exception rows are pink, so the dates that take the place of a weekday stand out.
    m_scheduleModel->setRowRole([this](int row, int role) -> QVariant {
        if (role == Qt::BackgroundRole) {
            const qv::ScheduleEntry e = this->store().scheduleTable->entry(
                static_cast<size_t>(m_slots[static_cast<size_t>(row)]));
            return e.isException() ? QColor(255, 200, 200) : QColor(Qt::white);
        }
        if (role == Qt::ForegroundRole)
            return QColor(Qt::black);
        return {};
    });
    setupControls();
    resize(1560, 680);

    connect(&m_clockTimer, &QTimer::timeout, this, &CIoschDlg::onClockTick);
    connect(m_refresh, &QPushButton::clicked, this, &CIoschDlg::onRefresh);
    connect(m_add, &QPushButton::clicked, this, &CIoschDlg::onAdd);
    connect(m_edit, &QPushButton::clicked, this, &CIoschDlg::onEdit);
    connect(m_delete, &QPushButton::clicked, this, &CIoschDlg::onDelete);
    connect(m_apply, &QPushButton::clicked, this, [this] { onApply(); });
    connect(m_toExcel, &QPushButton::clicked, this, &CIoschDlg::onExport);
    connect(m_fromExcel, &QPushButton::clicked, this, &CIoschDlg::onImport);
    connect(m_exception, &QCheckBox::toggled, this, &CIoschDlg::showEditorKind);
    connect(m_ioDevices->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                if (current.isValid())
                    onDeviceChanged(current.row());
            });
    connect(m_schedules->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &CIoschDlg::onScheduleChanged);
    connect(m_ioDevices->horizontalHeader(), &QHeaderView::sectionClicked, this,
            &CIoschDlg::onDeviceHeaderClicked);
    SetIOListData();
    dropEnterAndEscape();
}

void CIoschDlg::setupControls() {
    namespace make = qv::controls;
    m_clock = new CMyPicStatic;
    qv::setControl(m_clock, kClock, m_clock->accessibleName());
    auto* syncNote = new QLabel(qv::uiText(StringId::ScheduleTimeSyncNote));
    syncNote->setFrameShape(QFrame::Box);

    m_ioDevices = make::listView(kIoDevices, qv::uiText(StringId::IoDevices), "ioDevices");
    m_deviceModel->attach(m_ioDevices);
    m_ioDevices->horizontalHeader()->setSectionsClickable(true);
    m_refresh = make::button(kRefresh, qv::uiText(StringId::IoRefresh), "refresh");
    m_toExcel = make::button(kToExcel, qv::uiText(StringId::ScheduleToExcel), "toExcel");
    m_fromExcel = make::button(kFromExcel, qv::uiText(StringId::ScheduleFromExcel), "fromExcel");

    m_countLine = make::lineEdit(kCountLine, QStringLiteral("count"), "countLine");
    m_countLine->setReadOnly(true);
    m_countLine->setAlignment(Qt::AlignCenter);
    m_exception =
        make::checkBox(kException, qv::uiText(StringId::ScheduleExceptionBox), "exception");
    m_relay = make::comboBox(kRelay, qv::uiText(StringId::ScheduleRelay), "relay");
    m_relay->addItems(numberTexts(1, sched::kRelayCount, false));
    m_function =
        make::comboBox(kFunction, qv::uiText(StringId::ScheduleFunctionSelector), "function");
    for (uint8_t f = 0; f < sched::kFunctionCount; ++f)
        m_function->addItem(qv::fromUtf8(sched::functionText(f)));
    m_dayLabel = new QLabel(qv::uiText(StringId::ScheduleWeekday));
    qv::setControl(m_dayLabel, kDayLabel, m_dayLabel->text());
    m_weekday = make::comboBox(kWeekday, qv::uiText(StringId::ScheduleWeekday), "weekday");
    for (int weekday = 1; weekday <= 7; ++weekday)
        m_weekday->addItem(qv::fromUtf8(sched::weekdayText(weekday, qv::systemLanguage())));
    m_month = make::comboBox(kMonth, qv::uiText(StringId::ScheduleMonth), "month");
    m_month->addItems(numberTexts(1, 12, false));
    m_dateLabel = new QLabel(qv::uiText(StringId::ScheduleDate));
    qv::setControl(m_dateLabel, kDateLabel, m_dateLabel->text());
    const auto digitsOnly = [this](QLineEdit* edit) {
        edit->setValidator(new DigitsValidator(4, this));
    };
    m_date = make::lineEdit(kDate, qv::uiText(StringId::ScheduleDate), "date");
    digitsOnly(m_date);
    m_hour = make::comboBox(kHour, qv::uiText(StringId::ScheduleHour), "hour");
    m_hour->addItems(numberTexts(0, 23, true));
    m_minute = make::lineEdit(kMinute, qv::uiText(StringId::ScheduleMinuteLabel), "minute");
    digitsOnly(m_minute);
    clearSelectors();
    showEditorKind(false);

    m_add = make::button(kAdd, qv::uiText(StringId::ScheduleAdd), "add");
    m_edit = make::button(kEdit, qv::uiText(StringId::ScheduleEdit), "edit");
    m_delete = make::button(kDelete, qv::uiText(StringId::ScheduleDelete), "delete");
    m_apply = make::button(kApply, qv::uiText(StringId::ScheduleApply), "apply");

    m_schedules = make::listView(kSchedules, qv::uiText(StringId::ScheduleList), "schedules");
    m_scheduleFind = make::findBox(kScheduleFind, "scheduleFind");
    ListFilter::attach(m_scheduleModel, m_schedules, m_scheduleFind);
    m_schedules->setColumnHidden(sched::kColId, true);
    m_schedules->setColumnHidden(sched::kColSeq, true);

    auto* left = new QVBoxLayout;
    left->addWidget(m_clock);
    left->addWidget(syncNote);
    left->addWidget(m_ioDevices, 1);
    auto* listButtons = new QHBoxLayout;
    for (QPushButton* b : {m_refresh, m_toExcel, m_fromExcel})
        listButtons->addWidget(b);
    listButtons->addStretch();
    left->addLayout(listButtons);

    auto* editor = new QGridLayout;
    const auto labelled = [editor](int row, int column, QWidget* label, QWidget* field,
                                   Qt::Alignment alignment = {}) {
        editor->addWidget(label, row, column);
        editor->addWidget(field, row, column + 1, alignment);
    };
    // Relay and minute hold a number or two: they keep their own width when the window grows.
    m_minute->setMaximumWidth(m_minute->fontMetrics().horizontalAdvance(QStringLiteral("0000")) +
                              16);
    labelled(0, 0, new QLabel(qv::uiText(StringId::ScheduleFunctionSelector)), m_function);
    labelled(0, 2, new QLabel(qv::uiText(StringId::ScheduleRelay)), m_relay, Qt::AlignLeft);
    editor->addWidget(m_dayLabel, 1, 0);
    editor->addWidget(m_weekday, 1, 1);
    editor->addWidget(m_month, 1, 1);
    labelled(1, 2, m_dateLabel, m_date);
    labelled(2, 0, new QLabel(qv::uiText(StringId::ScheduleHour)), m_hour);
    labelled(2, 2, new QLabel(qv::uiText(StringId::ScheduleMinuteLabel)), m_minute, Qt::AlignLeft);

    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {m_add, m_edit, m_delete})
        buttons->addWidget(b);
    buttons->addStretch();
    buttons->addWidget(unappliedMarker());
    buttons->addWidget(m_apply);

    auto* right = new QVBoxLayout;
    right->addWidget(m_countLine);
    right->addWidget(m_exception);
    right->addLayout(editor);
    right->addLayout(buttons);
    right->addWidget(new QLabel(qv::uiText(StringId::SchedulePriorityNote)));
    right->addWidget(m_scheduleFind);
    right->addWidget(m_schedules, 1);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->addLayout(left, 2);
    layout->addLayout(right, 3);
    m_week = new WeekPanel;
    layout->addWidget(m_week, 2);

    // The editor in the order it is filled in, then the columns from left to right.
    std::vector<QWidget*> tabOrder{m_exception, m_function,  m_relay,        m_weekday,  m_month,
                                   m_date,      m_hour,      m_minute,       m_add,      m_edit,
                                   m_delete,    m_apply,     m_ioDevices,    m_refresh,  m_toExcel,
                                   m_fromExcel, m_countLine, m_scheduleFind, m_schedules};
    for (QWidget* stop : m_week->findChildren<QWidget*>())
        if (stop->focusPolicy() & Qt::TabFocus)
            tabOrder.push_back(stop);
    make::setTabOrder(this, tabOrder);
}

void CIoschDlg::requestContent() {
    if (!store().isConnected())
        return;
    // IO list and schedules first; the clock a moment later, each while the link is up.
    sendIfConnected(qv::request::readIoList());
    sendIfConnected(qv::request::readSchedule());
    QTimer::singleShot(kTimeRequestPauseMs, this, [this] {
        if (store().isConnected())
            store().send(qv::request::readTime());
    });
}

void CIoschDlg::ioListArrived() {
    store().ioBusy = 0;
    m_refresh->setEnabled(true);
    SetIOListData();
}

void CIoschDlg::tableAnswerArrived() {
    store().ioBusy = 0;
    m_ioDevices->setEnabled(true);
}

void CIoschDlg::serverTimeArrived(int32_t secondsSince1970) {
    SetTimeText(qv::fromUtf8(qv::formatServerTime(secondsSince1970)));
    m_week->setServerTime(secondsSince1970);
}

void CIoschDlg::SetIOListData() {
    qv::CGlobalData& s = store();
    sched::sortDevices(*s.ioListTable, s.ioDeviceCount, m_ascending);
    m_deviceModel->reload();
    const int rows = m_deviceModel->rowCount();
    if (m_currentIo >= 0 && m_currentIo < rows) {
        {
            const QSignalBlocker quiet(m_ioDevices->selectionModel());
            m_ioDevices->selectRow(m_currentIo);
        }
        m_ioDevices->scrollTo(m_deviceModel->index(m_currentIo, 0));
        onDeviceChanged(m_currentIo);
    } else {
        SetScheduleData();
    }
}

void CIoschDlg::SetScheduleData() {
    qv::CGlobalData& s = store();
    m_slots = deviceSelected()
                  ? sched::deviceSlots(*s.scheduleTable, s.scheduleCount,
                                       s.ioListTable->entry(static_cast<size_t>(m_currentIo)).id())
                  : std::vector<int>{};
    {
        // The rows change under the selection; the editor keeps what it holds (Add leaves its
        // values for the next schedule).
        const QSignalBlocker quiet(m_schedules->selectionModel());
        m_schedules->clearSelection();
    }
    m_scheduleModel->reload();
    m_week->setSchedules(sched::entriesAt(*s.scheduleTable, m_slots));
    updateCountLine();
    unappliedMarker()->setVisible(hasUnappliedChanges());
}

void CIoschDlg::SetTimeText(const QString& text) {
    m_clock->SetTimeText(text);
}

void CIoschDlg::updateCountLine() {
    m_countLine->setText(qv::uiText(StringId::ScheduleCountLine)
                             .arg(store().scheduleCount)
                             .arg(sched::scheduleLimit(store().maxScheduleCount)));
}

void CIoschDlg::onClockTick() {
    // No time request while an IO list or schedule upload is waiting for its answer.
    if (store().ioBusy == 0 && store().isConnected())
        store().send(qv::request::readTime());
}

void CIoschDlg::onRefresh() {
    // Only a request on its way disables the button: its answer enables it again.
    if (!store().isConnected())
        return;
    m_refresh->setEnabled(false);
    store().ioBusy = 1;
    store().send(qv::request::readIoList());
}

bool CIoschDlg::deviceSelected() {
    return m_currentIo >= 0 && m_currentIo < sched::usedDevices(store().ioDeviceCount);
}

std::vector<sched::Values> CIoschDlg::shownRows() {
    std::vector<sched::Values> rows;
    for (const int slot : m_slots)
        rows.push_back(sched::shownValues(store().scheduleTable->entry(static_cast<size_t>(slot))));
    return rows;
}

sched::EditorInput CIoschDlg::editorInput() const {
    sched::EditorInput in;
    in.function = chosen(m_function);
    in.exception = m_exception->isChecked();
    in.month = chosen(m_month);
    in.date = sched::numberFromText(qv::toUtf8(m_date->text()));
    in.weekday = chosen(m_weekday);
    in.hour = chosen(m_hour);
    in.relay = chosen(m_relay);
    in.minute = sched::numberFromText(qv::toUtf8(m_minute->text()));
    return in;
}

void CIoschDlg::refuse(const qv::Verdict& verdict) {
    prompt().notice(qv::uiText(verdict.message));
}

void CIoschDlg::tableEdited() {
    noteEdit();
}

void CIoschDlg::onAdd() {
    qv::CGlobalData& s = store();
    if (!s.isConnected())
        return;
    const std::string deviceId =
        deviceSelected() ? s.ioListTable->entry(static_cast<size_t>(m_currentIo)).id() : "";
    sched::Values candidate;
    const qv::Verdict verdict =
        sched::validateAdd(deviceSelected(), deviceId, editorInput(), shownRows(), s.scheduleCount,
                           sched::scheduleLimit(s.maxScheduleCount), candidate);
    if (!verdict.ok())
        return refuse(verdict);
    sched::addSchedule(*s.scheduleTable, s.scheduleCount, candidate);
    tableEdited();
}

void CIoschDlg::onEdit() {
    qv::CGlobalData& s = store();
    if (!s.isConnected())
        return;
    const int row = qv::selectedStoreRow(m_schedules);
    const std::vector<sched::Values> shown = shownRows();
    sched::Values candidate;
    const qv::Verdict verdict =
        sched::validateEdit(deviceSelected(), row, editorInput(), shown, candidate);
    if (!verdict.ok())
        return refuse(verdict);
    sched::editSchedule(*s.scheduleTable, s.scheduleCount, shown[static_cast<size_t>(row)],
                        candidate);
    // The list shows what the table now holds, in its order.
    tableEdited();
}

void CIoschDlg::onDelete() {
    const int row = qv::selectedStoreRow(m_schedules);
    if (row < 0 || row >= static_cast<int>(m_slots.size()))
        return refuse(qv::Verdict::refused(StringId::ScheduleSelectToDelete));
    qv::CGlobalData& s = store();
    sched::deleteSchedules(*s.scheduleTable, s.scheduleCount,
                           shownRows()[static_cast<size_t>(row)]);
    tableEdited();
}

bool CIoschDlg::onApply() {
    if (!store().isConnected())
        return false;
    // The clock asks nothing until the answer is in.
    store().ioBusy = 1;
    return apply();
}

qv::Frame CIoschDlg::applyRequest() const {
    const qv::CGlobalData& s = store();
    return qv::request::writeSchedule(s.scheduleCount, *s.scheduleTable);
}

void CIoschDlg::onDeviceChanged(int row) {
    m_currentIo = row;
    clearSelectors();
    SetScheduleData();
}

void CIoschDlg::onDeviceHeaderClicked(int column) {
    if (column != 1)
        return;
    m_ascending = !m_ascending;
    SetIOListData();
}

void CIoschDlg::clearSelectors() {
    for (QComboBox* combo : {m_function, m_month, m_weekday, m_hour, m_relay})
        combo->setCurrentIndex(-1);
    m_minute->setText(QStringLiteral("00"));
    m_date->clear();
}

void CIoschDlg::onScheduleChanged() {
    const int row = qv::selectedStoreRow(m_schedules);
    if (row < 0 || row >= static_cast<int>(m_slots.size())) {
        clearSelectors();
        m_exception->setChecked(false);
        return;
    }
    const sched::Values v = shownRows()[static_cast<size_t>(row)];
    const sched::EditorInput in = sched::editorFromRow(v);
    m_function->setCurrentIndex(in.function.value_or(-1));
    m_month->setCurrentIndex(in.month.value_or(-1));
    m_weekday->setCurrentIndex(in.weekday.value_or(-1));
    m_hour->setCurrentIndex(in.hour.value_or(-1));
    m_relay->setCurrentIndex(in.relay.value_or(-1));
    const auto texts = sched::rowTexts(
        store().scheduleTable->entry(static_cast<size_t>(m_slots[static_cast<size_t>(row)])),
        row + 1, qv::systemLanguage());
    m_minute->setText(qv::fromUtf8(texts[sched::kColMinute]));
    m_date->setText(qv::fromUtf8(texts[sched::kColDate]));
    m_exception->setChecked(in.exception);
    showEditorKind(in.exception);
}

void CIoschDlg::showEditorKind(bool exception) {
    m_dayLabel->setText(
        qv::uiText(exception ? StringId::ScheduleMonth : StringId::ScheduleWeekday));
    m_weekday->setVisible(!exception);
    m_month->setVisible(exception);
    m_dateLabel->setVisible(exception);
    m_date->setVisible(exception);
}

void CIoschDlg::showEvent(QShowEvent* event) {
    CPageDlg::showEvent(event);
    // The columns have their final widths now: the timetable is at least as wide as they are
    // with the vertical scroll bar beside them, so no column hides behind a horizontal one.
    m_schedules->setMinimumWidth(m_schedules->horizontalHeader()->length() +
                                 m_schedules->style()->pixelMetric(QStyle::PM_ScrollBarExtent) +
                                 2 * m_schedules->frameWidth());
}

void CIoschDlg::hideEvent(QHideEvent* event) {
    CPageDlg::hideEvent(event);
    if (event->spontaneous())
        return; // minimised: it is still the administrator's open window
    // Hidden, the window would keep its painted surface (about 4 MB at its size) until it is
    // shown again. The surface goes once the hiding is over; the tables, the lists and any
    // edits stay, and the next show paints a new one. A dialog of the window still open keeps
    // the surface it stands on.
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (isVisible() || !testAttribute(Qt::WA_WState_Created))
                return;
            for (const QWidget* child : findChildren<QWidget*>())
                if (child->isWindow() && child->isVisible())
                    return;
            destroy();
        },
        Qt::QueuedConnection);
}

void CIoschDlg::closeEvent(QCloseEvent* event) {
    // Closing hides the window; it lives as long as the main window. Edits that were not
    // applied are not left behind unseen: they are applied, discarded, or the window stays.
    event->ignore();
    if (hasUnappliedChanges()) {
        enum Answer { Apply, Discard, KeepEditing };
        const int answer =
            prompt().choice(qv::uiText(StringId::ScheduleCloseQuestion),
                            {qv::uiText(StringId::EditsApply), qv::uiText(StringId::EditsDiscard),
                             qv::uiText(StringId::EditsKeepEditing)},
                            Apply);
        if (answer == Apply) {
            // Without the link the table cannot go: the window stays with the edits in it.
            if (!onApply())
                return;
        } else if (answer == Discard) {
            discardEdits();
        } else {
            return;
        }
    }
    stopClockTimer();
    hide();
    Q_EMIT closedByOperator();
}
