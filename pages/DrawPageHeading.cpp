#include "pages/DrawPageHeading.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>

#include <algorithm>

namespace qv {
namespace {

QFont headingFont(int weight, int height, int width) {
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
    return font;
}

constexpr int kTitleWeight = 400;
constexpr int kTitleHeight = 16;

} // namespace

void DrawPageHeading(QPainter& painter, const QString& text, const QRect& rect,
                     const QColor& textColour, int weight, int height, int width, int flags) {
    painter.save();
    painter.setFont(headingFont(weight, height, width));
    painter.setPen(textColour);
    painter.drawText(rect, flags | Qt::TextSingleLine, text);
    painter.restore();
}

void paintTitleBand(QPainter& painter, int pageWidth, const QColor& band, const QString& title) {
    painter.fillRect(QRect(0, 0, pageWidth, kTitleBandHeight), band);
    // The title's place is (10, 0) to (200, 20). Where this desktop's stand-in for Tahoma is
    // wider than Tahoma, the title runs on along the band instead of losing its last letters.
    const int needed =
        QFontMetrics(headingFont(kTitleWeight, kTitleHeight, 0)).horizontalAdvance(title);
    const int titleWidth = std::max(190, std::min(needed + 4, pageWidth - 20));
    DrawPageHeading(painter, title, QRect(10, 0, titleWidth, kTitleBandHeight), Qt::white,
                    kTitleWeight, kTitleHeight, 0, Qt::AlignLeft | Qt::AlignVCenter);
}

} // namespace qv
