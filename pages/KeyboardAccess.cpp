#include "KeyboardAccess.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QSet>
#include <QWidget>

#include <algorithm>
#include <vector>

namespace qv::controls {
namespace {

// The property that marks a button whose mnemonic this unit chose, so it is chosen once.
constexpr char kMnemonicDone[] = "qvMnemonicDone";

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

// The mnemonic letter of `caption` in upper case, or a null character when it has none.
QChar mnemonicOf(const QString& caption) {
    for (qsizetype i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != QLatin1Char('&'))
            continue;
        if (caption[i + 1] != QLatin1Char('&'))
            return caption[i + 1].toUpper();
        ++i;
    }
    return {};
}

bool isAsciiLetterOrDigit(QChar c) {
    return (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) ||
           (c >= QLatin1Char('a') && c <= QLatin1Char('z')) ||
           (c >= QLatin1Char('0') && c <= QLatin1Char('9'));
}

// The caption with a mnemonic on the first of its letters that `taken` does not hold; a caption
// without Latin letters (Korean) gets "(&X)" with the first free letter of the alphabet.
QString withMnemonic(const QString& caption, QSet<QChar>& taken) {
    for (qsizetype i = 0; i < caption.size(); ++i) {
        const QChar c = caption[i];
        if (isAsciiLetterOrDigit(c) && !taken.contains(c.toUpper())) {
            taken.insert(c.toUpper());
            return caption.left(i) + QLatin1Char('&') + caption.mid(i);
        }
    }
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
        const QChar c = QLatin1Char(letter);
        if (!taken.contains(c)) {
            taken.insert(c);
            return caption + QStringLiteral("(&") + c + QLatin1Char(')');
        }
    }
    return caption; // 26 buttons on one page: the rest are reached with Tab
}

void assignMnemonics(const std::vector<QWidget*>& stops) {
    QSet<QChar> taken;
    std::vector<QAbstractButton*> unmarked;
    for (QWidget* widget : stops) {
        auto* button = qobject_cast<QAbstractButton*>(widget);
        if (!button || button->text().isEmpty())
            continue;
        if (const QChar letter = mnemonicOf(button->text()); !letter.isNull())
            taken.insert(letter);
        else if (!button->property(kMnemonicDone).toBool())
            unmarked.push_back(button);
    }
    for (QAbstractButton* button : unmarked) {
        button->setText(withMnemonic(button->text(), taken));
        button->setProperty(kMnemonicDone, true);
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

QString withoutMnemonic(const QString& caption) {
    static const QRegularExpression korean(QStringLiteral("\\(&[A-Za-z0-9]\\)$"));
    QString plain = caption;
    plain.remove(korean);
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
