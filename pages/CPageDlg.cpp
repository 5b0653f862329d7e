#include "pages/CPageDlg.h"

#include "link/CGlobalData.h"
#include "pages/ControlIds.h"
#include "pages/KeyboardAccess.h"
#include "pages/StoreTableModel.h"

#include <QKeyEvent>
#include <QPainter>
#include <QTableView>

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

void CPageDlg::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    qv::controls::completeKeyboardAccess(this);
    for (QTableView* view : findChildren<QTableView*>())
        if (const StoreTableModel* model = StoreTableModel::behind(view))
            model->fitColumns(view);
}

void CPageDlg::dropEnterAndEscape() {
    m_dropEnterAndEscape = true;
    installEventFilter(this);
    for (QWidget* child : findChildren<QWidget*>())
        child->installEventFilter(this);
}

bool CPageDlg::eventFilter(QObject* watched, QEvent* event) {
    if (m_dropEnterAndEscape && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        const auto* widget = qobject_cast<QWidget*>(watched);
        // Keys in a combo box's open list belong to that list, which is a window of its own.
        const bool onPage = widget && widget->window() == window();
        if (onPage && (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape))
            return true;
    }
    return QWidget::eventFilter(watched, event);
}

bool CPageDlg::sendIfConnected(const qv::Frame& request) {
    return m_store.isConnected() && m_store.send(request);
}
