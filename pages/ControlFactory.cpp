#include "pages/ControlFactory.h"

#include "pages/ControlIds.h"
#include "pages/QtText.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>

namespace qv::controls {
namespace {

template <class Widget>
Widget* named(Widget* widget, int id, const QString& accessibleName, const char* objectName) {
    setControl(widget, id, accessibleName);
    widget->setObjectName(QString::fromLatin1(objectName));
    return widget;
}

} // namespace

QPushButton* button(int id, const QString& caption, const char* objectName) {
    auto* button = named(new QPushButton(caption), id, caption, objectName);
    button->setAutoDefault(false);
    return button;
}

QLineEdit* lineEdit(int id, const QString& accessibleName, const char* objectName) {
    return named(new QLineEdit, id, accessibleName, objectName);
}

QLineEdit* passwordEdit(int id, const QString& accessibleName, const char* objectName) {
    QLineEdit* edit = lineEdit(id, accessibleName, objectName);
    edit->setEchoMode(QLineEdit::Password);
    return edit;
}

QCheckBox* checkBox(int id, const QString& caption, const char* objectName) {
    return named(new QCheckBox(caption), id, caption, objectName);
}

QComboBox* comboBox(int id, const QString& accessibleName, const char* objectName) {
    return named(new QComboBox, id, accessibleName, objectName);
}

QTableView* listView(int id, const QString& accessibleName, const char* objectName) {
    auto* view = named(new QTableView, id, accessibleName, objectName);
    QHeaderView* header = view->horizontalHeader();
    header->setSectionResizeMode(QHeaderView::Fixed);
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    header->setHighlightSections(false);
    QHeaderView* rows = view->verticalHeader();
    rows->setVisible(false);
    rows->setMinimumSectionSize(kListRowHeight);
    rows->setDefaultSectionSize(kListRowHeight);
    rows->setSectionResizeMode(QHeaderView::Fixed);
    view->setShowGrid(true);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setWordWrap(false);
    // Tab leaves the list for the next control instead of walking its cells.
    view->setTabKeyNavigation(false);
    return view;
}

QLineEdit* findBox(int id, const char* objectName) {
    QLineEdit* find = lineEdit(id, uiText(StringId::TableFind), objectName);
    find->setPlaceholderText(find->accessibleName());
    // The clear button shows only while the box holds text, and Qt reads its icon images when it
    // is made: it is made with the first text, looking and working the same.
    QObject::connect(find, &QLineEdit::textChanged, find, [find](const QString& text) {
        if (!text.isEmpty())
            find->setClearButtonEnabled(true);
    });
    find->setMaximumWidth(220);
    return find;
}

QLabel* unappliedMarker(const QString& text) {
    auto* marker = new QLabel(text);
    marker->setObjectName(QStringLiteral("unappliedMarker"));
    // Red and bold through the palette and the font: a style sheet would bring in Qt's whole
    // style-sheet engine for one label.
    QPalette red = marker->palette();
    red.setColor(QPalette::WindowText, QColor(0xb0, 0x00, 0x20));
    marker->setPalette(red);
    QFont bold = marker->font();
    bold.setBold(true);
    marker->setFont(bold);
    marker->setVisible(false);
    return marker;
}

} // namespace qv::controls
