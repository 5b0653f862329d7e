#pragma once

// A Prompt for widget tests: records every text shown, answers questions and file choosers
// from queues, and can run a callback while a box is "open" (a real box runs its own event
// loop, so tests can check what happens meanwhile).

#include "pages/Prompt.h"

#include <QString>
#include <QStringList>

#include <deque>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

namespace qvtest {

class ScriptedPrompt : public qv::Prompt {
public:
    enum class Kind { Notice, Question, Choice, OpenFile, SaveFile };
    struct Shown {
        Kind kind;
        QString text; // the message, or the filter of a chooser
        QString defaultName;
        qv::DefaultAnswer preselected = qv::DefaultAnswer::Yes; // of a question
        bool information = false; // a notice of success, shown with the information icon
    };

    // Everything shown, in order.
    std::vector<Shown> shown;
    // Answers to questions, taken from the front; `defaultAnswer` when the queue is empty.
    std::deque<bool> answers;
    bool defaultAnswer = false;
    // Answers to choices (the index of the answer), from the front; -1 (closed) when empty.
    std::deque<int> choices;
    // The answers each choice offered, in order.
    std::vector<QStringList> choiceAnswers;
    // The title of every file chooser asked for, in order.
    QStringList fileTitles;
    // Answers to the choosers; nullopt is a cancelled chooser. Cancel when the queue is empty.
    std::deque<std::optional<QString>> openAnswers;
    std::deque<std::optional<QString>> saveAnswers;
    // Runs each time a box or chooser is shown, before it returns.
    std::function<void(const Shown&)> whileShown;

    void notice(const QString& text) override { record({Kind::Notice, text, {}}); }
    void information(const QString& text) override {
        record({Kind::Notice, text, {}, qv::DefaultAnswer::Yes, true});
    }

    bool question(const QString& text,
                  qv::DefaultAnswer preselected = qv::DefaultAnswer::Yes) override {
        record({Kind::Question, text, {}, preselected});
        return take(answers, defaultAnswer);
    }

    int choice(const QString& text, const QStringList& offered, int) override {
        choiceAnswers.push_back(offered);
        record({Kind::Choice, text, {}});
        return take(choices, -1);
    }

    std::optional<QString> openFileName(const QString& filter, const QString& title = {}) override {
        fileTitles << title;
        record({Kind::OpenFile, filter, {}});
        return take(openAnswers, std::optional<QString>{});
    }

    std::optional<QString> saveFileName(const QString& filter, const QString& defaultName,
                                        const QString& title = {}) override {
        fileTitles << title;
        record({Kind::SaveFile, filter, defaultName});
        return take(saveAnswers, std::optional<QString>{});
    }

    QStringList texts(Kind kind) const {
        QStringList out;
        for (const Shown& s : shown)
            if (s.kind == kind)
                out << s.text;
        return out;
    }
    QStringList notices() const { return texts(Kind::Notice); }
    // The notices shown with the information icon.
    QStringList informations() const {
        QStringList out;
        for (const Shown& s : shown)
            if (s.information)
                out << s.text;
        return out;
    }
    QStringList questions() const { return texts(Kind::Question); }
    void clear() { shown.clear(); }

private:
    void record(const Shown& s) {
        shown.push_back(s);
        if (whileShown)
            whileShown(s);
    }
    template <class T> static T take(std::deque<T>& queue, T fallback) {
        if (!queue.empty()) {
            std::swap(fallback, queue.front());
            queue.pop_front();
        }
        return fallback;
    }
};

} // namespace qvtest
