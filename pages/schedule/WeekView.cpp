#include "pages/schedule/WeekView.h"

#include "core/schedule/ScheduleRules.h"
#include "pages/QtText.h"

#include <QHelpEvent>
#include <QPainter>
#include <QToolTip>

#include <algorithm>

namespace sched = qv::schedule;

namespace {

constexpr int kMinCellWidth = 14;
constexpr int kMinRowHeight = 18;
constexpr int kPadding = 4;

} // namespace

QString WeekView::dayName(int weekday) {
    if (weekday == 3 || weekday == 5)
        return qv::uiText(weekday == 3 ? qv::StringId::WeekTuesday : qv::StringId::WeekThursday);
    return qv::fromUtf8(sched::weekdayText(weekday, qv::systemLanguage()));
}

WeekView::WeekView(QWidget* parent) : QWidget(parent) {
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
}

void WeekView::setGrid(sched::WeekGrid grid) {
    m_grid = std::move(grid);
    update();
}

void WeekView::setNow(std::optional<sched::LocalMinute> now) {
    if (now == m_now)
        return;
    m_now = now;
    update();
}

QColor WeekView::functionColor(int function) {
    switch (function) {
    case 0:
        return QColor(0x2e, 0x8b, 0x3e); // ON, green
    case 1:
        return QColor(0xc0, 0x39, 0x2b); // OFF, red
    case 2:
        return QColor(0x1f, 0x61, 0xa8); // PUSH ON, blue
    default:
        return QColor(0xb9, 0x77, 0x0e); // PUSH OFF, amber
    }
}

QSize WeekView::sizeHint() const {
    const QFontMetrics fm = fontMetrics();
    return {fm.horizontalAdvance(QStringLiteral("WWW")) + kPadding + sched::kHoursInDay * 22,
            2 * (fm.height() + kPadding) + sched::kDaysInWeek * 22};
}

QSize WeekView::minimumSizeHint() const {
    const QFontMetrics fm = fontMetrics();
    return {fm.horizontalAdvance(QStringLiteral("WWW")) + kPadding +
                sched::kHoursInDay * kMinCellWidth,
            2 * (fm.height() + kPadding) + sched::kDaysInWeek * kMinRowHeight};
}

WeekView::Geometry WeekView::geometry() const {
    const QFontMetrics fm = fontMetrics();
    Geometry g;
    g.labelWidth = kPadding;
    for (int weekday = 1; weekday <= sched::kDaysInWeek; ++weekday)
        g.labelWidth = std::max(g.labelWidth, fm.horizontalAdvance(dayName(weekday)));
    g.labelWidth += 2 * kPadding;
    g.headerHeight = fm.height() + kPadding;
    const int legendHeight = fm.height() + kPadding;
    g.cellWidth = std::max(1.0, double(width() - g.labelWidth - 1) / sched::kHoursInDay);
    g.rowHeight = std::max(kMinRowHeight,
                           (height() - g.headerHeight - legendHeight - 1) / sched::kDaysInWeek);
    g.legendTop = g.headerHeight + g.rowHeight * sched::kDaysInWeek + kPadding / 2;
    return g;
}

QRectF WeekView::cellRect(const Geometry& g, int weekday, int hour) const {
    return {g.labelWidth + hour * g.cellWidth, double(g.headerHeight + (weekday - 1) * g.rowHeight),
            g.cellWidth, double(g.rowHeight)};
}

void WeekView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().base());
    const Geometry g = geometry();
    const QFontMetrics fm = fontMetrics();
    const int labelEvery = fm.horizontalAdvance(QStringLiteral("00")) + 2 > g.cellWidth ? 3 : 1;

    painter.setPen(palette().color(QPalette::Text));
    for (int hour = 0; hour < sched::kHoursInDay; hour += labelEvery)
        painter.drawText(
            QRectF(g.labelWidth + hour * g.cellWidth, 0, g.cellWidth * labelEvery, g.headerHeight),
            Qt::AlignLeft | Qt::AlignVCenter, QString::number(hour));
    for (int weekday = 1; weekday <= sched::kDaysInWeek; ++weekday) {
        const QRectF row(0, g.headerHeight + (weekday - 1) * g.rowHeight, g.labelWidth,
                         g.rowHeight);
        painter.setPen(palette().color(QPalette::Text));
        painter.drawText(row.adjusted(kPadding, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
                         dayName(weekday));
        for (int hour = 0; hour < sched::kHoursInDay; ++hour) {
            const QRectF cell = cellRect(g, weekday, hour);
            // The appliance's present hour stands out, so the marks ahead are easy to find.
            const bool today =
                m_now && sched::weekdayOf(m_now->year, m_now->month, m_now->day) == weekday;
            if (today)
                painter.fillRect(cell, QColor(255, 250, 205));
            painter.setPen(QColor(210, 210, 210));
            painter.drawRect(cell);
            if (today && hour == m_now->hour) {
                painter.setPen(QPen(QColor(Qt::black), 2));
                painter.drawRect(cell.adjusted(1, 1, -1, -1));
            }
            paintMarks(painter, cell, weekday, hour);
        }
    }
    paintLegend(painter, g);
}

