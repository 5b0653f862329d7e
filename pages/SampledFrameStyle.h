#pragma once

#include <QImage>
#include <QMargins>
#include <QPainter>
#include <QProxyStyle>
#include <QRgb>

#include <functional>
#include <map>
#include <tuple>

namespace qv {

// The application's style, drawing group box frames and wide table header sections with the same
// pixels at a fraction of the cost. Fusion draws a group box frame by stretching a small image
// over the whole box, its inside a faint uniform tint, through Qt's image scaler, and a header
// section's lines into an image a pixel at a time. Qt hands any draw of about a hundred spans or
// more (a box that tall, a line that long) to its thread pool in pieces, and waking those threads
// costs more than the drawing: on the logon page, a third of the first paint. Here such an element
// is learnt from the base style once per kind (drawn alone on a small sample) and then drawn from
// that sample: corners as they are, edges stretched from one line, the inside filled with its one
// colour, in bands Qt keeps on this thread. A kind is drawn this way only when a sample of another
// size drawn both ways gave the same pixels; anything else the base style draws.
class SampledFrameStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget = nullptr) const override;
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget = nullptr) const override;

private:
    enum class Part { GroupBoxFrame, HeaderSection };
    // An element the base style draws as a rim around a uniform inside.
    struct Shape {
        bool known = false;
        QMargins rim;
        QRgb tint = 0; // premultiplied
        QImage sample; // the element drawn alone, where the rim's pixels are taken from
    };
    // What besides the option's palette and state an element's look depends on.
    using Look = std::tuple<int, int, int>;
    using Kind = std::tuple<Part, qint64, int, Look, int, qreal, int>;
    // The base style's element drawn to fill a rectangle.
    using BaseDrawing = std::function<void(QPainter&, const QRect&)>;

    bool drawSampled(Part part, const Look& look, const QStyleOption& option, QPainter& painter,
                     QSize learnSize, QSize checkSize, const BaseDrawing& base) const;
    static Shape learn(QSize learnSize, QSize checkSize, int format, QPainter::RenderHints hints,
                       const BaseDrawing& base);
    static void drawLearnt(const Shape& shape, const QRect& whole, QPainter& painter);

    mutable std::map<Kind, Shape> m_shapes;
};

} // namespace qv
