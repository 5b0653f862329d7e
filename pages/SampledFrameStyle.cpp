#include "pages/SampledFrameStyle.h"

#include <QGroupBox>
#include <QImage>
#include <QPaintEngine>
#include <QPainter>
#include <QRegion>
#include <QStyleOption>

#include <algorithm>
#include <cmath>

namespace qv {
namespace {

// Qt's raster engine blends fewer than this many spans at once on the painting thread and hands
// more to its thread pool in pieces, which for a frame's few pixels costs more than it saves. A
// fill has a span for each row and each piece of the clip the row crosses, so the inside is
// filled in bands of fewer rows, piece of the clip by piece; a horizontal line drawn with a pen
// has a span for each pixel.
constexpr int kPoolSpans = 96;
constexpr int kBandRows = 64;
// A group box frame is learnt from one size and checked on another: different sizes, so a rim or
// tint that depends on the size shows as a difference. Small, since learning draws the base
// style's frame three times, but wide enough for Fusion's stretched image to repeat one column
// along the top and bottom (at 48 columns it does not, and the base style would draw every box).
constexpr QSize kBoxLearnSize(56, 64);
constexpr QSize kBoxCheckSize(72, 76);
// A header section keeps its height (its shading runs from top to bottom); both widths stay
// below the length of line Qt draws on its thread pool.
constexpr int kSectionLearnWidth = 64;
constexpr int kSectionCheckWidth = 80;
// Kinds of frame seen (palettes, states, fonts); more than this is unusual and starts afresh.
constexpr std::size_t kMaxKinds = 32;

// The 32-bit formats whose top byte is alpha (or unused) in memory order, which the samples are
// drawn in; a window's back buffer is one of them.
bool isSampleFormat(int format) {
    switch (format) {
    case QImage::Format_RGB32:
    case QImage::Format_ARGB32:
    case QImage::Format_ARGB32_Premultiplied:
    case QImage::Format_RGBX8888:
    case QImage::Format_RGBA8888:
    case QImage::Format_RGBA8888_Premultiplied:
        return true;
    default:
        return false;
    }
}

// An opaque ground of many different values, so a blend that rounds differently shows.
QImage ground(QSize size, QImage::Format format) {
    QImage image(size, format);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<quint32*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            line[x] = 0xff000000u | quint32((x * 7 + y * 3) & 255) << 16 |
                      quint32((x * 5 + y * 11) & 255) << 8 | quint32((x * 13 + y) & 255);
    }
    return image;
}

// The format of the image the painter writes to in the end (a window's back buffer is one), or
// Format_Invalid where that is not an image.
int targetFormat(const QPainter& painter) {
    const QPaintDevice* device = painter.paintEngine()->paintDevice();
    return device && device->devType() == QInternal::Image
               ? static_cast<const QImage*>(device)->format()
               : QImage::Format_Invalid;
}

// Whether the painter writes to an image the way a sample image would be written to.
bool paintsLikeSample(const QPainter& painter) {
    const QPaintEngine* engine = painter.paintEngine();
    const QTransform& transform = painter.transform();
    return engine && engine->type() == QPaintEngine::Raster &&
           painter.compositionMode() == QPainter::CompositionMode_SourceOver &&
           painter.opacity() == 1.0 && transform.type() <= QTransform::TxTranslate &&
           transform.dx() == std::floor(transform.dx()) &&
           transform.dy() == std::floor(transform.dy());
}

// The part of the painter's device it may paint, in its own coordinates: the region being
// painted where it has one, within its clip. Empty where no part of the device is excluded.
QRegion paintable(const QPainter& painter) {
    const QTransform& toDevice = painter.deviceTransform();
    if (toDevice.type() > QTransform::TxTranslate)
        return {};
    QRegion region = painter.paintEngine()->systemClip();
    if (painter.hasClipping()) {
        const QRegion clip = toDevice.map(painter.clipRegion());
        region = region.isEmpty() ? clip : region.intersected(clip);
    }
    return region.translated(-qRound(toDevice.dx()), -qRound(toDevice.dy()));
}

} // namespace

void SampledFrameStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option,
                                      QPainter* painter, const QWidget* widget) const {
    if (element == PE_FrameGroupBox && option && painter) {
        const auto* frame = qstyleoption_cast<const QStyleOptionFrame*>(option);
        // What a style may look at besides the option: the box's title and check box.
        const auto* box = qobject_cast<const QGroupBox*>(widget);
        const int boxLook =
            box ? (box->title().isEmpty() ? 1 : 0) | (box->isCheckable() ? 2 : 0) : 4;
        const Look look{option->fontMetrics.height(), frame ? int(frame->features) : -1, boxLook};
        const auto drawBase = [this, option, frame, widget](QPainter& on, const QRect& rect) {
            QStyleOptionFrame sample;
            if (frame)
                sample = *frame;
            else
                sample.QStyleOption::operator=(*option);
            sample.rect = rect;
            QProxyStyle::drawPrimitive(PE_FrameGroupBox, &sample, &on, widget);
        };
        if (drawSampled(Part::GroupBoxFrame, look, *option, *painter, kBoxLearnSize, kBoxCheckSize,
                        drawBase))
            return;
    }
    QProxyStyle::drawPrimitive(element, option, painter, widget);
}

void SampledFrameStyle::drawControl(ControlElement element, const QStyleOption* option,
                                    QPainter* painter, const QWidget* widget) const {
    const auto* header = qstyleoption_cast<const QStyleOptionHeader*>(option);
    // Narrower sections the base style draws on this thread anyway.
    if (element == CE_HeaderSection && header && painter && header->orientation == Qt::Horizontal &&
        header->rect.width() >= kPoolSpans) {
        const auto* header2 = qstyleoption_cast<const QStyleOptionHeaderV2*>(option);
        const bool dropTarget = header2 && header2->isSectionDragTarget;
        const Look look{int(header->position), dropTarget ? 1 : 0, header->rect.height()};
        const auto drawBase = [this, header, header2, widget](QPainter& on, const QRect& rect) {
            if (header2) {
                QStyleOptionHeaderV2 sample = *header2;
                sample.rect = rect;
                QProxyStyle::drawControl(CE_HeaderSection, &sample, &on, widget);
                return;
            }
            QStyleOptionHeader sample = *header;
            sample.rect = rect;
            QProxyStyle::drawControl(CE_HeaderSection, &sample, &on, widget);
        };
        const int height = header->rect.height();
        if (drawSampled(Part::HeaderSection, look, *option, *painter,
                        QSize(kSectionLearnWidth, height), QSize(kSectionCheckWidth, height),
                        drawBase))
            return;
    }
    QProxyStyle::drawControl(element, option, painter, widget);
}

bool SampledFrameStyle::drawSampled(Part part, const Look& look, const QStyleOption& option,
                                    QPainter& painter, QSize learnSize, QSize checkSize,
                                    const BaseDrawing& base) const {
    if (!paintsLikeSample(painter))
        return false;
    const int format = targetFormat(painter);
    const qreal ratio = painter.device()->devicePixelRatio();
    const Kind kind{part,
                    option.palette.cacheKey(),
                    int(option.state) ^ int(option.direction) << 30,
                    look,
                    format,
                    ratio,
                    int(painter.renderHints())};
    auto found = m_shapes.find(kind);
    if (found == m_shapes.end()) {
        if (m_shapes.size() >= kMaxKinds)
            m_shapes.clear();
        const Shape learnt = ratio == 1.0 && isSampleFormat(format)
                                 ? learn(learnSize, checkSize, format, painter.renderHints(), base)
                                 : Shape{};
        found = m_shapes.emplace(kind, learnt).first;
    }
    const Shape& shape = found->second;
    if (!shape.known || option.rect.marginsRemoved(shape.rim).isEmpty())
        return false;
    drawLearnt(shape, option.rect, painter);
    return true;
}

