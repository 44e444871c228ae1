// The configuration dialog on the offscreen platform, over the live panel: each
// of the port numbers 1 to 20 that the dialog probes is mapped to a
// pseudo-terminal, to a path that does not exist or to a network output.
// Covers the parity mapping, the port-number lists, the grid size, opening and
// closing, dropped edits, the open-error box, stored values that no list
// holds, an apply error that names its page and field, and a baud change
// through ser2net.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "../serial/Pty.h"
#include "../serial/Ser2net.h"
#include "app/MainWindow.h"
#include "dialogs/Configuration.h"
#include "serial/ComPort.h"
#include "widgets/ImageButton.h"
#include "widgets/SpinEdit.h"

namespace {

constexpr int kDeadlineMs = 10000;
constexpr uint16_t kProbedPorts = 20;

struct TBoxSeen {
  QString text;
  QString informativeText;
  QMessageBox::Icon icon;
};

// Records every message box as it is shown and dismisses it once its own event
// loop runs, so that a handler's box never blocks the test.
class TBoxCollector : public QObject {
 public:
  TBoxCollector() { qApp->installEventFilter(this); }
  ~TBoxCollector() override { qApp->removeEventFilter(this); }
  const std::vector<TBoxSeen>& Boxes() const { return boxes_; }
  void Clear() { boxes_.clear(); }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    auto* box = qobject_cast<QMessageBox*>(watched);
    if (box != nullptr && event->type() == QEvent::Show) {
      boxes_.push_back({box->text(), box->informativeText(), box->icon()});
      QMetaObject::invokeMethod(
          box, [box] { box->done(QMessageBox::Ok); }, Qt::QueuedConnection);
    }
    return false;
  }

 private:
  std::vector<TBoxSeen> boxes_;
};

class ConfigurationTest : public testing::Test {
 protected:
  std::filesystem::path SettingsFile() const {
    return std::filesystem::path(folder_.path().toStdString()) / "tovrana.ini";
  }

  // sections follow [General]; every probed number not in present is absent.
  void WriteSettings(const std::string& sections,
                     const std::map<uint16_t, std::string>& present = {}) const {
    std::ostringstream text;
    text << "[General]\r\n" << sections << "[Ports]\r\n";
    for (uint16_t number = 1; number <= kProbedPorts; ++number) {
      const auto found = present.find(number);
      text << "COM" << number << "="
           << (found != present.end() ? found->second
                                      : "/nonexistent/tovrana-test-port" + std::to_string(number))
           << "\r\n";
    }
    std::ofstream(SettingsFile(), std::ios::binary) << text.str();
  }

  // The panel, shown with its ports opened, and its configuration dialog.
  void ShowPanel() {
    panel_ = std::make_unique<TfmMain>(SettingsFile());
    dialog_ = new TfmConfiguration(panel_.get());
    panel_->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(panel_.get(), kDeadlineMs));
    // The opening step is queued behind the showing; wait until it has run.
    bool opened = false;
    QMetaObject::invokeMethod(
        panel_.get(), [&] { opened = true; }, Qt::QueuedConnection);
    ASSERT_TRUE(QTest::qWaitFor([&] { return opened; }, kDeadlineMs));
  }

  void ShowDialog() {
    dialog_->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog_, kDeadlineMs));
  }

  template <typename T>
  T* Control(const QString& name) const {
    T* control = dialog_->findChild<T*>(name);
    EXPECT_NE(control, nullptr) << name.toStdString();
    return control;
  }
  QComboBox* List(const QString& name) const { return Control<QComboBox>(name); }
  QCheckBox* Box(const QString& name) const { return Control<QCheckBox>(name); }
  QPushButton* ApplyButton() const { return Control<QPushButton>("BtApply"); }
  void Choose(const QString& list, const QString& entry) const {
    const int position = List(list)->findText(entry);
    ASSERT_GE(position, 0) << entry.toStdString();
    List(list)->setCurrentIndex(position);
  }
  TVrlComPort& Port(int output) const { return *panel_->OutputPorts()[output - 1]; }
  bool OpenFlag(int output) const { return panel_->State().OpenFlags[output - 1]; }

  TBoxCollector boxes_;
  QTemporaryDir folder_;
  std::unique_ptr<TfmMain> panel_;
  TfmConfiguration* dialog_ = nullptr;  // owned by the panel
};

struct TParityCase {
  int stored;         // the settings file's ordinal
  const char* shown;  // "" for no selection
  const char* chosen;
  TParity applied;
};

