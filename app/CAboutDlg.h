#pragma once

#include <QDialog>

// "About QVSetting": the icon, the version line of this build and a line on what the program
// is for.
class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    enum ControlId : int { kVersion = 1073 };

    explicit CAboutDlg(QWidget* parent = nullptr);

private:
    void setupControls();
};
