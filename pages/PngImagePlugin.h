#pragma once

#include <QImageIOPlugin>

namespace qv {

// PNG images read by Qt's own PNG reader without asking every image format plugin first. Given a
// file name or a format, Qt offers an image to the plugins before its built-in readers, loading
// each plugin installed (GIF, ICO and JPEG here; a desktop may have twenty, each with libraries
// of its own) to ask whether it reads "png", which none does: the window icon and the group box
// frame's image paid for that as the window started. This plugin claims PNG by name, so Qt asks
// it alone, and hands each image back to Qt's built-in reader. Images are still recognised by
// their content as before, and nothing is written through it.
class PngImagePlugin : public QImageIOPlugin {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QImageIOHandlerFactoryInterface_iid FILE "PngImagePlugin.json")

public:
    Capabilities capabilities(QIODevice* device, const QByteArray& format) const override;
    QImageIOHandler* create(QIODevice* device, const QByteArray& format) const override;
};

} // namespace qv
