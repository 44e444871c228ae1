// The configuration dialog's loading from and applying to the main window's
// live state and ports. User-interface thread only.
#include "dialogs/Configuration.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QShowEvent>
#include <QStackedWidget>
#include <QVBoxLayout>
#include <exception>
#include <stdexcept>
#include <string>

#include "app/ErrorReport.h"
#include "app/MainWindow.h"
#include "widgets/EncodableTextValidator.h"
#include "dialogs/PortChoices.h"
#include "serial/ComPort.h"
#include "widgets/SpinEdit.h"
#include "widgets/TextEncoding.h"

namespace {

constexpr int kPageListWidth = 90;

// Marks the port-number entry of a configured port that is not present.
constexpr int kNotPresentRole = Qt::UserRole + 1;

bool NotPresentChosen(const TOutputPage& page) {
  return page.PortNo->currentData(kNotPresentRole).toBool();
}

// One step of an output's apply: an error it raises names the page and the
// field, so that the user knows what to correct.
template <typename Step>
void ApplyField(int output, const char* field, Step step) {
  try {
    step();
  } catch (const std::exception& error) {
    throw std::runtime_error("Output " + std::to_string(output) + ", " + field + ": " +
                             error.what());
  }
}

}  // namespace

TfmConfiguration::TfmConfiguration(TfmMain* fmMain)
    : QDialog(fmMain, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      fmMain_(*fmMain) {
  setObjectName(QStringLiteral("fmConfiguration"));
  setWindowTitle(QStringLiteral("Configuration"));
  setModal(true);

  PageList_ = new QListWidget;
  PageList_->setObjectName(QStringLiteral("PageList"));
  PageList_->addItems({QStringLiteral("General"), QStringLiteral("Output 1"),
                       QStringLiteral("Output 2"), QStringLiteral("Output 3"),
                       QStringLiteral("Output 4")});
  PageList_->setFixedWidth(kPageListWidth);

  PageControl1_ = new QStackedWidget;
  PageControl1_->setObjectName(QStringLiteral("PageControl1"));
  general_ = BuildGeneralPage(PageControl1_);
  PageControl1_->addWidget(general_.Page);
  for (int output = 1; output <= 4; ++output) {
    outputs_[output - 1] = BuildOutputPage(output, PageControl1_);
    PageControl1_->addWidget(outputs_[output - 1].Page);
  }

  BtApply_ = new QPushButton(QStringLiteral("Apply"));
  BtApply_->setObjectName(QStringLiteral("BtApply"));
  BtCancel_ = new QPushButton(QStringLiteral("Close"));
  BtCancel_->setObjectName(QStringLiteral("BtCancel"));
  // Enter in a field must not apply or close; Esc closes through the dialog.
  BtApply_->setAutoDefault(false);
  BtCancel_->setAutoDefault(false);
  BtApply_->setEnabled(false);

  auto* pages = new QHBoxLayout;
  pages->addWidget(PageList_);
  pages->addWidget(PageControl1_, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(BtApply_);
  buttons->addWidget(BtCancel_);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(pages);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  connect(PageList_, &QListWidget::currentRowChanged, this, &TfmConfiguration::PageListClick);
  connect(BtApply_, &QPushButton::clicked, this, &TfmConfiguration::BtApplyClick);
  connect(BtCancel_, &QPushButton::clicked, this, &TfmConfiguration::BtCancelClick);
  ConnectChanges();
}

void TfmConfiguration::ConnectChanges() {
  const auto changed = [this] { ControlChange(); };
  connect(general_.MainCaption, &QLineEdit::textChanged, this, changed);
  for (TSpinEdit* spin : {general_.ButtonRows, general_.ButtonCols}) {
    connect(spin, &TSpinEdit::ValueChanged, this, changed);
  }
  QList<QCheckBox*> boxes{general_.FlatButtons,         general_.AllowWindowMoving,
                          general_.AllowWindowResizing, general_.SaveWindowPosition,
                          general_.SaveWindowSize,      general_.ShowComPortErrors};
  for (const TOutputPage& page : outputs_) {
    for (QComboBox* list : {page.PortNo, page.BaudRate, page.Parity}) {
      connect(list, &QComboBox::currentIndexChanged, this, changed);
    }
    for (TSpinEdit* spin : {page.DataBits, page.StopBits}) {
      connect(spin, &TSpinEdit::ValueChanged, this, changed);
    }
    boxes << page.RS485Mode << page.PortOpen;
    if (const auto& flow = page.FlowControl) {
      boxes << flow->SwFlowControl << flow->UseDTR << flow->UseRTS << flow->RequireDSR
            << flow->RequireCTS;
    }
  }
  for (QCheckBox* box : boxes) connect(box, &QCheckBox::toggled, this, changed);
  for (const TOutputPage& page : outputs_) {
    connect(page.PortNo, &QComboBox::currentIndexChanged, this,
            &TfmConfiguration::UpdateSamePortWarnings);
    const auto note = [this] { UpdateNotPresentNotes(); };
    connect(page.PortNo, &QComboBox::currentIndexChanged, this, note);
    connect(page.PortOpen, &QCheckBox::toggled, this, note);
  }
}

void TfmConfiguration::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  // The window system shows the dialog again when it is restored, for
  // instance with the main window: that must not reload over the user's edits.
  if (event->spontaneous()) return;
  FormShow();
  // The loaded settings give the dialog its size.
  CentreOnMainWindow();
}

void TfmConfiguration::CentreOnMainWindow() {
  // Centred on the main window; the panel's dialog placement then moves it only
  // as far as it takes to lie wholly on the panel's screen, so that every page
  // and button can be reached even for a small panel at a screen's edge. The
  // window manager frames the dialog as it frames the main window.
  adjustSize();
  const QSize frame = size() + (fmMain_.frameGeometry().size() - fmMain_.size());
  move(fmMain_.frameGeometry().center() - QPoint(frame.width() / 2, frame.height() / 2));
}

void TfmConfiguration::FormShow() {
  PageList_->setCurrentRow(0);
  PageControl1_->setCurrentIndex(0);
  LoadSettings();
}

void TfmConfiguration::PageListClick(int position) {
  if (position >= 0) PageControl1_->setCurrentIndex(position);
}

void TfmConfiguration::ControlChange() {
  BtApply_->setEnabled(true);
  BtCancel_->setEnabled(true);
}

void TfmConfiguration::BtApplyClick() {
  try {
    ApplySettings();
  } catch (const std::exception& error) {
    ShowErrorReport(this, error);
  }
}

void TfmConfiguration::BtCancelClick() { reject(); }

void TfmConfiguration::LoadSettings() {
  const TMainWindowState& state = fmMain_.State();
  general_.MainCaptionValidator->SetTextIsUtf8(state.TextIsUtf8);
  general_.MainCaption->setText(fmMain_.windowTitle());
  general_.ButtonRows->SetValue(state.Rows);
  general_.ButtonCols->SetValue(state.Cols);
  general_.FlatButtons->setChecked(state.FlatButtons);
  general_.AllowWindowMoving->setChecked(state.AllowWindowMoving);
  general_.AllowWindowResizing->setChecked(state.AllowWindowResizing);
  general_.SaveWindowPosition->setChecked(state.SaveWindowPosition);
  general_.SaveWindowSize->setChecked(state.SaveWindowSize);
  general_.ShowComPortErrors->setChecked(state.ShowComPortErrors);
  general_.RemoteControl->setText(fmMain_.RemoteDescription());
  LoadPortNumbers();
  for (int output = 1; output <= 4; ++output) LoadOutput(output);
  UpdateSamePortWarnings();
  UpdateNotPresentNotes();
  BtApply_->setEnabled(false);
}

void TfmConfiguration::UpdateNotPresentNotes() {
  for (const TOutputPage& page : outputs_) {
    page.NotPresent->setText(
        QStringLiteral("Port %1 is not present: Apply will switch Port Open off.")
            .arg(page.PortNo->currentData().toInt()));
    page.NotPresent->setVisible(NotPresentChosen(page) && page.PortOpen->isChecked());
  }
}

void TfmConfiguration::UpdateSamePortWarnings() {
  for (size_t index = 0; index < outputs_.size(); ++index) {
    const TOutputPage& page = outputs_[index];
    QStringList others;
    if (page.PortNo->currentIndex() >= 0) {
      for (size_t other = 0; other < outputs_.size(); ++other) {
        if (other != index && outputs_[other].PortNo->currentIndex() >= 0 &&
            outputs_[other].PortNo->currentData() == page.PortNo->currentData()) {
          others << QString::number(other + 1);
        }
      }
    }
    page.SamePort->setText(
        (others.size() == 1
             ? QStringLiteral("Warning: output %1 uses the same port; only one can open it.")
             : QStringLiteral("Warning: outputs %1 use the same port; only one can open it."))
            .arg(others.join(QStringLiteral(", "))));
    page.SamePort->setVisible(!others.isEmpty());
  }
}

void TfmConfiguration::LoadPortNumbers() {
  // The ports are probed once per opening; every output offers the same list.
  const TPortMap& portMap = fmMain_.OutputPorts()[0]->PortMap();
  const std::vector<uint16_t> present = PresentPortNumbers(portMap);
  for (const TOutputPage& page : outputs_) {
    page.PortNo->clear();
    for (const uint16_t number : present) {
      const QString device = QString::fromStdString(portMap.DevicePath(number));
      page.PortNo->addItem(QStringLiteral("%1  %2").arg(number).arg(device), int{number});
      // A long /dev/serial/by-id/... name may be cut in the field: its whole path.
      page.PortNo->setItemData(page.PortNo->count() - 1, device, Qt::ToolTipRole);
    }
    // A long device path shows whole in the open list.
    page.PortNo->view()->setMinimumWidth(page.PortNo->view()->sizeHintForColumn(0));
  }
}

void TfmConfiguration::LoadOutput(int output) {
  const TVrlComPort& port = *fmMain_.OutputPorts()[output - 1];
  const TOutputPage& page = outputs_[output - 1];
  const int number = port.ComNumber();
  if (page.PortNo->findData(number) < 0) {
    // Shown as stored rather than blank, so that Apply changes nothing unseen.
    int position = 0;
    while (position < page.PortNo->count() && page.PortNo->itemData(position).toInt() < number) {
      ++position;
    }
    page.PortNo->insertItem(position, QStringLiteral("%1 (not present)").arg(number), number);
    page.PortNo->setItemData(position, true, kNotPresentRole);
  }
  page.PortNo->setCurrentIndex(page.PortNo->findData(number));
  page.BaudRate->clear();
  for (const int32_t rate : BaudRateChoices(port.Baud())) {
    page.BaudRate->addItem(QString::number(rate));
  }
  page.BaudRate->setCurrentIndex(page.BaudRate->findText(QString::number(port.Baud())));
  page.DataBits->SetValue(port.DataBits());
  page.StopBits->SetValue(port.StopBits());
  page.Parity->setCurrentIndex(ParityPosition(port.Parity()).value_or(-1));
  page.RS485Mode->setChecked(port.RS485Mode());
  page.PortOpen->setChecked(fmMain_.State().OpenFlags[output - 1]);
  if (const auto& flow = page.FlowControl) {
    const THWFlowOptionSet options = port.HWFlowOptions();
    flow->SwFlowControl->setChecked(port.SWFlowOptions() == TSWFlowOptions::swfTransmit);
    flow->UseDTR->setChecked(options.Contains(THWFlowOption::hwfUseDTR));
    flow->UseRTS->setChecked(options.Contains(THWFlowOption::hwfUseRTS));
    flow->RequireDSR->setChecked(options.Contains(THWFlowOption::hwfRequireDSR));
    flow->RequireCTS->setChecked(options.Contains(THWFlowOption::hwfRequireCTS));
  }
}

void TfmConfiguration::ApplySettings() {
  ApplyGeneral();
  for (int output = 1; output <= 4; ++output) ApplyOutput(output);
  BtApply_->setEnabled(false);
  const TMainWindowState& state = fmMain_.State();
  fmMain_.SetButtonCount(static_cast<uint8_t>(state.Rows * state.Cols));
  fmMain_.RefreshGrid();
}

void TfmConfiguration::ApplyGeneral() {
  TMainWindowState& state = fmMain_.State();
  const QString caption = general_.MainCaption->text();
  fmMain_.setWindowTitle(caption);
  if (const auto bytes = EncodeText(caption, state.TextIsUtf8)) state.Caption = *bytes;
  state.Rows = static_cast<uint8_t>(general_.ButtonRows->Value());
  state.Cols = static_cast<uint8_t>(general_.ButtonCols->Value());
  state.FlatButtons = general_.FlatButtons->isChecked();
  state.AllowWindowMoving = general_.AllowWindowMoving->isChecked();
  state.AllowWindowResizing = general_.AllowWindowResizing->isChecked();
  state.SaveWindowPosition = general_.SaveWindowPosition->isChecked();
  state.SaveWindowSize = general_.SaveWindowSize->isChecked();
  state.ShowComPortErrors = general_.ShowComPortErrors->isChecked();
  // The move lock acts at once.
  fmMain_.UpdateMoveLock();
}

void TfmConfiguration::ApplyOutput(int output) {
  TVrlComPort& port = *fmMain_.OutputPorts()[output - 1];
  const TOutputPage& page = outputs_[output - 1];
  // A port that is not present cannot be opened: the page's note said so.
  if (NotPresentChosen(page)) page.PortOpen->setChecked(false);
  ApplyField(output, "Port Number", [&] {
    if (page.PortNo->currentIndex() >= 0) {
      port.SetComNumber(static_cast<uint16_t>(page.PortNo->currentData().toInt()));
    }
  });
  ApplyField(output, "Baud Rate",
             [&] { port.SetBaud(StrToInt(page.BaudRate->currentText().toStdString())); });
  ApplyField(output, "Data Bits",
             [&] { port.SetDataBits(static_cast<uint16_t>(page.DataBits->Value())); });
  ApplyField(output, "Stop Bits",
             [&] { port.SetStopBits(static_cast<uint16_t>(page.StopBits->Value())); });
  // A parity that no entry names shows no selection and is kept as it is.
  ApplyField(output, "Parity", [&] {
    if (const int position = page.Parity->currentIndex(); position >= 0) {
      port.SetParity(kParityEntries[static_cast<size_t>(position)].Parity);
    }
  });
  ApplyField(output, "RS485 Mode", [&] { port.SetRS485Mode(page.RS485Mode->isChecked()); });
  if (const auto& flow = page.FlowControl) {
    ApplyField(output, "Flow Control", [&] { ApplyFlowControl(port, *flow); });
  }
  ApplyOpen(output, port);
}

void TfmConfiguration::ApplyFlowControl(TVrlComPort& port, const TFlowControlBoxes& boxes) {
  port.SetSWFlowOptions(boxes.SwFlowControl->isChecked() ? TSWFlowOptions::swfTransmit
                                                         : TSWFlowOptions::swfNone);
  port.SetHWFlowOptions({});
  // One option at a time, in this order, as the settings are read: the RS485
  // rule resolves each addition against what is already set.
  const std::pair<QCheckBox*, THWFlowOption> options[] = {
      {boxes.UseDTR, THWFlowOption::hwfUseDTR},
      {boxes.UseRTS, THWFlowOption::hwfUseRTS},
      {boxes.RequireDSR, THWFlowOption::hwfRequireDSR},
      {boxes.RequireCTS, THWFlowOption::hwfRequireCTS},
  };
  for (const auto& [box, option] : options) {
    if (!box->isChecked()) continue;
    THWFlowOptionSet set = port.HWFlowOptions();
    set.Include(option);
    port.SetHWFlowOptions(set);
  }
}

void TfmConfiguration::ApplyOpen(int output, TVrlComPort& port) {
  const bool open = outputs_[output - 1].PortOpen->isChecked();
  // The flag says what the user asked for, also when the port fails to open.
  fmMain_.State().OpenFlags[output - 1] = open;
  try {
    port.SetOpen(open);
  } catch (const std::exception& error) {
    // Shown whatever "Show Com Port Errors" says: the user has just asked for it.
    QMessageBox box(
        QMessageBox::Critical, fmMain_.windowTitle(),
        QStringLiteral("An error occured opening the com port for output %1").arg(output),
        QMessageBox::Ok, this);
    box.setInformativeText(QString::fromLocal8Bit(error.what()));
    box.exec();
  }
}
