#pragma once

#include "pages/NoticeQueue.h"

#include <QString>
#include <QStringList>

#include <optional>

class QMessageBox;
class QWidget;

namespace qv {

// The button a question's box offers first, the one Enter presses.
enum class DefaultAnswer { Yes, No };

// Every message box and file chooser of the window goes through this service, so tests can read
// what was shown and answer questions without a person at the keyboard.
class Prompt {
public:
    virtual ~Prompt() = default;

    // A notice or refusal: OK button, exclamation icon.
    virtual void notice(const QString& text) = 0;
    // The window's own report of success ("Backup written to ..."): OK button, information
    // icon, so it does not read as a warning.
    virtual void information(const QString& text) = 0;
    // A question: Yes and No buttons, question icon. True on Yes. Questions whose Yes throws
    // something away offer No first, so Enter does not.
    virtual bool question(const QString& text, DefaultAnswer preselected = DefaultAnswer::Yes) = 0;
    // A question with its own answers, one button each, `preselected` the one Enter presses.
    // The index of the answer taken; -1 when the box was closed without one.
    virtual int choice(const QString& text, const QStringList& answers, int preselected) = 0;
    // File choosers; `filter` in Qt's form ("HTML files (*.html);;All files (*)"). Empty when
    // the user cancels.
    virtual std::optional<QString> openFileName(const QString& filter,
                                                const QString& title = {}) = 0;
    virtual std::optional<QString> saveFileName(const QString& filter, const QString& defaultName,
                                                const QString& title = {}) = 0;
};

// The text a message box shows. The string table breaks lines the appliance-era way, "\r\n"
// with blanks around it (" \r\n Will you continue?"): Qt wants "\n", and no line of a box
// begins or ends with a blank.
QString displayedText(QString text);

// Converts a chooser filter written as pairs of description and pattern separated by '|'
// ("html파일|*.html|모든파일(*.*)|*.*|") to Qt's form ("html파일 (*.html);;모든파일(*.*) (*)").
QString qtFileFilter(const QString& pairs);

// The production service: QMessageBox and QFileDialog, captioned "QVSetting", over `parent`.
// Notices are shown one at a time (NoticeQueue).
class QtPrompt : public Prompt {
public:
    explicit QtPrompt(QWidget* parent = nullptr);
    void setParent(QWidget* parent) { m_parent = parent; }

    void notice(const QString& text) override;
    void information(const QString& text) override;
    bool question(const QString& text, DefaultAnswer preselected) override;
    int choice(const QString& text, const QStringList& answers, int preselected) override;
    std::optional<QString> openFileName(const QString& filter, const QString& title) override;
    std::optional<QString> saveFileName(const QString& filter, const QString& defaultName,
                                        const QString& title) override;

private:
    void showNotice(const QString& text);

    QWidget* m_parent;
    // The notice box that is open, for the queue to count repeats in.
    QMessageBox* m_openNotice = nullptr;
    QString m_lastOpenFolder;
    NoticeQueue m_notices;
};

} // namespace qv
