#include "network/CNetworkDlg.h"

#include "QtText.h"

CNetworkDlg::CNetworkDlg(qv::CGlobalData& store, qv::Prompt& prompt, QWidget* parent)
    : CPageDlg(qv::uiText(qv::StringId::NetworkTitle), store, prompt, parent) {}

void CNetworkDlg::load(const qv::NetworkConfigRecord& record) {
    // The settings' controls are laid out by the network page's own work; the record is kept
    // so that Save & Reboot can send back the bytes the page does not edit.
    m_record = record;
}
