// The button properties dialog run from the context menu: where and how it
// opens, what each way of closing it does to the button, and the byte line of
// the data field.
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QToolTip>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <functional>
#include <vector>

#include "EditingFixture.h"
#include "widgets/ColourMapping.h"
#include "widgets/ColourSelector.h"
#include "widgets/EncodableTextValidator.h"
#include "widgets/SpinEdit.h"

namespace {

const TCommand kTwelve{"Twelve", "", 2, 0x00FF0000, 0x0000FFFF, 4};

class PropertiesTest : public EditingTest {
 protected:
  TfmProperties* Dialog() const { return panel_->fmProperties(); }
  template <typename T>
  T* Field(const char* name) const {
    return Dialog()->findChild<T*>(name);
  }

  // Opens the dialog for a button from its menu and runs during() once it shows.
  void RunProperties(int number, const std::function<void()>& during) {
    RightClick(number);
    Menu()->hide();
    bool ran = false;
    // Runs inside the dialog's own event loop.
    QTimer::singleShot(0, Dialog(), [&] {
      ran = QTest::qWaitFor([this] { return Dialog()->isVisible(); }, kDeadlineMs);
      during();
      if (Dialog()->isVisible()) Dialog()->reject();  // never leave the test waiting
    });
    Item("ButtonProperties1")->trigger();
    EXPECT_TRUE(ran);
  }

  // Changes every field away from kTwelve.
  void ChangeEveryField() const {
    Field<QLineEdit>("edCaption")->selectAll();
    QTest::keyClicks(Field<QLineEdit>("edCaption"), "a\\nb");
    Field<QLineEdit>("edData")->setText("13,10");
    Field<TSpinEdit>("edIconNo")->SetValue(-1);
    Field<TSpinEdit>("edOutputNo")->SetValue(4);
    Field<TColourSelector>("edButtonColour")->setCurrentIndex(1);
    Field<TColourSelector>("edTextColour")->setCurrentIndex(2);
  }
};

TEST_F(PropertiesTest, EveryWayOfClosingButOkLeavesTheButtonAsItWas) {
  ShowPanel();
  panel_->resize(300, 250);  // the dialog fits on the screen at button 12's corner
  ASSERT_TRUE(QTest::qWaitFor([&] { return Button(12)->x() < 300; }, kDeadlineMs));
  Record(12).Assign(kTwelve);
  panel_->RefreshGrid();
  const std::vector<std::pair<const char*, std::function<void(TfmProperties&)>>> closings = {
      {"Cancel", [](TfmProperties& d) { d.findChild<QPushButton*>("btCancel")->click(); }},
      {"Escape", [](TfmProperties& d) { QTest::keyClick(&d, Qt::Key_Escape); }},
      {"close box", [](TfmProperties& d) { d.close(); }},
  };
  for (const auto& [how, closeDialog] : closings) {
    SCOPED_TRACE(how);
    RunProperties(12, [&, closeDialog = closeDialog] {
      EXPECT_EQ(Dialog()->windowTitle(), "Button 12 Properties");
      EXPECT_EQ(Dialog()->pos(), Button(12)->mapToGlobal(QPoint(0, 0)));
      EXPECT_EQ(Field<QLineEdit>("edCaption")->text(), "Twelve");
      EXPECT_EQ(Field<TSpinEdit>("edIconNo")->Maximum(), panel_->ImageList().Count() - 1);
      ChangeEveryField();
      EXPECT_EQ(Field<TImageButton>("btExample")->text(), "a\nb");  // two lines
      closeDialog(*Dialog());
      EXPECT_FALSE(Dialog()->isVisible());
    });
    EXPECT_EQ(Record(12), kTwelve);
    EXPECT_EQ(Button(12)->text(), "Twelve");
    EXPECT_FALSE(Button(12)->Bold());
  }
}

TEST_F(PropertiesTest, OkWritesAllSixFieldsAndTheCaptionTurnsBoldWithData) {
  ShowPanel();
  Record(12).Assign(kTwelve);
  panel_->RefreshGrid();
  TColour buttonColour = 0;
  TColour textColour = 0;
  RunProperties(12, [&] {
    ChangeEveryField();
    buttonColour = Field<TColourSelector>("edButtonColour")->Colour();
    textColour = Field<TColourSelector>("edTextColour")->Colour();
    QTest::keyClick(Field<QLineEdit>("edData"), Qt::Key_Return);  // OK is the default
  });
  EXPECT_EQ(Record(12), (TCommand{"a\\nb", "13,10", 4, buttonColour, textColour, -1}));
  EXPECT_NE(buttonColour, kTwelve.ButtonColour);
  EXPECT_NE(textColour, kTwelve.TextColour);
  EXPECT_TRUE(Button(12)->Bold());
  EXPECT_EQ(Button(12)->ButtonColour(), ToQColor(buttonColour));
  EXPECT_EQ(Button(12)->TextColour(), ToQColor(textColour));

  // Untouched fields are written back as they were, the colours included.
  RunProperties(12, [&] { Dialog()->findChild<QPushButton*>("BitBtn2")->click(); });
  EXPECT_EQ(Record(12), (TCommand{"a\\nb", "13,10", 4, buttonColour, textColour, -1}));
}

TEST_F(PropertiesTest, NearTheScreensEdgeTheDialogMovesOnlyAsFarAsItMustToShowWhole) {
  ShowPanel();
  const QRect screen = panel_->screen()->availableGeometry();
  panel_->move(screen.topLeft());
  panel_->resize(screen.size());
  ASSERT_TRUE(QTest::qWaitFor([&] { return Button(15)->y() > screen.height() / 2; }, kDeadlineMs));
  RunProperties(15, [&] {
    EXPECT_TRUE(screen.contains(Dialog()->frameGeometry())) << Dialog()->frameGeometry().y();
    EXPECT_EQ(Dialog()->frameGeometry().bottomRight(), screen.bottomRight());
  });
}

TEST_F(PropertiesTest, DataFieldShowsItsBytesAndRefusesWhatTheFileCannotHold) {
  // Not UTF-8: the settings file was made on Windows, so its texts are Windows-1252.
  ShowPanel("[Button 1]\r\nCaption=Caf\xE9\r\n");
  RunProperties(1, [&] {
    auto* data = Field<QLineEdit>("edData");
    auto* bytes = Field<QLineEdit>("edDataBytes");
    EXPECT_EQ(Field<QLabel>("edDataBytesLabel")->text(), "Bytes sent:");
    EXPECT_EQ(Field<QLabel>("edDataBytesLabel")->buddy(), bytes);
    EXPECT_EQ(Field<QLineEdit>("edCaption")->text(), QString::fromUtf8("Caf\u00e9"));
    EXPECT_EQ(bytes->text(), "no bytes");
    const std::vector<std::pair<QString, QString>> typing = {
        {"81 01 04 00 02 FF", "51 01 04 00 02 46"},
        {",$0D", "51 01 04 00 02 46 0D"},
        {QString::fromUtf8(",\u20ac\u2192"), "51 01 04 00 02 46 0D 80"},  // no arrow in 1252
    };
    for (const auto& [typed, shown] : typing) {
      // Typed character by character, as the keyboard sends them.
      for (const QChar character : typed) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(character));
        QApplication::sendEvent(data, &press);
      }
      EXPECT_EQ(bytes->text(), shown) << typed.toStdString();
    }
    // The refused arrow said so under the field.
    EXPECT_EQ(QToolTip::text(), TEncodableTextValidator::kRefusedNote);
    Dialog()->accept();
  });
  EXPECT_EQ(Record(1).Caption, "Caf\xE9");
  EXPECT_EQ(Record(1).Data, "81 01 04 00 02 FF,$0D,\x80");
}

