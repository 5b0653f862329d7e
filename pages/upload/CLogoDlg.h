#pragma once

#include "pages/upload/CUploadPageDlg.h"

class QLabel;
class QPushButton;

// Page 7: the company logo and banner that the client programs show. Beside the upload, the
// page deletes the stored logo and previews the chosen image at its size.
class CLogoDlg : public CUploadPageDlg {
    Q_OBJECT
public:
    enum ControlId : int {
        kUpload = 1033,
        kDelete = 1034,
        kPath = 1035,
        kBrowse = 1036,
        kPreview = 1303,
        kPreviewSize = 1304,
    };
    // The preview's box; larger images are scaled down into it.
    static constexpr int kPreviewWidth = 250;
    static constexpr int kPreviewHeight = 100;

    CLogoDlg(qv::CGlobalData& store, qv::Prompt& prompt, QWidget* parent = nullptr);

private:
    void fileChosen(const QString& file) override;
    bool confirmUpload(const QString& file) override;
    void onDelete();

    QPushButton* m_delete;
    QLabel* m_preview;
    QLabel* m_previewSize;
};
