#pragma once

#include "res/StringTable.h"

#include <QApplication>

#include <memory>

class QTranslator;

// Qt's own texts (standard buttons, choosers) in `language`; nullptr for English, Qt's own.
std::unique_ptr<QTranslator> loadQtTranslations(qv::Language language);

// The process: reads the appliance's address from the command line, loads Qt's own Korean
// texts when the user-interface language is Korean, routes the link's diagnostic lines to the
// "qv.link" logging category, and runs the main window until it ends.
class CQVSettingApp : public QApplication {
    Q_OBJECT
public:
    CQVSettingApp(int& argc, char** argv);
    ~CQVSettingApp() override;

    // Runs the main window modally; the exit code of the process.
    int run();

private:
    int& m_argc;
    char** m_argv;
    std::unique_ptr<QTranslator> m_qtTranslator;
};
