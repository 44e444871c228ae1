#include "app/MainWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QThread>
#include <QWindow>
#include <exception>
#include <iostream>
#include <utility>

#include "app/DialogPlacement.h"
#include "app/MainWindowPanel.h"
#include "app/MoveHint.h"
#include "app/WindowPlacement.h"
#include "core/GridLayout.h"
#include "core/Settings.h"
#include "editing/ContextMenu.h"
#include "remote/RemoteControl.h"
#include "widgets/ColourMapping.h"
#include "widgets/ImageButton.h"
#include "widgets/TextEncoding.h"

namespace {

constexpr int kFontPixelSize = 11;
// How long the close waits for each port's unsent bytes before it purges them.
constexpr uint32_t kSentBeforeCloseMs = 1000;

}  // namespace

TfmMain::TfmMain(std::filesystem::path settingsFile)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                           Qt::WindowCloseButtonHint),
      settingsFile_(std::move(settingsFile)) {
  setObjectName("fmMain");
  QPalette facePalette = palette();
  facePalette.setColor(QPalette::Window, ToQColor(kColourButtonFace));
  setPalette(facePalette);
  setAutoFillBackground(true);
  QFont formFont = font();
  formFont.setPixelSize(kFontPixelSize);
  setFont(formFont);
  ApplyStoredFormValues(OutputPorts());
  ConnectOutputPorts();
  ConnectReplies();
  FormCreate();
  dialogPlacement_ = std::make_unique<TDialogPlacement>(*this);
  contextMenu_ = new TContextMenu(*this);
  buttonActions_ = new TButtonActions(*this);
}

TfmMain::~TfmMain() {
  // Goes before the grid buttons it watches: their last focus events arrive
  // while the window is no longer a TfmMain.
  delete buttonActions_;
}

TOutputPorts TfmMain::OutputPorts() { return {&ComPort1_, &ComPort2_, &ComPort3_, &ComPort4_}; }

void TfmMain::FormCreate() {
  commands_ = std::make_unique<TCommandList>();
  ReadSettingsFile(settingsFile_, state_, *commands_, OutputPorts());
  setWindowTitle(DecodeText(state_.Caption, state_.TextIsUtf8));
  resizeLocked_ = !state_.AllowWindowResizing;
  if (!resizeLocked_) setMinimumSize(minimumClientSize_);
  ApplyStoredBounds();
}

void TfmMain::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (!shown_) {
    WatchExposure();
    FormShow();
  }
}

void TfmMain::FormShow() {
  shown_ = true;
  BuildGrid();
  actResizeButtonsExecute();
  RefreshGrid();
  // Queued, so that a failure's message box shows over the window already up.
  QMetaObject::invokeMethod(this, &TfmMain::OpenOutputPorts, Qt::QueuedConnection);
  QMetaObject::invokeMethod(this, &TfmMain::StartRemoteControl, Qt::QueuedConnection);
  anchor_ = pos();
  QMetaObject::invokeMethod(this, &TfmMain::FitFrameToPlace, Qt::QueuedConnection);
  // Qt writes the window manager hints when it maps the window; edit them after.
  QMetaObject::invokeMethod(this, &TfmMain::UpdateMoveLock, Qt::QueuedConnection);
}

void TfmMain::BuildGrid() {
  const int rows = state_.Rows;
  const int cols = state_.Cols;
  for (int column = 1; column <= cols; ++column) {
    for (int row = 1; row <= rows; ++row) {
      const int number = ButtonNumber({column, row}, rows);
      auto* button = new TImageButton(this);
      button->setObjectName(QStringLiteral("BtTx%1").arg(number));
      button->SetTag(number);
      button->setGeometry((column - 1) * kStartButtonWidth, (row - 1) * kStartButtonHeight,
                          kStartButtonWidth, kStartButtonHeight);
      connect(button, &TImageButton::FocusEntered, this, [this, button] { BtTxOnEnter(button); });
      connect(button, &TImageButton::clicked, this, [this, button] { BtTxClick(button); });
      buttonActions_->Watch(button);
      button->setContextMenuPolicy(Qt::CustomContextMenu);
      connect(button, &QWidget::customContextMenuRequested, this,
              [this, button] { contextMenu_->BtTxContextPopup(button); });
      button->show();
    }
  }
  builtRows_ = rows;
  builtCols_ = cols;
  gridBuilt_ = true;
}

void TfmMain::DestroyGrid() {
  gridBuilt_ = false;
  QList<TImageButton*> buttons = GridButtons();
  for (auto it = buttons.rbegin(); it != buttons.rend(); ++it) delete *it;
}

QList<TImageButton*> TfmMain::GridButtons() const {
  QList<TImageButton*> buttons;
  for (QObject* child : children()) {
    if (auto* button = qobject_cast<TImageButton*>(child)) buttons << button;
  }
  return buttons;
}

TImageButton* TfmMain::GridButton(int number) const {
  return findChild<TImageButton*>(QStringLiteral("BtTx%1").arg(number), Qt::FindDirectChildrenOnly);
}

void TfmMain::BtTxOnEnter(const TImageButton* sender) {
  state_.CurrentButton = static_cast<uint8_t>(sender->Tag());
}

void TfmMain::actResizeButtonsExecute() {
  if (!gridBuilt_) return;
  // The remote-control status line, when shown, takes the foot of the window.
  const int statusHeight = RemoteStatusHeight();
  const TGridLayout layout =
      LayOutGrid(width(), height() - statusHeight, state_.Rows, state_.Cols,
                 minimumClientSize_.width(), minimumClientSize_.height() - statusHeight);
  for (TImageButton* button : GridButtons()) {
    const TGridRect place = layout.ButtonRect(button->Tag());
    button->setGeometry(place.Left, place.Top, place.Width, place.Height);
  }
  if (lbRemote_ != nullptr) lbRemote_->setGeometry(0, layout.ClientHeight, width(), statusHeight);
  // Snapping raises another resize, whose layout finds nothing left to change.
  const QSize snapped(layout.ClientWidth, layout.ClientHeight + statusHeight);
  if (snapped != size()) SetClientSize(snapped);
}

