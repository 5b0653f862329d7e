#pragma once

#include "pages/DrawPageHeading.h"

#include <QWidget>

namespace qv {
class CGlobalData;
class Prompt;
struct Frame;
} // namespace qv

// Base of every page: paints the title band, holds the settings store and the message service,
// and has the hooks the main window calls around navigation. Layouts of derived pages start
// below the band (the top contents margin is the band's height).
class CPageDlg : public QWidget {
    Q_OBJECT
public:
    CPageDlg(const QString& title, qv::CGlobalData& store, qv::Prompt& prompt,
             QWidget* parent = nullptr, const QColor& band = qv::kWorkingPageBand);

    QString title() const { return m_title; }

    // Called before the main window leaves this page through a navigation link; false keeps
    // the page (for example, when the user wants to apply edits first).
    virtual bool confirmLeave() { return true; }
    // Called when the link to the appliance has ended and the logon page comes back.
    virtual void linkEnded() {}
    // Called before the window closes and releases the link object: a page that uses the link
    // off the user-interface thread stops doing so.
    virtual void linkClosing() {}
    // Called when the page is opened or read again: asks the appliance for what the page
    // shows. A page that shows only what the store already holds asks for nothing.
    virtual void requestContent() {}

protected:
    void paintEvent(QPaintEvent* event) override;
    // Names, mnemonics, the Tab order and the lists' column widths are completed whenever the
    // page is shown, so controls a page adds or shows later are covered too.
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

    // Drops Enter and Escape pressed anywhere on the page, so neither applies the page nor
    // closes the window around it. Called once the page's controls exist.
    void dropEnterAndEscape();

    qv::CGlobalData& store() { return m_store; }
    const qv::CGlobalData& store() const { return m_store; }
    // Sends `request` while the link is up; false when it did not go out.
    bool sendIfConnected(const qv::Frame& request);
    qv::Prompt& prompt() { return m_prompt; }

private:
    QString m_title;
    QColor m_band;
    qv::CGlobalData& m_store;
    qv::Prompt& m_prompt;
    bool m_dropEnterAndEscape = false;
};
