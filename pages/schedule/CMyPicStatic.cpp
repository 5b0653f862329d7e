#include "pages/schedule/CMyPicStatic.h"

#include "pages/QtText.h"

#include <QPainter>

namespace {

QString title() {
    return qv::uiText(qv::StringId::ServerClockTitle);
}

void drawLine(QPainter& painter, const QRect& rect, const QString& text, int height) {
    QFont font(QStringLiteral("바탕"));
    font.setPixelSize(height);
    font.setWeight(QFont::Bold);
    painter.setFont(font);
    painter.drawText(rect, Qt::AlignCenter | Qt::TextSingleLine, text);
}

} // namespace

CMyPicStatic::CMyPicStatic(QWidget* parent) : QWidget(parent) {
    setMinimumSize(180, 64);
    setAccessibleName(title());
}

void CMyPicStatic::SetTimeText(const QString& text) {
    m_timeText = text;
    setAccessibleDescription(text);
    update();
}

void CMyPicStatic::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect r = rect();
    painter.fillRect(r, QColor(255, 255, 0));
    painter.setPen(Qt::black);
    const int middle = r.top() + r.height() / 2;
    drawLine(painter, QRect(QPoint(r.left(), r.top() + 2), QPoint(r.right(), middle)), title(), 18);
    drawLine(painter, QRect(QPoint(r.left(), middle), QPoint(r.right(), r.bottom() - 2)),
             m_timeText, 25);
}