void TfmMain::RefreshGrid() {
  if (!commands_) return;
  for (TImageButton* button : GridButtons()) {
    const TCommand& record = commands_->Get(button->Tag() - 1);
    button->SetFlat(state_.FlatButtons);
    button->SetButtonColour(ToQColor(record.ButtonColour));
    button->SetTextColour(ToQColor(record.TextColour));
    button->SetCaption(DecodeText(record.Caption, state_.TextIsUtf8));
    button->SetPicture(ImageList_.Picture(record.ImageIndex));
    // Bold: the button sends something, on a click or only while held.
    button->SetBold(!record.Data.empty() || !record.PressData.empty());
  }
}

void TfmMain::SetButtonCount(uint8_t count) {
  const bool sameShape = builtRows_ == state_.Rows && builtCols_ == state_.Cols;
  if (commands_->Count() == count && sameShape) return;
  FitCommandCount(*commands_, count);
  DestroyGrid();
  BuildGrid();
  actResizeButtonsExecute();
  RefreshGrid();
}

void TfmMain::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  FormResize();
  FitFrameToPlace();
  NoteFrame();
}

void TfmMain::FormResize() { actResizeButtonsExecute(); }

void TfmMain::moveEvent(QMoveEvent* event) {
  QWidget::moveEvent(event);
  FitFrameToPlace();
  if (!shown_ || placing_) return;
  NoteFrame();
  // The switches are read at every move, so a change takes effect at once.
  if (MoveLocked() && pos() != anchor_) {
    move(anchor_);
    return;
  }
  anchor_ = pos();
}

bool TfmMain::MoveLocked() const { return !state_.AllowWindowMoving && !state_.AllowEditing; }

void TfmMain::UpdateMoveLock() { SetWindowManagerMoveHint(*this, !MoveLocked()); }

bool TfmMain::event(QEvent* event) {
  if (event->type() == QEvent::WindowBlocked) buttonActions_->EndLocalHolds();
  return QWidget::event(event);
}

void TfmMain::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  const bool deactivated = event->type() == QEvent::ActivationChange && !isActiveWindow();
  const bool minimised = event->type() == QEvent::WindowStateChange && isMinimized();
  if (deactivated || minimised) buttonActions_->EndLocalHolds();
  // A panel has no use for a maximised window, and its bounds must never be
  // saved: it is put back as it was.
  if (event->type() == QEvent::WindowStateChange) NoteFrame();
}

void TfmMain::closeEvent(QCloseEvent* event) {
  // A second request while the close step asks about a failed save waits for it.
  if (closing_) {
    event->ignore();
    return;
  }
  if (!closed_) FormClose();
  event->accept();
}

void TfmMain::FormClose() {
  closing_ = true;
  // Every held button's release goes out before the settings are written.
  buttonActions_->EndAllHolds();
  // Closing a port purges what it still holds: give the releases, and any
  // click just before the close, a bounded moment to leave first.
  for (TVrlComPort* port : OutputPorts()) port->WaitUntilSent(kSentBeforeCloseMs);
  const QRect outer = ShownFrame();
  state_.Bounds = {outer.top(), outer.left(), outer.height(), outer.width()};
  // A title that the file's encoding cannot hold keeps the caption read at start.
  if (const auto caption = EncodeText(windowTitle(), state_.TextIsUtf8)) state_.Caption = *caption;
  // No remote press may arrive once the records are gone.
  StopRemoteControl();
  WriteSettings();
  commands_.reset();
  closed_ = true;
  closing_ = false;
}

void TfmMain::WriteSettings() {
  for (;;) {
    QString reason;
    try {
      WriteSettingsFile(settingsFile_, state_, *commands_, OutputPorts());
      return;
    } catch (const std::exception& error) {
      reason = QString::fromLocal8Bit(error.what());
    }
    if (unattendedClose_) {
      std::cerr << "tovrana: the settings were not saved: " << reason.toStdString() << '\n';
      exitStatus_ = 1;
      return;
    }
    QMessageBox box(QMessageBox::Warning, windowTitle(), tr("The settings could not be saved."),
                    QMessageBox::NoButton, this);
    box.setInformativeText(reason);
    QPushButton* retry = box.addButton(QMessageBox::Retry);
    box.addButton(tr("Close Without Saving"), QMessageBox::DestructiveRole);
    box.setDefaultButton(retry);
    box.exec();
    if (box.clickedButton() != retry || unattendedClose_) {
      if (unattendedClose_) exitStatus_ = 1;
      return;
    }
  }
}

void TfmMain::RequestUnattendedClose() {
  unattendedClose_ = true;
  if (closed_) return;
  if (QWidget* modal = QApplication::activeModalWidget()) {
    if (auto* dialog = qobject_cast<QDialog*>(modal)) {
      dialog->reject();
    } else {
      modal->close();
    }
  }
  // The close step runs from the outermost event loop, once every modal loop has
  // returned, so that no handler resumes on a window that has closed.
  if (QApplication::activeModalWidget() != nullptr || QThread::currentThread()->loopLevel() > 1) {
    QMetaObject::invokeMethod(this, &TfmMain::RequestUnattendedClose, Qt::QueuedConnection);
    return;
  }
  close();
}

void TfmMain::CloseBeforeQuit() {
  unattendedClose_ = true;
  if (!closed_ && !closing_) FormClose();
}
