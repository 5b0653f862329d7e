#pragma once

#include <QColor>
#include <QRect>
#include <QString>

class QPainter;

namespace qv {

// Draws a page title: font "Tahoma" (or the nearest the system has) `height` pixels high,
// `width` 0 for the face's own width, `weight` on the 100-900 scale, in `textColour`, into
// `rect` with the Qt alignment `flags`; the painter's font and pen are put back afterwards.
void DrawPageHeading(QPainter& painter, const QString& text, const QRect& rect,
                     const QColor& textColour, int weight, int height, int width, int flags);

// The title band every page paints across its top: 20 pixels of `band` colour with the title in
// white at (10, 0)-(200, 20), single line, vertically centred.
void paintTitleBand(QPainter& painter, int pageWidth, const QColor& band, const QString& title);

inline constexpr int kTitleBandHeight = 20;
inline const QColor kWorkingPageBand{136, 102, 119};
inline const QColor kLogonPageBand{102, 102, 153};

} // namespace qv
