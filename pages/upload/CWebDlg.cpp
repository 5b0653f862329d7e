#include "pages/upload/CWebDlg.h"

CWebDlg::CWebDlg(qv::CGlobalData& store, qv::Prompt& prompt, QWidget* parent)
    : CUploadPageDlg({qv::upload::Kind::WebArchive, qv::StringId::WebTitle, kPath, kBrowse, kUpload,
                      qv::StringId::WebUploadButton, qv::StringId::WebFilter, qv::StringId::WebHelp,
                      qv::StringId::ChooseWebArchiveTitle},
                     store, prompt, parent) {
    dropEnterAndEscape();
}
