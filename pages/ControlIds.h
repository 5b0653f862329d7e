#pragma once

#include <QList>
#include <QVariant>
#include <QWidget>

namespace qv {

// Every control carries its numeric control id as the dynamic property "controlId", so code,
// tests and accessibility tools address it the way the pages' handlers do.
inline constexpr char kControlIdProperty[] = "controlId";
// Pages carry this property; a search for a control id does not go into another page, because
// the logon page and the main window, for example, both have controls 1001 to 1004.
inline constexpr char kPageProperty[] = "qvPage";

inline void setControlId(QWidget* widget, int id) {
    widget->setProperty(kControlIdProperty, id);
}

// Sets the control id and the name a screen reader announces (the label's text or the
// control's caption).
inline void setControl(QWidget* widget, int id, const QString& accessibleName) {
    setControlId(widget, id);
    widget->setAccessibleName(accessibleName);
}

inline int controlId(const QObject* object) {
    const QVariant id = object->property(kControlIdProperty);
    return id.isValid() ? id.toInt() : -1;
}

// The control with `id` among the descendants of `root`, breadth first, not looking inside
// other pages; nullptr when there is none of type T.
template <class T> T* findControl(QWidget* root, int id) {
    QList<QWidget*> queue{root};
    while (!queue.isEmpty()) {
        QWidget* widget = queue.takeFirst();
        if (widget != root && controlId(widget) == id)
            if (T* match = qobject_cast<T*>(widget))
                return match;
        if (widget != root && widget->property(kPageProperty).toBool())
            continue;
        for (QObject* child : widget->children())
            if (child->isWidgetType())
                queue.append(static_cast<QWidget*>(child));
    }
    return nullptr;
}

} // namespace qv
