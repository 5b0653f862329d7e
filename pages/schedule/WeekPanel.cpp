#include "pages/schedule/WeekPanel.h"

#include "core/schedule/ScheduleRules.h"
#include "pages/ControlFactory.h"
#include "pages/ControlIds.h"
#include "pages/QtText.h"
#include "pages/StoreTableModel.h"
#include "pages/schedule/WeekView.h"

#include <QColor>
#include <QLabel>
#include <QTableView>
#include <QVBoxLayout>

namespace sched = qv::schedule;
using qv::StringId;

namespace {

enum EventColumn : int { kDate, kWeekday, kTime, kFunction, kRelay, kKind };

// Switchings of an exception date are pink, as in the schedule list.
class EventListModel : public StoreTableModel {
public:
    using StoreTableModel::StoreTableModel;

    QVariant data(const QModelIndex& index, int role) const override {
        if (role == Qt::BackgroundRole)
            return StoreTableModel::data(index.siblingAtColumn(kKind), Qt::DisplayRole) ==
                           m_exceptionKind
                       ? QColor(255, 200, 200)
                       : QColor(Qt::white);
        if (role == Qt::ForegroundRole)
            return QColor(Qt::black);
        return StoreTableModel::data(index, role);
    }

private:
    const QString m_exceptionKind = qv::uiText(StringId::ScheduleException);
};

QString dateText(const sched::LocalMinute& when) {
    return QStringLiteral("%1-%2-%3")
        .arg(when.year, 4, 10, QLatin1Char('0'))
        .arg(when.month, 2, 10, QLatin1Char('0'))
        .arg(when.day, 2, 10, QLatin1Char('0'));
}

QString timeText(const sched::LocalMinute& when) {
    return qv::fromUtf8(sched::twoDigits(when.hour) + ":" + sched::twoDigits(when.minute));
}

QStringList eventTexts(const sched::SwitchEvent& event) {
    const qv::Language language = qv::systemLanguage();
    return {dateText(event.when),
            qv::fromUtf8(sched::weekdayText(event.weekday, language)),
            timeText(event.when),
            qv::fromUtf8(sched::functionText(static_cast<uint8_t>(event.mark.function))),
            QString::number(event.mark.relay),
            qv::fromUtf8(sched::kindText(event.exception, language))};
}

} // namespace

WeekPanel::WeekPanel(QWidget* parent) : QWidget(parent) {
    auto* title = new QLabel(qv::uiText(StringId::WeekViewTitle));
    m_grid = new WeekView;
    qv::setControl(m_grid, kWeekGrid, qv::uiText(StringId::WeekGridName));
    m_grid->setObjectName(QStringLiteral("weekGrid"));

    auto* eventsTitle = new QLabel(qv::uiText(StringId::NextEventsTitle));
    m_from = new QLabel(qv::uiText(StringId::WaitingForClock));
    m_eventModel = new EventListModel(
        {{qv::uiText(StringId::ScheduleDate), 80},
         {qv::uiText(StringId::ScheduleWeekday), 55},
         {qv::uiText(StringId::ColumnTime), 50},
         {qv::uiText(StringId::ScheduleFunction), 75},
         {qv::uiText(StringId::ScheduleRelay), 45},
         {qv::uiText(StringId::ScheduleType), 90}},
        [this] { return static_cast<int>(m_events.size()); },
        [this](int row) { return eventTexts(m_events[static_cast<size_t>(row)]); }, this);
    m_eventList =
        qv::controls::listView(kNextEvents, qv::uiText(StringId::NextEventsTitle), "nextEvents");
    m_eventModel->attach(m_eventList);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(title);
    layout->addWidget(m_grid);
    layout->addWidget(eventsTitle);
    layout->addWidget(m_from);
    layout->addWidget(m_eventList, 1);
    setSchedules({});
}

void WeekPanel::setSchedules(std::vector<qv::ScheduleEntry> entries) {
    m_entries = std::move(entries);
    sched::WeekGrid grid(m_entries);
    m_grid->setAccessibleDescription(
        qv::uiText(StringId::WeekGridDescription).arg(grid.markCount()));
    m_grid->setGrid(std::move(grid));
    updateEvents();
}

void WeekPanel::setServerTime(int32_t secondsSince1970) {
    const std::optional<sched::LocalMinute> now = sched::localMinuteOf(secondsSince1970);
    // The clock ticks every second; the events change only with the minute.
    if (now == m_now)
        return;
    m_now = now;
    m_grid->setNow(m_now);
    updateEvents();
}

void WeekPanel::updateEvents() {
    m_events = m_now ? sched::nextEvents(m_entries, *m_now) : std::vector<sched::SwitchEvent>{};
    m_from->setText(m_now ? qv::uiText(StringId::NextEventsFrom)
                                .arg(dateText(*m_now) + QLatin1Char(' ') + timeText(*m_now))
                          : qv::uiText(StringId::WaitingForClock));
    m_eventModel->reload();
}