// Apply with nothing chosen keeps a parity that no entry names.
const TParityCase kParityCases[] = {
    {0, "None", "Even", TParity::pEven}, {1, "Odd", "Space", TParity::pSpace},
    {2, "Even", "Mark", TParity::pMark}, {3, "Mark", "None", TParity::pNone},
    {4, "Space", "Odd", TParity::pOdd},  {7, "", "", static_cast<TParity>(7)},
};

TEST_F(ConfigurationTest, TheParityListShowsAndSetsParitiesByName) {
  for (const TParityCase& test : kParityCases) {
    SCOPED_TRACE(test.stored);
    WriteSettings("[Output 1]\r\nParity=" + std::to_string(test.stored) + "\r\n");
    ShowPanel();
    ShowDialog();
    EXPECT_EQ(List("edParity1")->currentText(), test.shown);
    EXPECT_FALSE(ApplyButton()->isEnabled());
    if (*test.chosen != '\0') {
      Choose("edParity1", test.chosen);
    } else {
      Box("cbRS485Mode1")->click();
    }
    EXPECT_TRUE(ApplyButton()->isEnabled());
    ApplyButton()->click();
    EXPECT_EQ(Port(1).Parity(), test.applied);
    EXPECT_FALSE(ApplyButton()->isEnabled());
    EXPECT_TRUE(boxes_.Boxes().empty());
    panel_.reset();
  }
}

TEST_F(ConfigurationTest, APortHeldByThisProgramIsListedOnEveryOutput) {
  TPty first;
  TPty third;
  ASSERT_TRUE(first.Valid() && third.Valid());
  WriteSettings("[Output 1]\r\nPort Number=1\r\n[Output 2]\r\nPort Number=3\r\nOpen=1\r\n",
                {{1, first.SlavePath()}, {3, third.SlavePath()}});
  ShowPanel();
  ASSERT_TRUE(Port(2).Open());
  ShowDialog();
  const QStringList expected{QString::fromStdString("1  " + first.SlavePath()),
                             QString::fromStdString("3  " + third.SlavePath())};
  for (int output = 1; output <= 4; ++output) {
    QComboBox* list = List(QStringLiteral("edPortNo%1").arg(output));
    QStringList entries;
    QStringList tips;
    for (int position = 0; position < list->count(); ++position) {
      entries << list->itemText(position);
      tips << list->itemData(position, Qt::ToolTipRole).toString();
    }
    EXPECT_EQ(entries, expected) << output;
    // The whole device path, however long, is each entry's tooltip.
    EXPECT_EQ(tips, QStringList({QString::fromStdString(first.SlavePath()),
                                 QString::fromStdString(third.SlavePath())}))
        << output;
  }
  EXPECT_EQ(List("edPortNo2")->currentIndex(), 1);
  EXPECT_EQ(List("edPortNo1")->currentIndex(), 0);
  // Output 2 alone on its port: no warning; outputs 3 and 4 share port 1 with
  // output 1 by default. Output 1 on port 3 too: a line on both pages.
  EXPECT_TRUE(Control<QLabel>("lbSamePort2")->isHidden());
  EXPECT_TRUE(Control<QLabel>("lbSamePort1")->text().contains("outputs 3, 4 use the same port"));
  Choose("edPortNo1", QString::fromStdString("3  " + third.SlavePath()));
  EXPECT_TRUE(Control<QLabel>("lbSamePort1")->text().contains("output 2 uses the same port"));
  EXPECT_FALSE(Control<QLabel>("lbSamePort2")->isHidden());
  EXPECT_TRUE(Control<QLabel>("lbSamePort2")->text().contains("output 1 uses the same port"));
  EXPECT_TRUE(Control<QLabel>("lbSamePort3")->text().contains("output 4 uses the same port"));
  Choose("edPortNo1", QString::fromStdString("1  " + first.SlavePath()));
  EXPECT_TRUE(Control<QLabel>("lbSamePort2")->isHidden());
  // The probe left the held port working.
  Port(2).SendString("ok");
  EXPECT_EQ(third.Read(2), "ok");
  EXPECT_TRUE(boxes_.Boxes().empty());
}

