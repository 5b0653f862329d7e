#pragma once

#include <QDialog>

class QLabel;
class QProgressBar;

// The progress of a backup or a restore: what is being done, how many of how many, and Cancel.
// Shown without a loop of its own, so the replies keep arriving through the window's
// dispatcher; modal to the application, so nothing else is sent meanwhile. Setting the progress
// never runs the event loop (QProgressDialog would, from inside a reply's handling).
class TransferProgressDlg : public QDialog {
    Q_OBJECT
public:
    enum ControlId : int {
        kDialog = 1130,
        kText = 1131,
        kBar = 1132,
        kCancel = 1133,
    };

    explicit TransferProgressDlg(QWidget* parent);
    void setProgress(const QString& text, int done, int total);

Q_SIGNALS:
    // Cancel, or the dialog's close box.
    void cancelled();

protected:
    void reject() override;

private:
    QLabel* m_text;
    QProgressBar* m_bar;
};
