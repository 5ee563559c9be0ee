// The Change Serial Port dialog: an editable drop-down of COM1 to COM30 on
// one value, the port text selectedPort.
#pragma once

#include <QDialog>
#include <string>

class QComboBox;

namespace dashvell {

class CPortDlg : public QDialog {
 public:
  explicit CPortDlg(QWidget* parent = nullptr);

  // Empty after construction; the caller sets it before each run and reads it
  // back after OK.
  std::string selectedPort;

  // Refills the list, shows selectedPort and runs the dialog modally.
  int exec() override;
  // OK: the field's whole text becomes selectedPort, then the dialog closes.
  void accept() override;

  // Towards the control (save false): selects the first item that begins with
  // selectedPort, compared without regard to case, else puts the text into
  // the field with no item selected. From the control (save true):
  // selectedPort becomes the field's whole text, picked or typed.
  void DoDataExchange(bool save);
  // What the dialog does as it opens: the list back to its 30 items, then
  // the exchange towards the control.
  void OnInitDialog();

  QComboBox* combo() const { return combo_; }

 private:
  QComboBox* combo_ = nullptr;
  QWidget* ok_ = nullptr;
};

}  // namespace dashvell