TEST_F(ConfigurationTest, FewerRowsKeepTheFirstRecordsAndMoreRowsAppendFreshOnes) {
  WriteSettings("[Button 5]\r\nCaption=Five\r\n[Button 13]\r\nCaption=Thirteen\r\n");
  ShowPanel();
  ShowDialog();
  auto* rows = Control<TSpinEdit>("edButtonRows");
  rows->SetValue(4);
  ApplyButton()->click();
  TCommandList& commands = panel_->Commands();
  ASSERT_EQ(commands.Count(), 12);
  EXPECT_EQ(commands.Get(4).Caption, "Five");
  const auto button = [&](int number) {
    return panel_->findChild<TImageButton*>(QStringLiteral("BtTx%1").arg(number),
                                            Qt::FindDirectChildrenOnly);
  };
  ASSERT_NE(button(12), nullptr);
  EXPECT_EQ(button(13), nullptr);
  // Record 5 now heads the second column.
  EXPECT_EQ(button(5)->y(), button(1)->y());
  EXPECT_GT(button(5)->x(), button(1)->x());

  rows->SetValue(5);
  ApplyButton()->click();
  ASSERT_EQ(commands.Count(), 15);
  EXPECT_EQ(commands.Get(12).Caption, "13");
  EXPECT_EQ(commands.Get(13).Caption, "14");
  EXPECT_EQ(commands.Get(14).Caption, "15");
  EXPECT_EQ(commands.Get(4).Caption, "Five");
  EXPECT_NE(button(15), nullptr);
}

TEST_F(ConfigurationTest, ClearingPortOpenClosesAtOnceAndCheckingItReopens) {
  TPty pty;
  ASSERT_TRUE(pty.Valid());
  WriteSettings("[Output 1]\r\nPort Number=6\r\nOpen=1\r\n", {{6, pty.SlavePath()}});
  ShowPanel();
  ASSERT_TRUE(Port(1).Open());
  ShowDialog();
  ASSERT_TRUE(Box("cbPortOpen1")->isChecked());
  Box("cbPortOpen1")->click();
  ApplyButton()->click();
  EXPECT_FALSE(Port(1).Open());
  EXPECT_FALSE(OpenFlag(1));
  EXPECT_FALSE(HoldsDescriptorOn(pty.SlavePath()));

  Box("cbPortOpen1")->click();
  ApplyButton()->click();
  EXPECT_TRUE(Port(1).Open());
  EXPECT_TRUE(OpenFlag(1));
  Port(1).SendString("again");
  EXPECT_EQ(pty.Read(5), "again");
  EXPECT_TRUE(boxes_.Boxes().empty());
}

struct TDismissCase {
  const char* name;
  void (*dismiss)(TfmConfiguration& dialog);
};

void PrintTo(const TDismissCase& test, std::ostream* out) { *out << test.name; }

class ConfigurationDismissTest : public ConfigurationTest,
                                 public testing::WithParamInterface<TDismissCase> {};

TEST_P(ConfigurationDismissTest, ClosingAfterEditsChangesNothing) {
  TPty pty;
  ASSERT_TRUE(pty.Valid());
  WriteSettings("Caption=Panel\r\n[Output 1]\r\nPort Number=6\r\nOpen=1\r\n",
                {{6, pty.SlavePath()}});
  ShowPanel();
  ShowDialog();
  Control<QLineEdit>("edMainCaption")->setText("Edited");
  Control<TSpinEdit>("edButtonRows")->SetValue(2);
  Box("cbFlatButtons")->click();
  Choose("edParity1", "Odd");
  Choose("edBaudRate1", "300");
  Box("cbPortOpen1")->click();
  GetParam().dismiss(*dialog_);
  ASSERT_TRUE(QTest::qWaitFor([&] { return !dialog_->isVisible(); }, kDeadlineMs));

  EXPECT_EQ(panel_->windowTitle(), "Panel");
  EXPECT_EQ(panel_->State().Rows, 5);
  EXPECT_FALSE(panel_->State().FlatButtons);
  EXPECT_EQ(Port(1).Parity(), TParity::pNone);
  EXPECT_EQ(Port(1).Baud(), 9600);
  EXPECT_TRUE(Port(1).Open());
  EXPECT_TRUE(OpenFlag(1));
  EXPECT_EQ(panel_->Commands().Count(), 100);

  ShowDialog();
  EXPECT_EQ(Control<QLineEdit>("edMainCaption")->text(), "Panel");
  EXPECT_EQ(Control<TSpinEdit>("edButtonRows")->Value(), 5);
  EXPECT_FALSE(Box("cbFlatButtons")->isChecked());
  EXPECT_EQ(List("edParity1")->currentText(), "None");
  EXPECT_EQ(List("edBaudRate1")->currentText(), "9600");
  EXPECT_TRUE(Box("cbPortOpen1")->isChecked());
  EXPECT_FALSE(ApplyButton()->isEnabled());
}

