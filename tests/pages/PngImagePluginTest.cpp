// PNG images read through the program's PNG plugin come out as Qt's own PNG reader gives them,
// and reading one loads no image format plugin.

#include "pages/PngImagePlugin.h"

#include <QBuffer>
#include <QFile>
#include <QIcon>
#include <QImageReader>
#include <QImageWriter>
#include <QPixmap>
#include <QtPlugin>

#include <gtest/gtest.h>

Q_IMPORT_PLUGIN(PngImagePlugin)

namespace {

QImage sample(QImage::Format format) {
    QImage image(13, 9, QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, qRgba(x * 19, y * 27, (x * y * 7) & 255, 96 + x * 11));
    image.setText(QStringLiteral("Title"), QStringLiteral("Logo: plum"));
    image.setText(QStringLiteral("Author"), QStringLiteral("QV"));
    return image.convertToFormat(format);
}

QByteArray pngOf(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter(&buffer, "png").write(image);
    return bytes;
}

// Reading by name goes through the plugin; deciding by content alone is Qt's own PNG reader.
struct Read {
    QByteArray format;
    QSize size;
    QStringList keys;
    QString title;
    QImage image;
    QImage scaled;
};

Read read(const QByteArray& bytes, bool byContent) {
    Read result;
    QByteArray copy = bytes;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, byContent ? QByteArray() : QByteArrayLiteral("png"));
    reader.setDecideFormatFromContent(byContent);
    result.format = reader.format();
    result.size = reader.size();
    result.keys = reader.textKeys();
    result.title = reader.text(QStringLiteral("Title"));
    result.image = reader.read();
    buffer.seek(0);
    QImageReader scaled(&buffer, byContent ? QByteArray() : QByteArrayLiteral("png"));
    scaled.setDecideFormatFromContent(byContent);
    scaled.setScaledSize(QSize(5, 4));
    result.scaled = scaled.read();
    return result;
}

TEST(PngImagePlugin, ReadsEveryKindOfPngAsQtsOwnReaderDoes) {
    for (const QImage::Format format :
         {QImage::Format_ARGB32, QImage::Format_RGB32, QImage::Format_RGBA64,
          QImage::Format_Indexed8, QImage::Format_Grayscale8, QImage::Format_Mono}) {
        SCOPED_TRACE(format);
        const QByteArray bytes = pngOf(sample(format));
        const Read byName = read(bytes, false);
        const Read byContent = read(bytes, true);
        EXPECT_EQ(byName.format, "png");
        EXPECT_EQ(byName.size, QSize(13, 9));
        EXPECT_EQ(byName.size, byContent.size);
        EXPECT_EQ(byName.keys, byContent.keys);
        EXPECT_EQ(byName.title, QStringLiteral("Logo: plum"));
        EXPECT_EQ(byName.title, byContent.title);
        ASSERT_FALSE(byName.image.isNull());
        EXPECT_EQ(byName.image, byContent.image);
        EXPECT_EQ(byName.scaled.size(), QSize(5, 4));
        EXPECT_EQ(byName.scaled, byContent.scaled);
    }
    // Not a PNG at all, or cut short: refused as before.
    for (const QByteArray& bytes :
         {QByteArrayLiteral("GIF89a"), pngOf(sample(QImage::Format_ARGB32)).left(60)}) {
        EXPECT_TRUE(read(bytes, false).image.isNull());
        EXPECT_TRUE(read(bytes, true).image.isNull());
    }
}

bool imagePluginMapped() {
    QFile maps(QStringLiteral("/proc/self/maps"));
    return maps.open(QIODevice::ReadOnly) && maps.readAll().contains("/imageformats/");
}

TEST(PngImagePlugin, TheWindowIconAndTheFramesImageLoadNoImagePlugin) {
    if (!QFile::exists(QStringLiteral("/proc/self/maps")))
        GTEST_SKIP() << "no /proc here to see the loaded libraries in";
    if (imagePluginMapped())
        GTEST_SKIP() << "an earlier test in this process loaded the image plugins";
    const QIcon icon(QStringLiteral(
        ":/qt-project.org/styles/commonstyle/images/standardbutton-closetab-16.png"));
    const QPixmap frame(
        QStringLiteral(":/qt-project.org/styles/commonstyle/images/fusion_groupbox.png"));
    EXPECT_FALSE(icon.availableSizes().isEmpty());
    EXPECT_FALSE(frame.isNull());
    EXPECT_FALSE(imagePluginMapped());
}

} // namespace
