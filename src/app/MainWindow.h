// TfmMain, the panel: a window covered by the grid of buttons. It owns the
// command list, the four output ports and the image list, reads the settings
// file when it is created and writes it when it closes. User-interface thread only.
#pragma once

#include <QTimer>
#include <QMessageBox>
#include <QPointer>
#include <QWidget>

#include <array>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "app/ButtonActions.h"
#include "app/QtMainThreadQueue.h"
#include "core/CommandList.h"
#include "core/MainWindowState.h"
#include "core/OutputPorts.h"
#include "core/ReplyChecks.h"
#include "core/ReplyLog.h"
#include "serial/ComPort.h"
#include "widgets/ImageList.h"

class QLabel;
class TImageButton;
class TMainWindowPanel;
class TRemoteControl;
class TAboutBox;
class TContextMenu;
class TDialogPlacement;
class TfmConfiguration;
class TfmProperties;
class TfmReplies;

class TfmMain : public QWidget {
  Q_OBJECT

 public:
  // Outer size, frame included.
  static constexpr QSize kMinimumOuterSize{250, 150};

  explicit TfmMain(std::filesystem::path settingsFile);
  ~TfmMain() override;

  TMainWindowState& State() { return state_; }
  // Valid until the close step has run.
  TCommandList& Commands() { return *commands_; }
  bool Closed() const { return closed_ || !commands_; }
  TOutputPorts OutputPorts();
  const TImageList& ImageList() const { return ImageList_; }
  // 0, or 1 when an unattended close could not write the settings file.
  int ExitStatus() const { return exitStatus_; }

  // The layout: every grid button gets an equal share of the client area, and
  // the client area snaps to the buttons.
  void actResizeButtonsExecute();
  // Applies every record to its grid button.
  void RefreshGrid();
  // Fits the command list to count records and rebuilds the grid; with an
  // unchanged count it rebuilds only when rows or columns changed.
  void SetButtonCount(uint8_t count);
  // Tells the window manager whether to offer moving, from the switches now.
  void UpdateMoveLock();

  // The grid button's press, hold and release (ButtonActions.h); index is
  // zero-based. Local shows a failure's box at the button while "Show Com Port
  // Errors" is on; Remote never shows one.
  TSendResult ButtonDown(int index, TPressSource source) {
    return buttonActions_->ButtonDown(index, source);
  }
  TSendResult ButtonUp(int index, TPressSource source) {
    return buttonActions_->ButtonUp(index, source);
  }
  TSendResult ButtonPress(int index, TPressSource source) {
    return buttonActions_->ButtonPress(index, source);
  }
  TButtonActions& ButtonActions() const { return *buttonActions_; }
  // The grid button of that number (1-based), or nullptr.
  TImageButton* GridButton(int number) const;
  // "Output 1 (COM5, /dev/ttyUSB0)": an output with its port number and device.
  QString OutputDescription(uint8_t output);
  // Transmission.cpp: the one box for an output whose device went away, shown
  // once per failure and not modal; a later report of the same failure, or a
  // click while the box is up, brings that box forward instead.
  void ShowPortFailure(uint8_t output, const QString& cause);
  bool DisconnectShown(uint8_t output) const;
  // A send went out: a later failure of the output is a new one.
  void PortServed(uint8_t output);

  // A request to end that nobody attends (a signal, the session ending): open
  // modal dialogs are dismissed, the close step runs, and a settings file that
  // cannot be written is reported on stderr instead of in a message box.
  void RequestUnattendedClose();
  // The application is quitting: runs the close step now if it has not run.
  void CloseBeforeQuit();

  // The three dialogs, created after the window at start-up as its children.
  void SetDialogs(TAboutBox* aboutBox, TfmProperties* properties, TfmConfiguration* configuration) {
    AboutBox_ = aboutBox;
    fmProperties_ = properties;
    fmConfiguration_ = configuration;
  }
  TAboutBox* AboutBox() const { return AboutBox_; }
  TfmProperties* fmProperties() const { return fmProperties_; }
  TfmConfiguration* fmConfiguration() const { return fmConfiguration_; }
  // The button context menu and the window's edit actions.
  TContextMenu& ContextMenu() const { return *contextMenu_; }
  // The configuration dialog's line about remote control.
  QString RemoteDescription() const;

