#include "pages/DigitsValidator.h"

#include <algorithm>

DigitsValidator::DigitsValidator(int maxDigits, QObject* parent)
    : QValidator(parent), m_maxDigits(maxDigits) {}

DigitsValidator* DigitsValidator::octet(QObject* parent) {
    auto* validator = new DigitsValidator(3, parent);
    validator->m_octet = true;
    return validator;
}

QValidator::State DigitsValidator::validate(QString& input, int&) const {
    const bool digits = std::all_of(input.cbegin(), input.cend(), [](QChar c) {
        return c >= QLatin1Char('0') && c <= QLatin1Char('9');
    });
    if (!digits || input.size() > m_maxDigits)
        return Invalid;
    if (m_octet && ((input.size() > 1 && input.front() == QLatin1Char('0')) || input.toInt() > 255))
        return Invalid;
    return Acceptable;
}
