#include "pages/Prompt.h"

#include "pages/QtText.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QStringList>

#include <algorithm>
#include <vector>

namespace qv {
namespace {

// Message boxes and choosers carry the program's name.
QString caption() {
    return uiText(StringId::AppTitle);
}

// The process's current directory is kept across every chooser: the file a page opens is
// named by its full path, and nothing else in the process should see the directory move.
class CurrentDirectoryGuard {
public:
    CurrentDirectoryGuard() : m_saved(QDir::currentPath()) {}
    ~CurrentDirectoryGuard() { QDir::setCurrent(m_saved); }
    CurrentDirectoryGuard(const CurrentDirectoryGuard&) = delete;
    CurrentDirectoryGuard& operator=(const CurrentDirectoryGuard&) = delete;

private:
    QString m_saved;
};

QString displayed(const QString& text) {
    return displayedText(text);
}

std::optional<QString> chosen(const QString& path) {
    if (path.isEmpty())
        return std::nullopt;
    return path;
}

} // namespace

QString displayedText(QString text) {
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QStringList lines = text.split(QLatin1Char('\n'));
    for (QString& line : lines)
        line = line.trimmed();
    return lines.join(QLatin1Char('\n'));
}

QString qtFileFilter(const QString& pairs) {
    const QStringList parts = pairs.split(QLatin1Char('|'), Qt::SkipEmptyParts);
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        if (patterns == QLatin1String("*.*"))
            patterns = QStringLiteral("*");
        filters << QStringLiteral("%1 (%2)").arg(parts[i], patterns);
    }
    return filters.join(QStringLiteral(";;"));
}

QtPrompt::QtPrompt(QWidget* parent)
    : m_parent(parent), m_notices([this](const QString& text) { showNotice(text); },
                                  [this](const QString& text) {
                                      if (m_openNotice)
                                          m_openNotice->setText(displayed(text));
                                  }) {}

void QtPrompt::notice(const QString& text) {
    m_notices.notice(text);
}

void QtPrompt::information(const QString& text) {
    m_notices.notice(text, true);
}

void QtPrompt::showNotice(const QString& text) {
    QMessageBox box(m_notices.openIsInformation() ? QMessageBox::Information : QMessageBox::Warning,
                    caption(), displayed(text), QMessageBox::Ok, m_parent);
    // Notices quote what the appliance and files hold; markup in them is shown, never drawn.
    box.setTextFormat(Qt::PlainText);
    m_openNotice = &box;
    box.exec();
    m_openNotice = nullptr;
}

bool QtPrompt::question(const QString& text, DefaultAnswer preselected) {
    QMessageBox box(QMessageBox::Question, caption(), displayed(text),
                    QMessageBox::Yes | QMessageBox::No, m_parent);
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(preselected == DefaultAnswer::Yes ? QMessageBox::Yes : QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

int QtPrompt::choice(const QString& text, const QStringList& answers, int preselected) {
    QMessageBox box(QMessageBox::Question, caption(), displayed(text), QMessageBox::NoButton,
                    m_parent);
    box.setTextFormat(Qt::PlainText);
    std::vector<QAbstractButton*> buttons;
    for (const QString& answer : answers)
        buttons.push_back(box.addButton(answer, QMessageBox::AcceptRole));
    if (preselected >= 0 && preselected < static_cast<int>(buttons.size()))
        box.setDefaultButton(static_cast<QPushButton*>(buttons[static_cast<size_t>(preselected)]));
    box.exec();
    const auto taken = std::find(buttons.begin(), buttons.end(), box.clickedButton());
    return taken == buttons.end() ? -1 : static_cast<int>(taken - buttons.begin());
}

std::optional<QString> QtPrompt::openFileName(const QString& filter, const QString& title) {
    CurrentDirectoryGuard keep;
    const std::optional<QString> path = chosen(QFileDialog::getOpenFileName(
        m_parent, title.isEmpty() ? caption() : title, m_lastOpenFolder, filter));
    // The next chooser opens where the administrator last found a file.
    if (path)
        m_lastOpenFolder = QFileInfo(*path).absolutePath();
    return path;
}

std::optional<QString> QtPrompt::saveFileName(const QString& filter, const QString& defaultName,
                                              const QString& title) {
    CurrentDirectoryGuard keep;
    return chosen(QFileDialog::getSaveFileName(m_parent, title.isEmpty() ? caption() : title,
                                               defaultName, filter));
}

} // namespace qv