SampledFrameStyle::Shape SampledFrameStyle::learn(QSize learnSize, QSize checkSize, int format,
                                                  QPainter::RenderHints hints,
                                                  const BaseDrawing& base) {
    Shape shape;
    // The element alone, on nothing: its pixels as they are blended, its inside the tint.
    QImage alone(learnSize, QImage::Format_ARGB32_Premultiplied);
    alone.fill(Qt::transparent);
    {
        QPainter painter(&alone);
        painter.setRenderHints(hints);
        base(painter, alone.rect());
    }
    // Where every row is the middle row and every column the middle column, a stretch of one
    // line gives the same pixels: that is the inside and the edges; the rest are the corners.
    const int width = alone.width();
    const int height = alone.height();
    const int midX = width / 2;
    const int lowY = height * 3 / 4; // below any title a frame leaves room for
    const auto rowIs = [&alone, width](int y, int like) {
        return std::equal(alone.constScanLine(y), alone.constScanLine(y) + width * 4,
                          alone.constScanLine(like));
    };
    const auto at = [&alone](int x, int y) {
        return reinterpret_cast<const QRgb*>(alone.constScanLine(y))[x];
    };
    const auto columnIs = [&at, height](int x, int like) {
        for (int y = 0; y < height; ++y)
            if (at(x, y) != at(like, y))
                return false;
        return true;
    };
    int left = midX, right = midX, top = lowY, bottom = lowY;
    while (left > 0 && columnIs(left - 1, midX))
        --left;
    while (right < width - 1 && columnIs(right + 1, midX))
        ++right;
    while (top > 0 && rowIs(top - 1, lowY))
        --top;
    while (bottom < height - 1 && rowIs(bottom + 1, lowY))
        ++bottom;
    shape.rim = QMargins(left, top, width - 1 - right, height - 1 - bottom);
    shape.tint = at(midX, lowY);
    shape.sample = alone;

    // Drawn both ways on a ground of many values, at another size: the same pixels, or no use.
    const QRect check(QPoint(0, 0), checkSize);
    QImage byBase = ground(checkSize, QImage::Format(format));
    QImage learnt = byBase;
    {
        QPainter painter(&byBase);
        painter.setRenderHints(hints);
        base(painter, check);
    }
    {
        QPainter painter(&learnt);
        painter.setRenderHints(hints);
        drawLearnt(shape, check, painter);
    }
    shape.known = byBase == learnt;
    return shape;
}

void SampledFrameStyle::drawLearnt(const Shape& shape, const QRect& whole, QPainter& painter) {
    const QMargins& rim = shape.rim;
    const QImage& sample = shape.sample;
    const QRect inside = whole.marginsRemoved(rim);
    const int width = sample.width();
    const int height = sample.height();
    const int midX = width / 2;
    const int lowY = height * 3 / 4;
    const auto at = [&sample](int x, int y) {
        return reinterpret_cast<const QRgb*>(sample.constScanLine(y))[x];
    };
    // Solid fills are Qt's cheapest drawing; a transparent one changes nothing.
    const auto fill = [&painter](const QRect& target, QRgb premultiplied) {
        if (qAlpha(premultiplied) != 0 && !target.isEmpty())
            painter.fillRect(target, QColor::fromRgba(qUnpremultiply(premultiplied)));
    };
    const auto corner = [&painter, &sample](const QPoint& at, const QRect& source) {
        if (!source.isEmpty())
            painter.drawImage(at, sample, source);
    };
    const int right = inside.right() + 1;
    const int below = inside.bottom() + 1;
    corner(whole.topLeft(), QRect(0, 0, rim.left(), rim.top()));
    corner(QPoint(right, whole.top()), QRect(width - rim.right(), 0, rim.right(), rim.top()));
    corner(QPoint(whole.left(), below), QRect(0, height - rim.bottom(), rim.left(), rim.bottom()));
    corner(QPoint(right, below),
           QRect(width - rim.right(), height - rim.bottom(), rim.right(), rim.bottom()));
    // The top and bottom edges: each row one colour along its length.
    for (int y = 0; y < rim.top(); ++y)
        fill(QRect(inside.left(), whole.top() + y, inside.width(), 1), at(midX, y));
    for (int y = 0; y < rim.bottom(); ++y)
        fill(QRect(inside.left(), below + y, inside.width(), 1),
             at(midX, height - rim.bottom() + y));
    // The sides, each column one colour down its length, and the inside, band by band and piece
    // by piece of what may be painted.
    const QRegion open = paintable(painter);
    for (int top = inside.top(); top <= inside.bottom(); top += kBandRows) {
        const int rows = std::min(kBandRows, inside.bottom() - top + 1);
        for (int x = 0; x < rim.left(); ++x)
            fill(QRect(whole.left() + x, top, 1, rows), at(x, lowY));
        for (int x = 0; x < rim.right(); ++x)
            fill(QRect(right + x, top, 1, rows), at(width - rim.right() + x, lowY));
        const QRect band(inside.left(), top, inside.width(), rows);
        if (open.isEmpty()) {
            fill(band, shape.tint);
            continue;
        }
        for (const QRect& piece : open.intersected(band))
            fill(piece, shape.tint);
    }
}

} // namespace qv
