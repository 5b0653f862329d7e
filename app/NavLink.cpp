#include "app/NavLink.h"

#include "pages/ControlIds.h"
#include "pages/QtText.h"

#include <QFontMetrics>
#include <QKeyEvent>
#include <QStyle>

namespace {

// The bar beside the current link, in pixels.
constexpr int kCurrentBarWidth = 3;

} // namespace

NavLink::NavLink(int controlId, const QString& caption, QWidget* parent)
    : QPushButton(caption, parent) {
    qv::setControl(this, controlId, caption.trimmed());
    setFlat(true);
    setAutoDefault(false);
    setCursor(Qt::PointingHandCursor);
}

QString NavLink::columnStyleSheet() {
    return QStringLiteral(
               "NavLink { color: #1a4fa0; text-align: left; border: none; padding: 3px 2px; }"
               "NavLink:focus { background: #e4e8f4; }"
               "NavLink[current=\"true\"] { font-weight: bold; border-left: %1px solid #1a4fa0; }"
               "NavLink:hover { color: #883366; text-decoration: underline; }")
        .arg(kCurrentBarWidth);
}

void NavLink::setCurrent(bool current) {
    if (isCurrent() == current)
        return;
    setProperty(kCurrent, current);
    setAccessibleDescription(current ? qv::uiText(qv::StringId::LinkShownPage) : QString());
    // The style sheet reads the property when the link is polished.
    style()->unpolish(this);
    style()->polish(this);
    update();
}

QSize NavLink::sizeHint() const {
    QSize hint = QPushButton::sizeHint();
    if (!isCurrent())
        hint.rwidth() += boldExtraWidth() + kCurrentBarWidth;
    return hint;
}

int NavLink::boldExtraWidth() const {
    if (text() != m_measuredText || font() != m_measuredFont) {
        m_measuredText = text();
        m_measuredFont = font();
        QFont bold = font();
        bold.setBold(true);
        m_boldExtra =
            QFontMetrics(bold).horizontalAdvance(text()) - fontMetrics().horizontalAdvance(text());
    }
    return m_boldExtra;
}

void NavLink::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        click();
        return;
    }
    QPushButton::keyPressEvent(event);
}
