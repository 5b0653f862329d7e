#pragma once

#include "pages/upload/CUploadPageDlg.h"

// Page 8: the ActiveX start page (index.html) of the appliance's web server.
class CAxDlg : public CUploadPageDlg {
    Q_OBJECT
public:
    enum ControlId : int {
        kPath = 1037,
        kBrowse = 1038,
        kUpload = 1039,
    };

    CAxDlg(qv::CGlobalData& store, qv::Prompt& prompt, QWidget* parent = nullptr);
};
