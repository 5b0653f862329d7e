#pragma once

#include <QPushButton>

// A navigation link of the main window: a button that looks like a hyperlink, drawn by itself
// (blue text on the window's background, a tint when it has the focus, a bar and bold type for
// the page shown, plum and underlined under the mouse). Being a button, it takes the keyboard
// focus, answers Space and Enter, and a screen reader announces its caption.
class NavLink : public QPushButton {
    Q_OBJECT
public:
    NavLink(int controlId, const QString& caption, QWidget* parent = nullptr);

    // Marks the link of the page shown, whether or not it has the focus.
    void setCurrent(bool current);
    bool isCurrent() const { return m_current; }

    // As wide as the link is when it is the current one, in bold with its bar, whether or not it
    // is: the column of links, and so the window, keeps one size whichever page is shown.
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    bool m_current = false;
    // The size hint, measured once per caption and font: layouts ask for it many times.
    mutable QString m_measuredText;
    mutable QFont m_measuredFont;
    mutable QSize m_measuredSize;
};
