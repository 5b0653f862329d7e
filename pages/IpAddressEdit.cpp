#include "pages/IpAddressEdit.h"

#include "pages/DigitsValidator.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

IpAddressEdit::IpAddressEdit(QWidget* parent) : QWidget(parent) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    for (size_t i = 0; i < m_fields.size(); ++i) {
        if (i > 0)
            layout->addWidget(new QLabel(QStringLiteral(".")));
        auto* field = new QLineEdit;
        field->setObjectName(QStringLiteral("octet%1").arg(i + 1));
        field->setValidator(DigitsValidator::octet(field));
        field->setMaxLength(3);
        field->setAlignment(Qt::AlignCenter);
        field->setFixedWidth(field->fontMetrics().horizontalAdvance(QStringLiteral("0000")) + 8);
        field->installEventFilter(this);
        const int index = static_cast<int>(i);
        connect(field, &QLineEdit::textEdited, this, [this, index](const QString& text) {
            if (text.size() == 3)
                moveOn(index);
        });
        m_fields[i] = field;
        layout->addWidget(field);
    }
    layout->addStretch();
    setFocusProxy(m_fields[0]);
}

IpAddressEdit::Address IpAddressEdit::address() const {
    Address out{};
    for (size_t i = 0; i < m_fields.size(); ++i)
        out[i] = static_cast<uint8_t>(m_fields[i]->text().toUInt());
    return out;
}

std::optional<IpAddressEdit::Address> IpAddressEdit::typedAddress() const {
    for (const QLineEdit* field : m_fields)
        if (field->text().isEmpty())
            return std::nullopt;
    return address();
}

void IpAddressEdit::clear() {
    for (QLineEdit* field : m_fields)
        field->clear();
}

void IpAddressEdit::setAddress(const Address& address) {
    for (size_t i = 0; i < m_fields.size(); ++i)
        m_fields[i]->setText(QString::number(address[i]));
}

QString IpAddressEdit::text() const {
    const Address a = address();
    return QStringLiteral("%1.%2.%3.%4").arg(a[0]).arg(a[1]).arg(a[2]).arg(a[3]);
}

void IpAddressEdit::moveOn(int index) {
    if (index + 1 < static_cast<int>(m_fields.size())) {
        QLineEdit* next = m_fields[static_cast<size_t>(index + 1)];
        next->setFocus();
        next->selectAll();
    }
}

bool IpAddressEdit::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->text() == QStringLiteral(".")) {
        for (size_t i = 0; i < m_fields.size(); ++i)
            if (m_fields[i] == watched)
                moveOn(static_cast<int>(i));
        return true;
    }
    return QWidget::eventFilter(watched, event);
}
