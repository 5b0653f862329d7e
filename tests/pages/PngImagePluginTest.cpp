// PNG images read through the program's PNG plugin come out as Qt's own PNG reader gives them,
// and reading one loads no image format plugin.

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

// By name through the plugin, or by content alone (Qt's own reader): what a reader tells, and
// what it reads whole and scaled.
struct Read {
    QList<QVariant> told;
    QImage image;
    QImage scaled;
};

Read readPng(QByteArray bytes, bool byContent) {
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, byContent ? QByteArray() : QByteArrayLiteral("png"));
    reader.setDecideFormatFromContent(byContent);
    Read read{{reader.size(), reader.textKeys(), reader.text(QStringLiteral("Title"))}, {}, {}};
    read.image = reader.read();
    buffer.seek(0);
    QImageReader scaled(&buffer, byContent ? QByteArray() : QByteArrayLiteral("png"));
    scaled.setDecideFormatFromContent(byContent);
    scaled.setScaledSize(QSize(5, 4));
    read.scaled = scaled.read();
    return read;
}

TEST(PngImagePlugin, ReadsEveryKindOfPngAsQtsOwnReaderDoes) {
    QImage image(13, 9, QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, qRgba(x * 19, y * 27, (x * y * 7) & 255, 96 + x * 11));
    image.setText(QStringLiteral("Title"), QStringLiteral("Logo: plum"));
    for (const QImage::Format format :
         {QImage::Format_ARGB32, QImage::Format_RGB32, QImage::Format_RGBA64,
          QImage::Format_Indexed8, QImage::Format_Grayscale8, QImage::Format_Mono}) {
        SCOPED_TRACE(format);
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        ASSERT_TRUE(QImageWriter(&buffer, "png").write(image.convertToFormat(format)));
        const Read byName = readPng(bytes, false);
        const Read byContent = readPng(bytes, true);
        EXPECT_EQ(byName.told, (QList<QVariant>{QSize(13, 9), QStringList{QStringLiteral("Title")},
                                                QStringLiteral("Logo: plum")}));
        EXPECT_EQ(byName.told, byContent.told);
        EXPECT_EQ(byName.image, byContent.image);
        EXPECT_EQ(byName.image.convertToFormat(QImage::Format_ARGB32),
                  image.convertToFormat(format).convertToFormat(QImage::Format_ARGB32));
        EXPECT_EQ(byName.scaled.size(), QSize(5, 4));
        EXPECT_EQ(byName.scaled, byContent.scaled);
        // Cut short: refused as before.
        EXPECT_TRUE(readPng(bytes.left(60), false).image.isNull());
    }
    EXPECT_TRUE(readPng(QByteArrayLiteral("GIF89a"), false).image.isNull());
}

bool imagePluginMapped() {
    QFile maps(QStringLiteral("/proc/self/maps"));
    return maps.open(QIODevice::ReadOnly) && maps.readAll().contains("/imageformats/");
}

TEST(PngImagePlugin, TheIconsAndTheFramesImageLoadNoImagePlugin) {
    if (!QFile::exists(QStringLiteral("/proc/self/maps")) || imagePluginMapped())
        GTEST_SKIP() << "no /proc to see the libraries in, or an earlier test loaded the plugins";
    const QString images = QStringLiteral(":/qt-project.org/styles/commonstyle/images/");
    EXPECT_FALSE(QIcon(images + QStringLiteral("standardbutton-closetab-16.png")).isNull());
    EXPECT_FALSE(QPixmap(images + QStringLiteral("fusion_groupbox.png")).isNull());
    EXPECT_FALSE(imagePluginMapped());
}

} // namespace
