// The spin field with its label: typed values outside the range and emptied
// fields are brought into the range when the focus moves on, in a real window
// on the offscreen platform.
#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTest>
#include <QVBoxLayout>
#include <string>

#include "widgets/SpinEdit.h"

namespace {

constexpr int kWindowDeadlineMs = 10000;

// A window with the field and a second one to move the focus to.
class SpinEditWindow : public testing::Test {
 protected:
  void SetUp() override {
    auto* layout = new QVBoxLayout(&window_);
    edit_ = new TSpinEdit("Icon", &window_);
    other_ = new QLineEdit(&window_);
    layout->addWidget(edit_);
    layout->addWidget(other_);
    window_.show();
    window_.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window_, kWindowDeadlineMs));
  }

  // Replaces the field's text by typing, as a user would.
  void Type(const QString& text) {
    edit_->setFocus();
    ASSERT_TRUE(edit_->SpinBox()->hasFocus());
    edit_->SpinBox()->selectAll();
    QTest::keyClick(edit_->SpinBox(), Qt::Key_Backspace);
    QTest::keyClicks(edit_->SpinBox(), text);
    ASSERT_EQ(edit_->SpinBox()->text().toStdString(), text.toStdString())
        << "the keystrokes were refused";
  }

  QWidget window_;
  TSpinEdit* edit_ = nullptr;
  QLineEdit* other_ = nullptr;
};

struct TBoundCase {
  const char* Name;
  int Minimum;
  int Maximum;
  int Start;
  const char* Typed;
  int Expected;
};

const TBoundCase kBoundCases[] = {
    {"above the range", 1, 10, 5, "15", 10},
    {"below the range", 5, 8, 6, "3", 5},
    {"negative, below", -1, 134, 0, "-7", -1},
    {"far above", -1, 134, 0, "99999", 134},
    {"inside", 1, 4, 1, "3", 3},
    {"lower bound", -1, 134, 7, "-1", -1},
    {"emptied", 1, 10, 7, "", 1},
    {"emptied, negative lower bound", -1, 134, 20, "", -1},
    {"sign only", 5, 8, 6, "-", 5},
};

TEST_F(SpinEditWindow, LeavingTheFieldBringsTheValueIntoRange) {
  for (const TBoundCase& bound : kBoundCases) {
    SCOPED_TRACE(bound.Name);
    edit_->SetRange(bound.Minimum, bound.Maximum);
    edit_->SetValue(bound.Start);
    Type(bound.Typed);
    other_->setFocus();
    ASSERT_TRUE(other_->hasFocus());
    EXPECT_EQ(edit_->SpinBox()->value(), bound.Expected);
    EXPECT_EQ(edit_->SpinBox()->text().toStdString(), std::to_string(bound.Expected));
  }
}

TEST_F(SpinEditWindow, ReadingWhileTypingGivesTheBoundedValue) {
  edit_->SetRange(-1, 134);
  edit_->SetValue(5);
  QSignalSpy changed(edit_, &TSpinEdit::ValueChanged);
  Type("200");
  EXPECT_EQ(edit_->Value(), 134);
  EXPECT_EQ(changed.last().at(0).toInt(), 134);
}

TEST(SpinEdit, LabelNamesTheFieldAndSettingKeepsTheRange) {
  TSpinEdit edit("Output");
  EXPECT_EQ(edit.EditLabel()->text().toStdString(), "Output");
  EXPECT_EQ(edit.EditLabel()->buddy(), edit.SpinBox());
  edit.SetRange(1, 4);
  edit.SetValue(9);
  EXPECT_EQ(edit.Value(), 4);
  edit.SetValue(-3);
  EXPECT_EQ(edit.Value(), 1);
  EXPECT_EQ(edit.Minimum(), 1);
  EXPECT_EQ(edit.Maximum(), 4);
}

}  // namespace
