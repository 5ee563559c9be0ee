// The Change Serial Port dialog's exchange with its combo box.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>

#include "app/CPortDlg.h"

namespace dashvell {
namespace {

struct SelectCase {
  const char* name;
  const char* selectedPort;
  int expectedIndex;  // -1: no item selected
  const char* shownText;
};

const SelectCase kSelectCases[] = {
    {"Com2NotCom20", "COM2", 1, "COM2"},
    {"Com1NotCom10", "COM1", 0, "COM1"},
    {"Com3NotCom30", "COM3", 2, "COM3"},
    {"Com30", "COM30", 29, "COM30"},
    {"LowerCaseSelectsItem", "com5", 4, "COM5"},
    {"NotInListShownAsItIs", "COM31", -1, "COM31"},
    {"OtherTextShownAsItIs", "ttyUSB0", -1, "ttyUSB0"},
    // Every item begins with the empty text: the first, the port an empty
    // name opens anyway.
    {"EmptySelectsFirst", "", 0, "COM1"},
};

class PortDialogSelect : public ::testing::TestWithParam<SelectCase> {};

TEST_P(PortDialogSelect, TowardsControl) {
  const SelectCase& c = GetParam();
  CPortDlg dlg;
  dlg.selectedPort = c.selectedPort;
  dlg.OnInitDialog();
  EXPECT_EQ(dlg.combo()->currentIndex(), c.expectedIndex);
  EXPECT_EQ(dlg.combo()->currentText(), QString::fromLatin1(c.shownText));
  EXPECT_EQ(dlg.combo()->count(), 30);
}

INSTANTIATE_TEST_SUITE_P(Ports, PortDialogSelect, ::testing::ValuesIn(kSelectCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(PortDialog, ListInOrderNotSorted) {
  CPortDlg dlg;
  ASSERT_EQ(dlg.combo()->count(), 30);
  for (int i = 0; i < 30; ++i)
    EXPECT_EQ(dlg.combo()->itemText(i), QStringLiteral("COM%1").arg(i + 1));
}

struct TypedCase {
  const char* name;
  const char* typed;
};
const TypedCase kTyped[] = {{"NotInList", "COM31"}, {"LowerCase", "com5"}, {"Empty", ""}};

class PortDialogTyped : public ::testing::TestWithParam<TypedCase> {};

TEST_P(PortDialogTyped, OkReturnsFieldExactly) {
  CPortDlg dlg;
  dlg.selectedPort = "COM2";
  dlg.OnInitDialog();
  dlg.combo()->lineEdit()->setText(QString::fromLatin1(GetParam().typed));
  dlg.accept();
  EXPECT_EQ(dlg.result(), QDialog::Accepted);
  EXPECT_EQ(dlg.selectedPort, GetParam().typed);
}

INSTANTIATE_TEST_SUITE_P(Texts, PortDialogTyped, ::testing::ValuesIn(kTyped),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(PortDialog, CancelKeepsSelectedPortAndReopenForgetsPick) {
  CPortDlg dlg;
  dlg.selectedPort = "COM4";
  dlg.OnInitDialog();
  dlg.combo()->setCurrentIndex(9);
  dlg.reject();
  EXPECT_EQ(dlg.result(), QDialog::Rejected);
  EXPECT_EQ(dlg.selectedPort, "COM4");
  // The same object serves the next run: it shows selectedPort again.
  dlg.OnInitDialog();
  EXPECT_EQ(dlg.combo()->currentText(), QStringLiteral("COM4"));
}

}  // namespace
}  // namespace dashvell
