#pragma once

#include "pages/upload/CUploadPageDlg.h"

// Page 9: a zip archive of web files that the appliance's web server unpacks and serves.
class CWebDlg : public CUploadPageDlg {
    Q_OBJECT
public:
    enum ControlId : int {
        kPath = 1074,
        kBrowse = 1075,
        kUpload = 1076,
    };

    CWebDlg(qv::CGlobalData& store, qv::Prompt& prompt, QWidget* parent = nullptr);
};