  // The reply view, a window of its own created with this one.
  TfmReplies* fmReplies() const { return fmReplies_; }
  const TReplyLog& ReplyLog() const { return replyLog_; }
  // Opens the reply view, or brings it to the front.
  void ShowReplies();
  // Bytes of the button numbered button went out on output: the sent line,
  // and, when checksReply, the check of the reply the record expects. Any
  // send on the output ends the check running there.
  void RecordSend(int output, int button, const std::string& bytes, const TCommand& record,
                  bool checksReply);

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  // A modal box, deactivation and minimising end the operator's holds.
  bool event(QEvent* event) override;
  void changeEvent(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void FormCreate();
  void FormShow();
  void FormClose();
  void FormResize();
  void BuildGrid();
  void DestroyGrid();
  void BtTxOnEnter(const TImageButton* sender);
  // Transmission.cpp: a click sends the button's bytes; a failure shows the
  // "Com port error." box at the button while "Show Com Port Errors" is on.
  void BtTxClick(const TImageButton* sender);
  // FormShow's last step: opens each output whose open flag is set.
  void OpenOutputPorts();
  void ConnectOutputPorts();

  // RemoteAccess.cpp: the listeners of section "Remote" and the status line.
  void StartRemoteControl();
  void StopRemoteControl();
  int RemoteStatusHeight() const;

  // Replies.cpp: what the outputs send and receive goes to the reply log, and
  // a button that expects a reply has it checked.
  void ConnectReplies();
  void PortReceived(int output, TVrlComPort& port, uint32_t count);
  void ReplyTimerExpired();
  void ArmReplyTimer();
  void ShowReplyOutcome(const TReplyResult& result);

  // FramePlacement.cpp: the stored frame at start-up, its correction once the
  // window manager has framed the window, the refused maximising, and the frame
  // that the close step saves.
  void ApplyStoredBounds();
  void WatchExposure();
  void FitFrameToPlace();
  void AdoptFrameExtents();
  bool Exposed() const;
  // The outer rectangle by the window manager's frame extents.
  QRect Frame() const;
  bool Enlarged() const;
  void NoteFrame();
  void RefuseEnlarging();
  QRect ShownFrame() const;
  void SetClientGeometry(QRect client);
  void SetClientSize(QSize size);
  bool MoveLocked() const;
  void WriteSettings();
  QList<TImageButton*> GridButtons() const;

  const std::filesystem::path settingsFile_;
  TMainWindowState state_;
  std::unique_ptr<TCommandList> commands_;
  // The ports' received bytes end here; declared before the ports to outlive them.
  TReplyLog replyLog_;
  TReplyChecks replyChecks_;
  QTimer replyTimer_;
  // Serves the ports' notify windows; declared before the ports to outlive them.
  TQtMainThreadQueue mainThreadQueue_;
  TVrlComPort ComPort1_;
  TVrlComPort ComPort2_;
  TVrlComPort ComPort3_;
  TVrlComPort ComPort4_;
  TImageList ImageList_;
  std::unique_ptr<TDialogPlacement> dialogPlacement_;
  TContextMenu* contextMenu_ = nullptr;      // a child of the window
  TButtonActions* buttonActions_ = nullptr;  // a child of the window
  TAboutBox* AboutBox_ = nullptr;
  TfmProperties* fmProperties_ = nullptr;
  TfmConfiguration* fmConfiguration_ = nullptr;
  std::unique_ptr<TMainWindowPanel> remotePanel_;
  std::unique_ptr<TRemoteControl> remote_;
  QLabel* lbRemote_ = nullptr;  // a child of the window, while a listener is up
  TfmReplies* fmReplies_ = nullptr;  // a child window

  std::array<bool, 4> disconnectReported_{};
  std::array<QPointer<QMessageBox>, 4> disconnectBoxes_{};
  bool gridBuilt_ = false;
  int builtRows_ = 0;
  int builtCols_ = 0;
  bool shown_ = false;
  bool closing_ = false;
  bool closed_ = false;
  bool unattendedClose_ = false;
  int exitStatus_ = 0;
  bool resizeLocked_ = false;
  // The window manager's frame, known only once it has framed the window; until
  // then the stored outer size waits to be turned into a client size.
  QMargins frameExtents_;
  bool extentsKnown_ = false;
  QSize minimumClientSize_ = kMinimumOuterSize;
  std::optional<QSize> pendingOuterSize_;
  // The frame the window must stand in until the window manager has put it there.
  std::optional<QRect> placing_;
  int placingSteps_ = 0;
  QPoint placingRequest_;
  // The last frame the window had while neither placing nor maximised, and
  // whether a maximising is being undone to it.
  QRect latestFrame_;
  bool refusing_ = false;
  int refusalSteps_ = 0;
  // Where a locked window is put back to.
  QPoint anchor_;
};