INSTANTIATE_TEST_SUITE_P(
    Ways, ConfigurationDismissTest,
    testing::Values(TDismissCase{"CloseButton",
                                 [](TfmConfiguration& dialog) {
                                   dialog.findChild<QPushButton*>("BtCancel")->click();
                                 }},
                    TDismissCase{"Escape",
                                 [](TfmConfiguration& dialog) {
                                   QTest::keyClick(&dialog, Qt::Key_Escape);
                                 }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ConfigurationTest, AnAbsentConfiguredPortIsShownWithANoteAndApplySwitchesItOff) {
  TPty pty;
  ASSERT_TRUE(pty.Valid());
  WriteSettings("Show Com Port Errors=0\r\n[Output 3]\r\nPort Number=7\r\nOpen=1\r\n",
                {{9, pty.SlavePath()}});
  ShowPanel();
  ShowDialog();
  // In its place by number among the present ports.
  QComboBox* list = List("edPortNo3");
  ASSERT_EQ(list->count(), 2);
  EXPECT_EQ(list->itemText(0), "7 (not present)");
  EXPECT_EQ(list->currentIndex(), 0);
  // Only the page whose port is absent lists it.
  EXPECT_EQ(List("edPortNo1")->findText("7 (not present)"), -1);
  EXPECT_TRUE(Box("cbPortOpen3")->isChecked());
  auto* note = Control<QLabel>("lbNotPresent3");
  EXPECT_FALSE(note->isHidden());
  EXPECT_EQ(note->text(), "Port 7 is not present: Apply will switch Port Open off.");
  EXPECT_TRUE(Control<QLabel>("lbNotPresent1")->isHidden());
  EXPECT_FALSE(ApplyButton()->isEnabled());
  Box("cbFlatButtons")->click();
  ApplyButton()->click();
  EXPECT_FALSE(Box("cbPortOpen3")->isChecked());
  EXPECT_TRUE(note->isHidden());
  EXPECT_FALSE(OpenFlag(3));
  EXPECT_FALSE(Port(3).Open());
  EXPECT_EQ(Port(3).ComNumber(), 7);
  EXPECT_EQ(list->currentText(), "7 (not present)");
  EXPECT_FALSE(ApplyButton()->isEnabled());
  EXPECT_TRUE(boxes_.Boxes().empty());
}

TEST_F(ConfigurationTest, TheOpenErrorBoxShowsEvenWithComPortErrorsOff) {
  TPty pty;
  ASSERT_TRUE(pty.Valid());
  const std::map<uint16_t, std::string> present{{8, pty.SlavePath()}};
  WriteSettings("Show Com Port Errors=0\r\n[Output 4]\r\nPort Number=8\r\n", present);
  // Another program holds the port: it is present, but cannot be opened here.
  TVrlComPort holder;
  TPortMap map;
  map.Assign(8, pty.SlavePath());
  holder.SetPortMap(map);
  holder.SetComNumber(8);
  holder.SetOpen(true);
  ShowPanel();
  ShowDialog();
  EXPECT_EQ(List("edPortNo4")->currentData().toInt(), 8);
  Box("cbPortOpen4")->click();
  Control<TSpinEdit>("edButtonRows")->SetValue(4);
  ApplyButton()->click();

  ASSERT_EQ(boxes_.Boxes().size(), 1u);
  EXPECT_EQ(boxes_.Boxes()[0].text, "An error occured opening the com port for output 4");
  EXPECT_EQ(boxes_.Boxes()[0].icon, QMessageBox::Critical);
  EXPECT_FALSE(boxes_.Boxes()[0].informativeText.isEmpty());
  EXPECT_FALSE(Port(4).Open());
  EXPECT_TRUE(OpenFlag(4));
  // The apply went on to its end.
  EXPECT_FALSE(ApplyButton()->isEnabled());
  EXPECT_EQ(panel_->Commands().Count(), 12);
}

TEST_F(ConfigurationTest, AStoredBaudRateOutsideTheListIsShownInItsPlaceAndKeptByApply) {
  const QStringList listed{"150",  "300",   "600",   "1200",  "2400",  "4800",
                           "9600", "19200", "38400", "57600", "115200"};
  const struct {
    int32_t stored;
    int position;  // where it joins the listed rates
  } cases[] = {{9600, -1}, {14400, 7}, {28800, 8}, {12345, 7}, {110, 0}, {250000, 11}};
  for (const auto& test : cases) {
    SCOPED_TRACE(test.stored);
    WriteSettings("[Output 2]\r\nBaud Rate=" + std::to_string(test.stored) + "\r\n");
    ShowPanel();
    ShowDialog();
    QStringList expected = listed;
    if (test.position >= 0) expected.insert(test.position, QString::number(test.stored));
    QComboBox* list = List("edBaudRate2");
    QStringList entries;
    for (int position = 0; position < list->count(); ++position) {
      entries << list->itemText(position);
    }
    EXPECT_EQ(entries, expected);
    EXPECT_EQ(list->currentText(), QString::number(test.stored));
    EXPECT_EQ(List("edBaudRate1")->count(), listed.size());
    Control<TSpinEdit>("edButtonRows")->SetValue(4);
    Choose("edParity3", "Odd");
    ApplyButton()->click();
    EXPECT_TRUE(boxes_.Boxes().empty());
    // The whole apply ran, the stored rate kept.
    EXPECT_EQ(Port(2).Baud(), test.stored);
    EXPECT_EQ(Port(3).Parity(), TParity::pOdd);
    EXPECT_EQ(panel_->Commands().Count(), 12);
    EXPECT_FALSE(ApplyButton()->isEnabled());
    panel_.reset();
  }
}

TEST_F(ConfigurationTest, AnErrorFromApplyNamesTheOutputPageAndTheField) {
  TPty own;
  TPty held;
  ASSERT_TRUE(own.Valid() && held.Valid());
  WriteSettings("[Output 2]\r\nPort Number=1\r\nOpen=1\r\n",
                {{1, own.SlavePath()}, {9, held.SlavePath()}});
  // Another program holds port 9: an open output cannot move onto it.
  TVrlComPort holder;
  TPortMap map;
  map.Assign(9, held.SlavePath());
  holder.SetPortMap(map);
  holder.SetComNumber(9);
  holder.SetOpen(true);
  ShowPanel();
  ASSERT_TRUE(Port(2).Open());
  ShowDialog();
  Choose("edPortNo2", QString::fromStdString("9  " + held.SlavePath()));
  Choose("edParity1", "Even");
  Choose("edParity3", "Odd");
  ApplyButton()->click();

  ASSERT_EQ(boxes_.Boxes().size(), 1u);
  EXPECT_TRUE(boxes_.Boxes()[0].text.startsWith("Output 2, Port Number: "))
      << boxes_.Boxes()[0].text.toStdString();
  EXPECT_GT(boxes_.Boxes()[0].text.size(), QString("Output 2, Port Number: ").size());
  // What came before the failing step stays applied; nothing after it runs.
  EXPECT_EQ(Port(1).Parity(), TParity::pEven);
  EXPECT_EQ(Port(3).Parity(), TParity::pNone);
  EXPECT_TRUE(ApplyButton()->isEnabled());
}

TEST_F(ConfigurationTest, NetworkPortsAreListedByUrlAndAnRfc2217BaudChangeReachesTheDevice) {
  TPty device;
  ASSERT_TRUE(device.Valid());
  TSer2net server(TSer2net::TAccepter::Rfc2217, device.SlavePath());
  ASSERT_TRUE(server.Start());
  const std::string url = "rfc2217://127.0.0.1:" + std::to_string(server.Port());
  WriteSettings("[Output 1]\r\nPort Number=2\r\nBaud Rate=9600\r\nOpen=1\r\n", {{2, url}});
  ShowPanel();
  ASSERT_TRUE(Port(1).Open());
  Port(1).SendString("a");
  ASSERT_EQ(device.Read(1), "a");
  termios settings{};
  ::tcgetattr(device.Master(), &settings);
  EXPECT_EQ(::cfgetospeed(&settings), speed_t{B9600});
  ShowDialog();
  QComboBox* list = List("edPortNo1");
  ASSERT_EQ(list->count(), 1);
  EXPECT_EQ(list->itemText(0), QString::fromStdString("2  " + url));
  EXPECT_EQ(list->currentIndex(), 0);
  Choose("edBaudRate1", "38400");
  ApplyButton()->click();
  EXPECT_TRUE(boxes_.Boxes().empty());
  Port(1).SendString("b");
  ASSERT_EQ(device.Read(1), "b");
  ::tcgetattr(device.Master(), &settings);
  EXPECT_EQ(::cfgetospeed(&settings), speed_t{B38400});
}

TEST_F(ConfigurationTest, OpenedForASmallPanelAtTheTopLeftCornerItLiesWhollyOnTheScreen) {
  WriteSettings("");
  ShowPanel();
  panel_->move(0, 0);
  panel_->resize(TfmMain::kMinimumOuterSize);
  ASSERT_TRUE(QTest::qWaitFor([&] { return panel_->pos() == QPoint(0, 0); }, kDeadlineMs));
  ShowDialog();
  const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
  EXPECT_TRUE(screen.contains(dialog_->frameGeometry()))
      << dialog_->frameGeometry().x() << "," << dialog_->frameGeometry().y() << " "
      << dialog_->frameGeometry().width() << "x" << dialog_->frameGeometry().height();
}

}  // namespace