TEST_F(PropertiesTest, HoldAndCheckFieldsShowTheFinalBytesAndOkStoresThem) {
  ShowPanel(
      "[Button 1]\r\nData=1 3 0 0 0 10\r\nPress Data=$81\r\nRepeat Interval=250\r\n"
      "Checksum=CRC-16/MODBUS\r\n"
      "[Button 2]\r\nData=65\r\nChecksum=CRC-99/NONE\r\nChecksum From=2\r\n");
  RunProperties(1, [&] {
    EXPECT_EQ(Field<QLineEdit>("edPressData")->text(), "$81");
    EXPECT_EQ(Field<TSpinEdit>("edRepeatInterval")->Value(), 250);
    auto* checksum = Field<QComboBox>("edChecksum");
    EXPECT_EQ(checksum->currentText(), "CRC-16/MODBUS");
    EXPECT_EQ(checksum->itemText(0), "(none)");
    EXPECT_EQ(Field<QLineEdit>("edDataBytes")->text(), "01 03 00 00 00 0A C5 CD");
    // The preview follows every check field.
    checksum->setCurrentIndex(checksum->findText("SUM8"));
    EXPECT_EQ(Field<QLineEdit>("edPressDataBytes")->text(), "81 81");
    Field<TSpinEdit>("edChecksumFrom")->SetValue(1);
    EXPECT_EQ(Field<QLineEdit>("edPressDataBytes")->text(), "81 00");
    Field<QCheckBox>("cbChecksumHex")->setChecked(true);
    EXPECT_EQ(Field<QLineEdit>("edDataBytes")->text(), "01 03 00 00 00 0A 30 44");
    Field<TSpinEdit>("edRepeatInterval")->SetValue(5);
    // The expected reply shows its bytes with the any-byte token, no checksum.
    EXPECT_EQ(Field<QLineEdit>("edReplyBytes")->text(), "none expected");
    EXPECT_EQ(Field<TSpinEdit>("edReplyTimeout")->Value(), 1000);
    Field<QLineEdit>("edReply")->setText("$90 $41 ?? $FF");
    EXPECT_EQ(Field<QLineEdit>("edReplyBytes")->text(), "90 41 ?? FF");
    Field<TSpinEdit>("edReplyTimeout")->SetValue(250);
    Dialog()->accept();
  });
  TCommand expected;
  expected.SetDefaults();
  expected.Caption = "1";
  expected.Data = "1 3 0 0 0 10";
  expected.PressData = "$81";
  expected.RepeatInterval = 20;  // the shortest repeat
  expected.Checksum = "SUM8";
  expected.ChecksumFrom = 1;
  expected.ChecksumForm = TChecksumForm::Hex;
  expected.Reply = "$90 $41 ?? $FF";
  expected.ReplyTimeout = 250;
  EXPECT_EQ(Record(1), expected);

  // A name the table does not know is shown, reported in the bytes line and kept.
  RunProperties(2, [&] {
    EXPECT_EQ(Field<QComboBox>("edChecksum")->currentText(), "CRC-99/NONE");
    EXPECT_EQ(Field<QLineEdit>("edDataBytes")->text(), "Unknown checksum \"CRC-99/NONE\"");
    EXPECT_EQ(Field<QLineEdit>("edPressDataBytes")->text(), "no bytes");
    Dialog()->accept();
  });
  EXPECT_EQ(Record(2).Checksum, "CRC-99/NONE");
  EXPECT_EQ(Record(2).ChecksumFrom, 2);
}

}  // namespace
