#pragma once

// What an operator without a mouse, or with a screen reader, needs on every page, done in one
// place so that controls a page makes by hand are covered as well as the factory's.

#include <QString>

#include <vector>

class QWidget;

namespace qv::controls {

// Completes the page `root`, once its layout has placed the controls (the page calls it when it
// is shown):
// - every control that Tab reaches gets an accessible name when it has none: its label's text,
//   its caption, its placeholder or tool tip, its group box's title, or its parent's name;
// - every button and check box gets a mnemonic: the shared actions (Add, Edit, Delete, Apply,
//   Refresh, Close, Backup, Restore, Browse, Upload) their fixed one, the others the first
//   letter of their caption no other control of the page uses, or "(&A)" after a caption
//   without Latin letters, as Korean captions are marked. Captions are plain text: a '&' in one
//   is shown as written;
// - a page that did not set its Tab order with setTabOrder() gets rows from top to bottom,
//   left to right within a row.
void completeKeyboardAccess(QWidget* root);

// The fixed mnemonic letter of a shared action's plain caption in the window's language, or a
// null character for any other caption.
QChar actionMnemonic(const QString& caption);
// A plain caption marked for a button or menu entry outside the pages: its action's mnemonic,
// any literal '&' escaped.
QString actionCaption(const QString& caption);

// Sets the Tab order of `page` to `order`, as its layout reads, and keeps it from being guessed.
void setTabOrder(QWidget* page, const std::vector<QWidget*>& order);

// A caption without its mnemonic markup ("&Add" -> "Add", "추가(&A)" -> "추가", "&&" -> "&").
QString withoutMnemonic(const QString& caption);

} // namespace qv::controls
