#include "pages/KeyboardAccess.h"

#include "pages/QtText.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QSet>
#include <QWidget>

#include <algorithm>
#include <initializer_list>
#include <utility>
#include <vector>

namespace qv::controls {
namespace {

using qv::StringId;

// The property that holds the caption this unit marked, so a caption is marked once and a
// caption the page sets again later is marked anew.
constexpr char kMarkedCaption[] = "qvMarkedCaption";
// The property of a page whose Tab order its setupControls sets from its layout.
constexpr char kTabOrderSet[] = "qvTabOrderSet";

bool reachedByTab(const QWidget* widget, const QWidget* root) {
    return widget != root && (widget->focusPolicy() & Qt::TabFocus) && !widget->focusProxy() &&
           widget->window() == root->window();
}

std::vector<QWidget*> tabStops(QWidget* root) {
    std::vector<QWidget*> stops;
    for (QWidget* widget : root->findChildren<QWidget*>())
        if (reachedByTab(widget, root))
            stops.push_back(widget);
    return stops;
}

bool isAsciiLetterOrDigit(QChar c) {
    return (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) ||
           (c >= QLatin1Char('a') && c <= QLatin1Char('z')) ||
           (c >= QLatin1Char('0') && c <= QLatin1Char('9'));
}

// The actions every page shares keep one key in both languages, whatever their caption reads.
struct ActionKey {
    char letter;
    std::initializer_list<StringId> captions;
};
const ActionKey kActionKeys[] = {
    {'A', {StringId::TableAdd, StringId::BlockIpAdd, StringId::ScheduleAdd}},
    {'E', {StringId::TableEdit, StringId::BlockIpEdit, StringId::ScheduleEdit}},
    {'D',
     {StringId::TableDel, StringId::TableDelete, StringId::BlockIpDelete, StringId::ScheduleDelete,
      StringId::LogoDeleteButton}},
    {'P',
     {StringId::AdminApply, StringId::TableApply, StringId::BlockIpApply, StringId::ScheduleApply}},
    {'R', {StringId::IoRefresh}},
    {'C', {StringId::Close}},
    {'B', {StringId::BackupMenu}},
    {'T', {StringId::RestoreMenu}},
    {'W', {StringId::UploadBrowse}},
    {'U', {StringId::LogoUploadButton, StringId::ActiveXUploadButton, StringId::WebUploadButton}},
};

// A caption that holds a literal '&' shows it: '&&' is Qt's escape for one.
QString escaped(const QString& plain) {
    QString out = plain;
    out.replace(QLatin1Char('&'), QStringLiteral("&&"));
    return out;
}

// The caption marked with `letter`: on its first occurrence in a Latin caption, or as "(&X)"
// right after the words of a caption that lacks it (Korean), before a trailing "...".
QString marked(const QString& plain, QChar letter) {
    for (qsizetype i = 0; i < plain.size(); ++i)
        if (plain[i].toUpper() == letter && isAsciiLetterOrDigit(plain[i]))
            return escaped(plain.left(i)) + QLatin1Char('&') + escaped(plain.mid(i));
    QString words = plain;
    QString trail;
    while (words.endsWith(QLatin1Char('.'))) {
        words.chop(1);
        trail += QLatin1Char('.');
    }
    return escaped(words) + QStringLiteral("(&") + letter + QLatin1Char(')') + trail;
}

// The first letter of `plain` that `taken` does not hold; a caption without a free letter of its
// own takes the first free one of the alphabet. Null when all 26 are taken.
QChar freeLetter(const QString& plain, const QSet<QChar>& taken) {
    for (const QChar c : plain)
        if (isAsciiLetterOrDigit(c) && !taken.contains(c.toUpper()))
            return c.toUpper();
    for (char letter = 'A'; letter <= 'Z'; ++letter)
        if (!taken.contains(QLatin1Char(letter)))
            return QLatin1Char(letter);
    return {};
}

// The caption as the page set it: without the marks this unit added.
QString plainCaption(const QAbstractButton* button) {
    const QString text = button->text();
    if (!text.isEmpty() && text == button->property(kMarkedCaption).toString())
        return withoutMnemonic(text);
    return text;
}

void assignMnemonics(const std::vector<QWidget*>& stops) {
    std::vector<std::pair<QAbstractButton*, QString>> buttons;
    for (QWidget* widget : stops)
        if (auto* button = qobject_cast<QAbstractButton*>(widget))
            if (!button->text().isEmpty())
                buttons.emplace_back(button, plainCaption(button));
    // The shared actions first, so the computed mnemonics fill only the letters they leave.
    QSet<QChar> taken;
    std::vector<std::pair<QAbstractButton*, QChar>> letters;
    for (const auto& [button, plain] : buttons) {
        const QChar letter = actionMnemonic(plain);
        letters.emplace_back(button, letter);
        if (!letter.isNull())
            taken.insert(letter);
    }
    for (size_t i = 0; i < buttons.size(); ++i) {
        const auto& [button, plain] = buttons[i];
        QChar letter = letters[i].second;
        if (letter.isNull()) {
            letter = freeLetter(plain, taken);
            taken.insert(letter);
        }
        // 26 buttons on one page: the rest are reached with Tab and show their caption as is.
        const QString caption = letter.isNull() ? escaped(plain) : marked(plain, letter);
        button->setText(caption);
        button->setProperty(kMarkedCaption, caption);
    }
}

QString labelFor(const QWidget* widget, const QWidget* root) {
    for (const QLabel* label : root->findChildren<QLabel*>())
        if (label->buddy() == widget && !label->text().isEmpty())
            return withoutMnemonic(label->text());
    return {};
}

QString derivedName(const QWidget* widget, const QWidget* root) {
    if (QString label = labelFor(widget, root); !label.isEmpty())
        return label;
    if (const auto* button = qobject_cast<const QAbstractButton*>(widget))
        if (!button->text().isEmpty())
            return withoutMnemonic(button->text());
    if (const auto* edit = qobject_cast<const QLineEdit*>(widget))
        if (!edit->placeholderText().isEmpty())
            return edit->placeholderText();
    if (!widget->toolTip().isEmpty())
        return widget->toolTip();
    for (const QWidget* up = widget->parentWidget(); up && up != root; up = up->parentWidget()) {
        if (!up->accessibleName().isEmpty())
            return up->accessibleName();
        if (const auto* box = qobject_cast<const QGroupBox*>(up))
            if (!box->title().isEmpty())
                return withoutMnemonic(box->title());
    }
    return {};
}

// Several fields of one control (the four parts of an address) are told apart by their place.
void nameControls(const std::vector<QWidget*>& stops, const QWidget* root) {
    for (QWidget* widget : stops) {
        if (!widget->accessibleName().isEmpty())
            continue;
        QString name = derivedName(widget, root);
        const QWidget* parent = widget->parentWidget();
        if (parent && parent != root && name == parent->accessibleName()) {
            const auto siblings = std::count_if(stops.begin(), stops.end(), [&](QWidget* other) {
                return other->parentWidget() == parent;
            });
            if (siblings > 1) {
                const auto place = std::count_if(stops.begin(), stops.end(), [&](QWidget* other) {
                    return other->parentWidget() == parent && other->x() <= widget->x();
                });
                name += QStringLiteral(" %1/%2").arg(place).arg(siblings);
            }
        }
        widget->setAccessibleName(name);
    }
}

// Rows from top to bottom: a control belongs to the row above when its middle lies within the
// height of that row's first control; within a row, left to right.
void orderTabs(std::vector<QWidget*> stops, const QWidget* root) {
    if (root->property(kTabOrderSet).toBool())
        return;
    const auto placed = [root](const QWidget* w) {
        return QRect(w->mapTo(root, QPoint()), w->size());
    };
    std::stable_sort(stops.begin(), stops.end(), [&](const QWidget* a, const QWidget* b) {
        return placed(a).top() < placed(b).top();
    });
    std::vector<QWidget*> ordered;
    for (size_t start = 0; start < stops.size();) {
        const QRect first = placed(stops[start]);
        size_t end = start + 1;
        while (end < stops.size() && placed(stops[end]).center().y() <= first.bottom())
            ++end;
        std::stable_sort(stops.begin() + static_cast<std::ptrdiff_t>(start),
                         stops.begin() + static_cast<std::ptrdiff_t>(end),
                         [&](const QWidget* a, const QWidget* b) {
                             return placed(a).left() < placed(b).left();
                         });
        ordered.insert(ordered.end(), stops.begin() + static_cast<std::ptrdiff_t>(start),
                       stops.begin() + static_cast<std::ptrdiff_t>(end));
        start = end;
    }
    for (size_t i = 1; i < ordered.size(); ++i)
        QWidget::setTabOrder(ordered[i - 1], ordered[i]);
}

} // namespace

QChar actionMnemonic(const QString& caption) {
    for (const ActionKey& action : kActionKeys)
        for (const StringId id : action.captions)
            if (caption == uiText(id))
                return QLatin1Char(action.letter);
    return {};
}

QString actionCaption(const QString& caption) {
    const QChar letter = actionMnemonic(caption);
    return letter.isNull() ? escaped(caption) : marked(caption, letter);
}

void setTabOrder(QWidget* page, const std::vector<QWidget*>& order) {
    page->setProperty(kTabOrderSet, true);
    QWidget* previous = nullptr;
    for (QWidget* widget : order) {
        if (previous)
            QWidget::setTabOrder(previous, widget);
        previous = widget;
    }
}

QString withoutMnemonic(const QString& caption) {
    // The Korean form puts the letter after the caption, before any trailing dots: "저장(&S)...".
    QString plain = caption;
    qsizetype end = plain.size();
    while (end > 0 && plain[end - 1] == QLatin1Char('.'))
        --end;
    const auto asciiLetterOrDigit = [](QChar c) {
        return c.unicode() < 128 && c.isLetterOrNumber();
    };
    if (end >= 4 && plain[end - 4] == QLatin1Char('(') && plain[end - 3] == QLatin1Char('&') &&
        asciiLetterOrDigit(plain[end - 2]) && plain[end - 1] == QLatin1Char(')'))
        plain.remove(end - 4, 4);
    QString out;
    for (qsizetype i = 0; i < plain.size(); ++i) {
        if (plain[i] == QLatin1Char('&') && i + 1 < plain.size())
            ++i;
        out += plain[i];
    }
    return out;
}

void completeKeyboardAccess(QWidget* root) {
    const std::vector<QWidget*> stops = tabStops(root);
    assignMnemonics(stops);
    nameControls(stops, root);
    orderTabs(stops, root);
}

} // namespace qv::controls
