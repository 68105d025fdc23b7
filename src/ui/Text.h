// The one crossing between the program's code page 1252 text and the widgets' QString.
#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace vrk {

QString ToQString(std::string_view ansi);
// A character that code page 1252 cannot hold becomes '?'.
std::string FromQString(const QString& text);
// Message text: the program ends its lines with carriage returns, the widgets with line feeds.
QString ToQStringLines(std::string_view ansi);
// User text (a field name, say) for a label, a menu item or a button, shown exactly as written: every
// '&' is doubled, so that no user text ever makes a mnemonic or takes an Alt+letter from the menus.
QString ToCaption(std::string_view ansi);
// User text for a window title, shown exactly as written: Qt would take "[*]" for the mark of a changed
// document.
QString ToWindowTitle(std::string_view ansi);

}  // namespace vrk
