#include "pages/upload/CAxDlg.h"

CAxDlg::CAxDlg(qv::CGlobalData& store, qv::Prompt& prompt, QWidget* parent)
    : CUploadPageDlg({qv::upload::Kind::ActiveXPage, qv::StringId::ActiveXTitle, kPath, kBrowse,
                      kUpload, qv::StringId::ActiveXUploadButton, qv::StringId::ActiveXFilter,
                      qv::StringId::ActiveXHelp, qv::StringId::ChooseActiveXTitle},
                     store, prompt, parent) {
    dropEnterAndEscape();
}
