#pragma once

#include "CPageDlg.h"

// Page 7: the company logo upload.
class CLogoDlg : public CPageDlg {
    Q_OBJECT
public:
    CLogoDlg(qv::CGlobalData& store, qv::Prompt& prompt, QWidget* parent = nullptr);
};
