// The name prompt: asks for a name or a short text. Tag "1" accepts any characters, any other tag
// only letters and digits; after OK the answer is in Tag.
#pragma once

#include <QDialog>
#include <QString>

class QLabel;
class QLineEdit;
class QPushButton;

namespace vrk {

class Ui;

inline constexpr const char* kSecurityCodeCaption = "Set Security Code";

class frmEnterName : public QDialog {
  Q_OBJECT

 public:
  explicit frmEnterName(Ui& ui, QWidget* parent = nullptr);

  QLabel* lblUserAction;
  QLineEdit* txtName;
  QPushButton* cmdOK;
  QPushButton* cmdCancel;
  QString Tag = QStringLiteral("0");
  // The characters a letters-and-digits tag lets through, as a character class.
  QString Allowed = QStringLiteral("A-Za-z0-9");

  void cmdOK_Click();
  void cmdCancel_Click();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool AnyText() const { return Tag == QLatin1String("1"); }

  Ui& ui_;
};

}  // namespace vrk
