#pragma once

// What an operator without a mouse, or with a screen reader, needs on every page, done in one
// place so that controls a page makes by hand are covered as well as the factory's.

#include <QString>

class QWidget;

namespace qv::controls {

// Completes the page `root`, once its layout has placed the controls (the page calls it when it
// is shown):
// - every control that Tab reaches gets an accessible name when it has none: its label's text,
//   its caption, its placeholder or tool tip, its group box's title, or its parent's name;
// - every button and check box without a mnemonic gets one that no other control of the page
//   uses: the first free letter of its caption, or "(&A)" after a caption without Latin letters,
//   as Korean captions are marked;
// - the Tab order follows the layout: rows from top to bottom, left to right within a row.
void completeKeyboardAccess(QWidget* root);

// A caption without its mnemonic markup ("&Add" -> "Add", "추가(&A)" -> "추가", "&&" -> "&").
QString withoutMnemonic(const QString& caption);

} // namespace qv::controls
