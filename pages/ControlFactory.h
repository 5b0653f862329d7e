#pragma once

// The recurring kinds of control, made one way on every page: each carries its control id and
// the name a screen reader announces, an object name for tests and style sheets, and the
// behaviour the appliance's pages share (buttons never become the default, so Enter does not
// press them; lists are report views of fixed 15-pixel rows).

#include <QString>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;

namespace qv::controls {

// The height of a list row on every list of the program.
inline constexpr int kListRowHeight = 15;

QPushButton* button(int id, const QString& caption, const char* objectName);
QLineEdit* lineEdit(int id, const QString& accessibleName, const char* objectName);
QLineEdit* passwordEdit(int id, const QString& accessibleName, const char* objectName);
QCheckBox* checkBox(int id, const QString& caption, const char* objectName);
QComboBox* comboBox(int id, const QString& accessibleName, const char* objectName);
// A list in report view: grid lines, one row selected at a time, fixed left-aligned columns,
// no in-place editing. Its model is set by the page.
QTableView* listView(int id, const QString& accessibleName, const char* objectName);
// The box above a list that filters its rows as the operator types.
QLineEdit* findBox(int id, const char* objectName);
// The red note beside Apply that says the page holds edits the appliance has not taken yet;
// hidden until the page shows it.
QLabel* unappliedMarker(const QString& text);

} // namespace qv::controls
