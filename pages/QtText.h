#pragma once

#include "link/CodePage.h"
#include "res/Message.h"
#include "res/StringTable.h"

#include <QString>
#include <QStringList>

#include <string>
#include <string_view>
#include <vector>

namespace qv {

// The text of string `id` in the user-interface language.
inline QString uiText(StringId id) {
    const std::string_view text = uiString(id);
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}
inline QString uiText(StringId id, Language language) {
    const std::string_view text = uiString(id, language);
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}
// A message of the rules in the user-interface language.
inline QString uiText(const Message& message) {
    const std::string text = format(message);
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

inline QString fromUtf8(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}
inline std::string toUtf8(const QString& text) {
    return text.toUtf8().toStdString();
}
// UTF-8 lines, as the rules give them, shown one under the other.
inline QString linesText(const std::vector<std::string>& lines) {
    QStringList out;
    for (const std::string& line : lines)
        out << fromUtf8(line);
    return out.join(QLatin1Char('\n'));
}

// Record texts are bytes in the system's ANSI code page.
inline QString fromAnsi(std::string_view ansi) {
    return fromUtf8(ansiToUtf8(ansi, systemCodePage()));
}
// `ok`, when given, is false when a character has no form in the code page (it becomes '?').
inline std::string toAnsi(const QString& text, bool* ok = nullptr) {
    return utf8ToAnsi(toUtf8(text), systemCodePage(), ok);
}
// The ANSI form of `text` cut to at most `maxBytes` without splitting a double-byte character.
inline std::string toAnsiLimited(const QString& text, size_t maxBytes) {
    const int codePage = systemCodePage();
    return cutAnsi(utf8ToAnsi(toUtf8(text), codePage), maxBytes, codePage);
}

} // namespace qv
