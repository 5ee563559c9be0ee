#include "app/CAboutDlg.h"

#include <QLabel>
#include <QPushButton>

#include "app/AppIcon.h"
#include "app/TemplateControls.h"

namespace dashvell {

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
  const DialogTemplate& t = AboutTemplate();
  setWindowTitle(QString::fromLatin1(t.caption));
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
  TemplateControls controls = CreateTemplateControls(t, this);
  for (QWidget* w : controls.inOrder) {
    if (auto* label = qobject_cast<QLabel*>(w); label && label->text().isEmpty())
      label->setPixmap(AppIcon().pixmap(32, 32));
  }
  auto* ok = qobject_cast<QPushButton*>(controls.byId.at(1));
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  ok->setFocus();
}

}  // namespace dashvell
