#include "CPageDlg.h"

#include "ControlIds.h"

#include <QPainter>

CPageDlg::CPageDlg(const QString& title, qv::CGlobalData& store, qv::Prompt& prompt,
                   QWidget* parent, const QColor& band)
    : QWidget(parent), m_title(title), m_band(band), m_store(store), m_prompt(prompt) {
    setProperty(qv::kPageProperty, true);
    setAccessibleName(title);
    setContentsMargins(0, qv::kTitleBandHeight, 0, 0);
}

void CPageDlg::paintEvent(QPaintEvent* event) {
    QWidget::paintEvent(event);
    QPainter painter(this);
    qv::paintTitleBand(painter, width(), m_band, m_title);
}