WeekView::CellLayout WeekView::layoutCell(const QRectF& cell, size_t marks, double markWidth) {
    CellLayout layout;
    const QRectF first(cell.left() + 1, cell.top() + 2, markWidth, cell.height() - 4);
    if (double(marks) * (markWidth + 1) - 1 <= cell.width() - 2) {
        for (size_t i = 0; i < marks; ++i)
            layout.marks.push_back(first.translated((markWidth + 1) * double(i), 0));
    } else {
        layout.count = QStringLiteral("\u00d7%1").arg(marks);
    }
    return layout;
}

void WeekView::paintMarks(QPainter& painter, const QRectF& cell, int weekday, int hour) const {
    const std::vector<sched::WeekMark>& marks = m_grid.marks(weekday, hour);
    if (marks.empty())
        return;
    const double markWidth = std::min(cell.width() - 2, double(fontMetrics().height()));
    const CellLayout layout = layoutCell(cell, marks.size(), markWidth);
    painter.setPen(Qt::white);
    for (size_t i = 0; i < layout.marks.size(); ++i) {
        painter.fillRect(layout.marks[i], functionColor(marks[i].function));
        painter.drawText(layout.marks[i], Qt::AlignCenter, QString::number(marks[i].relay));
    }
    if (layout.count.isEmpty())
        return;
    const QRectF badge = cell.adjusted(1, 2, -1, -2);
    const double stripe = badge.height() / double(marks.size());
    for (size_t i = 0; i < marks.size(); ++i)
        painter.fillRect(
            QRectF(badge.left(), badge.top() + stripe * double(i), badge.width(), stripe + 0.5),
            functionColor(marks[i].function));
    // The count on a dark ground reads over any of the colours.
    const QRectF text = badge.adjusted(1, badge.height() / 4, -1, -badge.height() / 4);
    painter.fillRect(text, QColor(0, 0, 0, 160));
    painter.drawText(badge, Qt::AlignCenter, layout.count);
}

void WeekView::paintLegend(QPainter& painter, const Geometry& g) const {
    const QFontMetrics fm = fontMetrics();
    double x = g.labelWidth;
    for (int function = 0; function < sched::kFunctionCount; ++function) {
        const QString text = qv::fromUtf8(sched::functionText(static_cast<uint8_t>(function)));
        const QRectF swatch(x, g.legendTop + 2, fm.height() - 4, fm.height() - 4);
        painter.fillRect(swatch, functionColor(function));
        x += swatch.width() + kPadding;
        painter.setPen(palette().color(QPalette::Text));
        painter.drawText(QPointF(x, g.legendTop + fm.ascent()), text);
        x += fm.horizontalAdvance(text) + 3 * kPadding;
    }
}

bool WeekView::event(QEvent* event) {
    if (event->type() != QEvent::ToolTip)
        return QWidget::event(event);
    auto* help = static_cast<QHelpEvent*>(event);
    const QString text = cellToolTip(help->pos());
    if (text.isEmpty())
        QToolTip::hideText();
    else
        QToolTip::showText(help->globalPos(), text, this);
    return true;
}

QString WeekView::cellToolTip(const QPoint& pos) const {
    const Geometry g = geometry();
    const int hour = static_cast<int>((pos.x() - g.labelWidth) / g.cellWidth);
    const int weekday = (pos.y() - g.headerHeight) / g.rowHeight + 1;
    if (pos.x() < g.labelWidth || pos.y() < g.headerHeight)
        return {};
    QStringList lines;
    for (const sched::WeekMark& mark : m_grid.marks(weekday, hour))
        lines.append(
            QStringLiteral("%1 %2:%3  %4  %5 %6")
                .arg(dayName(weekday), qv::fromUtf8(sched::twoDigits(hour)),
                     qv::fromUtf8(sched::twoDigits(mark.minute)),
                     qv::fromUtf8(sched::functionText(static_cast<uint8_t>(mark.function))),
                     qv::uiText(qv::StringId::ScheduleRelay))
                .arg(mark.relay));
    return lines.join(QLatin1Char('\n'));
}
