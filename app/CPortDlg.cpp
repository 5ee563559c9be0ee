#include "app/CPortDlg.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>

#include "app/TemplateControls.h"
#include "platform/DialogUnits.h"

namespace dashvell {

CPortDlg::CPortDlg(QWidget* parent) : QDialog(parent) {
  const DialogTemplate& t = PortTemplate();
  setWindowTitle(QString::fromLatin1(t.caption));
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
  TemplateControls controls = CreateTemplateControls(t, this);
  combo_ = qobject_cast<QComboBox*>(controls.byId.at(1026));
  // The template's height of the combo box includes the dropped list.
  const TemplateItem* item = FindItem(t, 1026);
  int listPixels = DialogYToPixels(item->rect.h) - combo_->height();
  int rowPixels = combo_->fontMetrics().height() + 2;
  combo_->setMaxVisibleItems(std::max(1, listPixels / rowPixels));
  ok_ = controls.byId.at(1);
  connect(qobject_cast<QPushButton*>(ok_), &QPushButton::clicked, this, &QDialog::accept);
  connect(qobject_cast<QPushButton*>(controls.byId.at(2)), &QPushButton::clicked, this,
          &QDialog::reject);
  OnInitDialog();
}

void CPortDlg::OnInitDialog() {
  const DialogTemplate& t = PortTemplate();
  combo_->clear();
  for (int i = 0; i < t.comboItemCount; ++i) combo_->addItem(QString::fromLatin1(t.comboItems[i]));
  DoDataExchange(false);
  // The first tab stop, OK, has the focus.
  ok_->setFocus();
}

int CPortDlg::exec() {
  OnInitDialog();
  return QDialog::exec();
}

void CPortDlg::accept() {
  DoDataExchange(true);
  QDialog::accept();
}

void CPortDlg::DoDataExchange(bool save) {
  if (save) {
    selectedPort = combo_->currentText().toLatin1().toStdString();
    return;
  }
  const QString wanted = QString::fromLatin1(selectedPort.data(), qsizetype(selectedPort.size()));
  for (int i = 0; i < combo_->count(); ++i) {
    if (combo_->itemText(i).startsWith(wanted, Qt::CaseInsensitive)) {
      combo_->setCurrentIndex(i);
      return;
    }
  }
  combo_->setCurrentIndex(-1);
  combo_->setEditText(wanted);
}

}  // namespace dashvell
