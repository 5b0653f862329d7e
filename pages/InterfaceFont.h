#pragma once

class QApplication;

namespace qv {

// Chooses the window's font for the user-interface language. Under Korean the desktop's default
// sans-serif (NanumGothic on Debian) draws the period like a comma at the window's size, so
// addresses read "203,0,113,45": a Korean font whose period reads as one comes first instead,
// NanumBarunGothic or else Noto Sans CJK KR. English keeps the desktop's font.
void applyInterfaceFont(QApplication& app);

} // namespace qv
