#pragma once

#include <QValidator>

// Digits 0-9 only, at most `maxDigits` of them. The octet rule is a number of an IPv4 address:
// 0 to 255 and no leading zero. A keystroke that leaves the rule is dropped: every prefix of an
// acceptable text is acceptable itself, so nothing is ever half-typed.
class DigitsValidator : public QValidator {
    Q_OBJECT
public:
    DigitsValidator(int maxDigits, QObject* parent);
    static DigitsValidator* octet(QObject* parent);

    State validate(QString& input, int& pos) const override;

private:
    int m_maxDigits;
    bool m_octet = false;
};
