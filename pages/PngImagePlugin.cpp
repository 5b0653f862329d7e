#include "pages/PngImagePlugin.h"

#include <QImageReader>
#include <QStringList>

#include <memory>

namespace qv {
namespace {

// Set while a handler of this plugin asks Qt for its built-in reader, which Qt would otherwise
// find in this plugin again.
thread_local bool t_handingBack = false;

class HandingBack {
public:
    HandingBack() : m_was(t_handingBack) { t_handingBack = true; }
    ~HandingBack() { t_handingBack = m_was; }
    HandingBack(const HandingBack&) = delete;
    HandingBack& operator=(const HandingBack&) = delete;

private:
    bool m_was;
};

// Every call goes to a reader of Qt's own on the same device, asked for PNG by name only, and
// carries the options Qt's PNG reader takes.
class BuiltInPngHandler : public QImageIOHandler {
public:
    bool canRead() const override {
        // Qt asks this while it holds the lock its search for a reader takes, so before reading
        // starts the answer comes from the signature alone, as from Qt's PNG reader.
        if (!m_reader)
            return device() && device()->peek(8) == QByteArrayLiteral("\x89PNG\r\n\x1a\n");
        HandingBack back;
        return m_reader->canRead();
    }

    bool read(QImage* image) override {
        HandingBack back;
        return reader().read(image);
    }

    bool supportsOption(ImageOption option) const override {
        switch (option) {
        case Size:
        case ImageFormat:
        case Description:
        case ScaledSize:
            return true;
        default:
            return false;
        }
    }

    QVariant option(ImageOption option) const override {
        HandingBack back;
        QImageReader& builtIn = reader();
        switch (option) {
        case Size:
            return builtIn.size();
        case ImageFormat:
            return builtIn.imageFormat();
        case Description: {
            // The form Qt reads an image's texts back from.
            QStringList pairs;
            for (const QString& key : builtIn.textKeys())
                pairs << key + QStringLiteral(": ") + builtIn.text(key);
            return pairs.join(QStringLiteral("\n\n"));
        }
        case ScaledSize:
            return builtIn.scaledSize();
        default:
            return {};
        }
    }

    void setOption(ImageOption option, const QVariant& value) override {
        if (option == ScaledSize)
            reader().setScaledSize(value.toSize());
    }

private:
    // Made on first use: Qt makes this handler while it looks for one, and the reader's own
    // search must not start inside that.
    QImageReader& reader() const {
        if (!m_reader) {
            m_reader = std::make_unique<QImageReader>(device(), QByteArrayLiteral("png"));
            m_reader->setAutoDetectImageFormat(false);
        }
        return *m_reader;
    }

    mutable std::unique_ptr<QImageReader> m_reader;
};

} // namespace

QImageIOPlugin::Capabilities PngImagePlugin::capabilities(QIODevice*,
                                                          const QByteArray& format) const {
    // Only by name: an image recognised by its content is found as before.
    return format == "png" && !t_handingBack ? CanRead : Capabilities();
}

QImageIOHandler* PngImagePlugin::create(QIODevice* device, const QByteArray& format) const {
    auto* handler = new BuiltInPngHandler;
    handler->setDevice(device);
    handler->setFormat(format);
    return handler;
}

} // namespace qv
