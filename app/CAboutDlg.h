// The About box: the product's name, our maker's information and icon 128.
#pragma once

#include <QDialog>

namespace dashvell {

class CAboutDlg : public QDialog {
 public:
  explicit CAboutDlg(QWidget* parent = nullptr);
};

}  // namespace dashvell
