#pragma once

// The week grid of the IO schedule window: weekdays down, hours across, one mark per switching
// of a normal schedule, coloured by its function, with its relay number inside. Painted whole,
// so a device with two thousand schedules costs no widget per cell.

#include "core/schedule/WeekPlan.h"

#include <QColor>
#include <QRectF>
#include <QString>
#include <QWidget>

#include <optional>
#include <vector>

class WeekView : public QWidget {
    Q_OBJECT
public:
    explicit WeekView(QWidget* parent = nullptr);

    void setGrid(qv::schedule::WeekGrid grid);
    // The appliance's weekday (1..7) and hour, marked on the grid; none until its clock is known.
    void setNow(std::optional<qv::schedule::LocalMinute> now);
    const qv::schedule::WeekGrid& grid() const { return m_grid; }

    // The mark colour of function 0 ON, 1 OFF, 2 PUSH ON, 3 PUSH OFF.
    static QColor functionColor(int function);

    // How a cell's marks are drawn: side by side while they all fit whole, with their relay
    // numbers; else one badge across the cell with their count ("×6"), over stripes of their
    // colours, so a cell with six never looks like a cell with one.
    struct CellLayout {
        std::vector<QRectF> marks; // one per mark, left to right; empty for a badge
        QString count;             // the badge's text; empty when the marks fit
    };
    // Weekday 1 (Sunday) .. 7 as the grid names it: "TUE" and "THU" as a calendar spells them
    // (the list keeps the appliance's own texts).
    static QString dayName(int weekday);
    static CellLayout layoutCell(const QRectF& cell, size_t marks, double markWidth);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;

private:
    struct Geometry {
        int labelWidth;
        int headerHeight;
        double cellWidth;
        int rowHeight;
        int legendTop;
    };
    Geometry geometry() const;
    QRectF cellRect(const Geometry& g, int weekday, int hour) const;
    void paintMarks(QPainter& painter, const QRectF& cell, int weekday, int hour) const;
    void paintLegend(QPainter& painter, const Geometry& g) const;
    // The marks of the cell under `pos` as the tooltip lists them; empty outside the cells.
    QString cellToolTip(const QPoint& pos) const;

    qv::schedule::WeekGrid m_grid;
    std::optional<qv::schedule::LocalMinute> m_now;
};
