#pragma once

#include <QPushButton>

// A navigation link of the main window: a flat button that looks like a hyperlink. Being a
// button, it takes the keyboard focus, answers Space and Enter, and a screen reader announces
// its caption.
class NavLink : public QPushButton {
    Q_OBJECT
public:
    NavLink(int controlId, const QString& caption, QWidget* parent = nullptr);

    // Marks the link of the page shown, whether or not it has the focus.
    void setCurrent(bool current);
    bool isCurrent() const { return property(kCurrent).toBool(); }

    static constexpr char kCurrent[] = "current";

    // The links' look, set once on the widget that holds them all rather than on each link, so
    // that it is read once.
    static QString columnStyleSheet();

    // As wide as the link is when it is the current one, whether or not it is: the column of
    // links, and so the window, keeps one size whichever page is shown.
    QSize sizeHint() const override;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    // How much wider the caption is in bold, measured once per caption and font: layouts ask
    // for the size hint many times.
    int boldExtraWidth() const;
    mutable QString m_measuredText;
    mutable QFont m_measuredFont;
    mutable int m_boldExtra = 0;
};
