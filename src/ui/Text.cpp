#include "ui/Text.h"

#include "platform/CodePage.h"

namespace vrk {

QString ToQString(std::string_view ansi) { return QString::fromStdString(Utf8FromAnsi(ansi)); }

std::string FromQString(const QString& text) { return AnsiFromUtf8(text.toStdString()); }

QString ToQStringLines(std::string_view ansi) {
  QString text = ToQString(ansi);
  text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return text;
}

QString ToCaption(std::string_view ansi) {
  QString text = ToQString(ansi);
  text.replace(QLatin1Char('&'), QLatin1String("&&"));
  return text;
}

QString ToWindowTitle(std::string_view ansi) {
  QString text = ToQString(ansi);
  text.replace(QLatin1String("[*]"), QLatin1String("[*][*]"));
  return text;
}

}  // namespace vrk
