// Group box frames and header sections drawn from what the style learnt of the base style: the
// same pixels as the base style draws, and the base style's own drawing where an element is not
// a rim around one colour or is left to it.

#include "pages/SampledFrameStyle.h"

#include <QGroupBox>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QProxyStyle>
#include <QRegion>
#include <QStyleFactory>
#include <QStyleOption>

#include <gtest/gtest.h>

namespace {

// Fusion, or a frame shaded from top to bottom; counts the frames drawn for a box on screen.
class BaseStyle : public QProxyStyle {
public:
    explicit BaseStyle(bool shaded)
        : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))), m_shaded(shaded) {}

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override {
        if (element == PE_FrameGroupBox && painter->device() == widget)
            ++boxFrames;
        if (element == PE_FrameGroupBox && m_shaded) {
            QLinearGradient shade(option->rect.topLeft(), option->rect.bottomLeft());
            shade.setColorAt(0, QColor(0, 0, 160, 90));
            shade.setColorAt(1, QColor(160, 0, 0, 30));
            painter->fillRect(option->rect, shade);
            return;
        }
        QProxyStyle::drawPrimitive(element, option, painter, widget);
    }

    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override {
        if (element == CE_HeaderSection && option->rect.width() == countedSectionWidth)
            ++sections;
        QProxyStyle::drawControl(element, option, painter, widget);
    }

    mutable int boxFrames = 0;
    int countedSectionWidth = -1;
    mutable int sections = 0;

private:
    bool m_shaded;
};

// The box alone, or placed a little into a larger picture and painted only around a hole, as a
// box is painted around an opaque control in it.
QImage render(QGroupBox& box, QStyle& style, QImage::Format format, bool holed) {
    box.setStyle(&style);
    const QPoint offset = holed ? QPoint(5, 7) : QPoint();
    QImage image(box.size() + QSize(offset.x(), offset.y()), format);
    image.fill(QColor(239, 235, 231));
    const QRect all(QPoint(0, 0), box.size());
    const QRegion paintedAround = QRegion(all).subtracted(QRegion(
        all.adjusted(all.width() / 3, all.height() / 4, -all.width() / 3, -all.height() / 4)));
    box.render(&image, offset, holed ? paintedAround : QRegion());
    return image;
}

// How many pixels two pictures of one size differ in.
int differingPixels(const QImage& a, const QImage& b) {
    int count = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            count += a.pixel(x, y) != b.pixel(x, y);
    return count;
}

TEST(SampledFrameStyle, FramesAreTheBaseStylesPixelForPixel) {
    struct Case {
        bool shaded;
        const char* title;
        bool checkable;
        QSize size;
        QImage::Format format;
        int baseFramesDrawn; // for the box itself, by the base style
        bool holed = false;
    };
    const Case cases[] = {
        {false, "", false, {660, 150}, QImage::Format_RGB32, 0},
        {false, "Address book", false, {660, 330}, QImage::Format_RGB32, 0},
        {false, "Address book", true, {300, 200}, QImage::Format_ARGB32_Premultiplied, 0},
        {false, "", false, {70, 90}, QImage::Format_ARGB32_Premultiplied, 0},
        {false, "Around a hole", false, {600, 500}, QImage::Format_RGB32, 0, true},
        {false, "", false, {8, 8}, QImage::Format_RGB32, 1},          // smaller than its rim
        {false, "", false, {400, 300}, QImage::Format_RGB16, 1},      // not a format it samples
        {true, "Shaded", false, {400, 300}, QImage::Format_RGB32, 1}, // no one colour inside
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.title << " " << c.size.width() << "x"
                                        << c.size.height() << " format " << c.format);
        BaseStyle plain(c.shaded);
        qv::SampledFrameStyle learning(new BaseStyle(c.shaded));
        auto* learningBase = static_cast<BaseStyle*>(learning.baseStyle());
        QGroupBox box(QString::fromLatin1(c.title));
        box.setCheckable(c.checkable);
        box.resize(c.size);
        const QImage expected = render(box, plain, c.format, c.holed);
        EXPECT_EQ(differingPixels(render(box, learning, c.format, c.holed), expected), 0);
        EXPECT_EQ(learningBase->boxFrames, c.baseFramesDrawn);
        // Learnt once, drawn again the same.
        EXPECT_EQ(differingPixels(render(box, learning, c.format, c.holed), expected), 0);
    }
}

// A header section drawn through a style into a picture of its own, a little into it.
QImage drawSection(const QStyle& style, const QStyleOptionHeader& option, QImage::Format format) {
    QImage image(option.rect.size() + QSize(10, 6), format);
    image.fill(QColor(239, 235, 231));
    QPainter painter(&image);
    painter.translate(4, 3);
    style.drawControl(QStyle::CE_HeaderSection, &option, &painter);
    return image;
}

TEST(SampledFrameStyle, HeaderSectionsAreTheBaseStylesPixelForPixel) {
    struct Case {
        QStyleOptionHeader::SectionPosition position;
        QStyle::State state;
        QSize size;
        QImage::Format format;
        int baseSectionsDrawn; // at the section's own width, by the base style
    };
    const QStyle::State plain = QStyle::State_Enabled | QStyle::State_Horizontal;
    const Case cases[] = {
        {QStyleOptionHeader::Beginning, plain, {150, 24}, QImage::Format_RGB32, 0},
        {QStyleOptionHeader::Middle, plain, {300, 24}, QImage::Format_RGB32, 0},
        {QStyleOptionHeader::End, plain, {120, 30}, QImage::Format_ARGB32_Premultiplied, 0},
        {QStyleOptionHeader::OnlyOneSection, plain, {400, 24}, QImage::Format_RGB32, 0},
        {QStyleOptionHeader::Middle,
         plain | QStyle::State_Sunken,
         {200, 24},
         QImage::Format_RGB32,
         0},
        {QStyleOptionHeader::Middle, plain, {60, 24}, QImage::Format_RGB32, 1},  // short lines
        {QStyleOptionHeader::Middle, plain, {200, 24}, QImage::Format_RGB16, 1}, // not sampled
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "position " << c.position << " " << c.size.width() << "x"
                                        << c.size.height() << " format " << c.format);
        BaseStyle plainStyle(false);
        qv::SampledFrameStyle learning(new BaseStyle(false));
        auto* learningBase = static_cast<BaseStyle*>(learning.baseStyle());
        learningBase->countedSectionWidth = c.size.width();
        QStyleOptionHeaderV2 option;
        option.rect = QRect(QPoint(0, 0), c.size);
        option.position = c.position;
        option.orientation = Qt::Horizontal;
        option.state = c.state;
        option.palette = plainStyle.standardPalette();
        const QImage expected = drawSection(plainStyle, option, c.format);
        EXPECT_EQ(differingPixels(drawSection(learning, option, c.format), expected), 0);
        EXPECT_EQ(differingPixels(drawSection(learning, option, c.format), expected), 0);
        EXPECT_EQ(learningBase->sections, 2 * c.baseSectionsDrawn);
    }
}

} // namespace
