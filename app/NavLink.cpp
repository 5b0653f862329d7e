#include "app/NavLink.h"

#include "pages/ControlIds.h"
#include "pages/QtText.h"

#include <QFontMetrics>
#include <QKeyEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>

namespace {

const QColor kLinkColour(0x1a, 0x4f, 0xa0);
const QColor kHoverColour(0x88, 0x33, 0x66);
const QColor kFocusBackground(0xe4, 0xe8, 0xf4);
// The bar beside the current link, and the room around the caption, in pixels.
constexpr int kCurrentBarWidth = 3;
constexpr int kPaddingX = 2;
constexpr int kPaddingY = 3;

} // namespace

NavLink::NavLink(int controlId, const QString& caption, QWidget* parent)
    : QPushButton(caption, parent) {
    qv::setControl(this, controlId, caption.trimmed());
    setFlat(true);
    setAutoDefault(false);
    setCursor(Qt::PointingHandCursor);
}

void NavLink::setCurrent(bool current) {
    if (m_current == current)
        return;
    m_current = current;
    setAccessibleDescription(current ? qv::uiText(qv::StringId::LinkShownPage) : QString());
    update();
}

QSize NavLink::sizeHint() const {
    if (text() != m_measuredText || font() != m_measuredFont) {
        m_measuredText = text();
        m_measuredFont = font();
        QFont bold = font();
        bold.setBold(true);
        const QFontMetrics regular(font());
        const QSize caption = regular.size(Qt::TextShowMnemonic, text());
        const int boldExtra =
            QFontMetrics(bold).horizontalAdvance(text()) - regular.horizontalAdvance(text());
        m_measuredSize = QSize(caption.width() + boldExtra + kCurrentBarWidth + 2 * kPaddingX,
                               caption.height() + 2 * kPaddingY);
    }
    return m_measuredSize;
}

void NavLink::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (hasFocus())
        painter.fillRect(rect(), kFocusBackground);
    QRect captionBox = rect().adjusted(kPaddingX, kPaddingY, -kPaddingX, -kPaddingY);
    QFont face = font();
    if (m_current) {
        painter.fillRect(QRect(0, 0, kCurrentBarWidth, height()), kLinkColour);
        captionBox.setLeft(captionBox.left() + kCurrentBarWidth);
        face.setBold(true);
    }
    const bool hovered = underMouse();
    face.setUnderline(hovered);
    painter.setFont(face);
    painter.setPen(hovered ? kHoverColour : kLinkColour);
    int flags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextShowMnemonic;
    QStyleOption option;
    option.initFrom(this);
    if (!style()->styleHint(QStyle::SH_UnderlineShortcut, &option, this))
        flags |= Qt::TextHideMnemonic;
    painter.drawText(captionBox, flags, text());
}

void NavLink::enterEvent(QEnterEvent* event) {
    QPushButton::enterEvent(event);
    update();
}

void NavLink::leaveEvent(QEvent* event) {
    QPushButton::leaveEvent(event);
    update();
}

void NavLink::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        click();
        return;
    }
    QPushButton::keyPressEvent(event);
}
