#pragma once

#include <QApplication>
#include <QInputMethodEvent>
#include <QString>
#include <QTest>
#include <QWidget>

namespace qvtest {

// Types `text` as an operator would: plain keys for ASCII, and for Hangul the composed text an
// input method commits.
inline void typeInto(QWidget* field, const QString& text) {
    for (const QChar c : text) {
        if (c.unicode() < 0x80) {
            QTest::keyClick(field, c.toLatin1());
        } else {
            QInputMethodEvent commit;
            commit.setCommitString(QString(c));
            QApplication::sendEvent(field, &commit);
        }
    }
}

} // namespace qvtest
