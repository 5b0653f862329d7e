#include "DrawPageHeading.h"

#include <QFont>
#include <QPainter>

namespace qv {

void DrawPageHeading(QPainter& painter, const QString& text, const QRect& rect,
                     const QColor& textColour, int weight, int height, int width, int flags) {
    painter.save();
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(height);
    font.setWeight(static_cast<QFont::Weight>(weight));
    font.setItalic(false);
    font.setUnderline(false);
    font.setStrikeOut(false);
    if (width > 0) {
        // A fixed average character width stretches the face, as the appliance's own tools do.
        const int natural = QFontMetrics(font).averageCharWidth();
        if (natural > 0)
            font.setStretch(width * 100 / natural);
    }
    painter.setFont(font);
    painter.setPen(textColour);
    painter.drawText(rect, flags | Qt::TextSingleLine, text);
    painter.restore();
}

void paintTitleBand(QPainter& painter, int pageWidth, const QColor& band, const QString& title) {
    painter.fillRect(QRect(0, 0, pageWidth, kTitleBandHeight), band);
    DrawPageHeading(painter, title, QRect(10, 0, 190, kTitleBandHeight), Qt::white, 400, 16, 0,
                    Qt::AlignLeft | Qt::AlignVCenter);
}

} // namespace qv
