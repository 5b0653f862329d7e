#pragma once

#include <QImage>
#include <QMargins>
#include <QPainter>
#include <QProxyStyle>
#include <QRgb>

#include <map>
#include <tuple>

namespace qv {

// The application's style, drawing group box frames with the same pixels at a fraction of the
// cost. Fusion draws a frame by stretching a small image over the whole box, its inside a faint
// uniform tint, blended pixel by pixel through Qt's image scaler and, for a box taller than
// about 96 rows, handed to Qt's thread pool in pieces: a third of the window's first paint.
// Here a frame the base style draws as corners, edges and a uniform inside is learnt from the
// base style once per kind of frame (drawn alone on a small sample) and then drawn from that
// sample: corners as they are, edges stretched from one line, the inside filled with the tint as
// one colour, in bands Qt keeps on this thread. A kind is drawn this way only when a sample of
// another size drawn both ways gave the same pixels; anything else the base style draws.
class GroupBoxFrameStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget = nullptr) const override;

private:
    // A frame the base style draws as a rim around a uniform inside.
    struct Shape {
        bool known = false;
        QMargins rim;
        QRgb tint = 0; // premultiplied
        QImage sample; // the frame drawn alone, where the rim's pixels are taken from
    };
    using Kind = std::tuple<qint64, int, int, int, int, int, qreal, int>;

    const Shape& shapeOf(const QStyleOption& option, const QPainter& painter,
                         const QWidget* widget) const;
    Shape learn(const QStyleOption& option, int format, qreal ratio, QPainter::RenderHints hints,
                const QWidget* widget) const;
    static void drawLearnt(const Shape& shape, const QRect& whole, QPainter& painter);

    mutable std::map<Kind, Shape> m_shapes;
};

} // namespace qv
