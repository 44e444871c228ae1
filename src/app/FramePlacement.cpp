// Where the main window's frame stands: the stored outer rectangle put on the
// screen at start-up, corrected once the window manager has framed the window
// (its frame extents are known only then), kept out of the maximised state, and
// read back at close as the frame that was shown. User-interface thread only.
#include <QGuiApplication>
#include <QScreen>
#include <QWindow>

#include "app/MainWindow.h"
#include "app/WindowManager.h"
#include "app/WindowPlacement.h"

namespace {

// A window manager that keeps the frame elsewhere, or never tells its extents,
// is not waited for without end.
constexpr int kMaximumPlacingSteps = 16;

constexpr Qt::WindowStates kEnlargedStates = Qt::WindowMaximized | Qt::WindowFullScreen;

}  // namespace

void TfmMain::ApplyStoredBounds() {
  QList<QRect> screens;
  for (const QScreen* screen : QGuiApplication::screens()) screens << screen->availableGeometry();
  const QScreen* primary = QGuiApplication::primaryScreen();
  const TWindowBounds& stored = state_.Bounds;
  const QRect outer =
      PlaceWindow(stored.Left, stored.Top, stored.Width, stored.Height, kMinimumOuterSize, screens,
                  primary != nullptr ? primary->availableGeometry() : QRect());
  // For a top-level window that is not mapped yet the position is its frame's.
  move(outer.topLeft());
  SetClientSize(outer.size());
  pendingOuterSize_ = outer.size();
  placing_ = outer;
  placingRequest_ = outer.topLeft();
}

bool TfmMain::eventFilter(QObject* watched, QEvent* event) {
  // The first exposure comes once the window manager has mapped the window.
  if (watched == windowHandle() && event->type() == QEvent::Expose) FitFrameToPlace();
  return QWidget::eventFilter(watched, event);
}

void TfmMain::WatchExposure() { windowHandle()->installEventFilter(this); }

bool TfmMain::Exposed() const { return windowHandle() != nullptr && windowHandle()->isExposed(); }

QRect TfmMain::Frame() const { return geometry().marginsAdded(frameExtents_); }

void TfmMain::FitFrameToPlace() {
  if (!Exposed()) return;
  AdoptFrameExtents();
  if (!placing_) return;
  const bool framed = extentsKnown_ || placingSteps_ >= kMaximumPlacingSteps;
  if (framed &&
      (Frame().topLeft() == placing_->topLeft() || placingSteps_ >= kMaximumPlacingSteps)) {
    placing_.reset();
    anchor_ = pos();
    NoteFrame();
    return;
  }
  ++placingSteps_;
  if (!framed) return;
  // Window managers differ in whether a requested position is the frame's or
  // the client's; asking again by the remaining error serves both.
  placingRequest_ += placing_->topLeft() - Frame().topLeft();
  SetClientGeometry(
      QRect(placingRequest_ + QPoint(frameExtents_.left(), frameExtents_.top()), size()));
}

void TfmMain::AdoptFrameExtents() {
  std::optional<QMargins> extents = WindowManagerFrameExtents(*this);
  if (!extents && placingSteps_ >= kMaximumPlacingSteps) extents = windowHandle()->frameMargins();
  if (!extents) return;
  extentsKnown_ = true;
  if (*extents == frameExtents_ && !pendingOuterSize_) return;
  frameExtents_ = *extents;
  const QSize frame(extents->left() + extents->right(), extents->top() + extents->bottom());
  minimumClientSize_ = (kMinimumOuterSize - frame).expandedTo(QSize(1, 1));
  if (!resizeLocked_) setMinimumSize(minimumClientSize_);
  if (pendingOuterSize_) {
    const QSize outer = *pendingOuterSize_;
    pendingOuterSize_.reset();
    SetClientSize(outer - frame);
  }
}

bool TfmMain::Enlarged() const {
  if ((windowState() & kEnlargedStates) != 0) return true;
  // Some window managers maximise a window that does not offer it without
  // saying so: a frame as large as its whole screen is taken as maximised.
  const QScreen* screen = QGuiApplication::screenAt(Frame().center());
  if (screen == nullptr) return false;
  const QSize available = screen->availableGeometry().size();
  return Frame().width() >= available.width() && Frame().height() >= available.height();
}

void TfmMain::NoteFrame() {
  if (placing_) return;
  const QRect frame = Frame();
  if (Enlarged()) {
    if (!latestFrame_.isEmpty() && (!refusing_ || refusalSteps_ < kMaximumPlacingSteps)) {
      if (refusing_) ++refusalSteps_;
      refusing_ = true;
      QMetaObject::invokeMethod(this, &TfmMain::RefuseEnlarging, Qt::QueuedConnection);
    }
    return;
  }
  // What the window manager passes through on its way back is not kept; its
  // frame may change on the way (a maximised window loses its borders), so the
  // frame is asked for again by the extents now known.
  if (refusing_) {
    refusing_ = frame != latestFrame_;
    if (refusing_ && refusalSteps_ < kMaximumPlacingSteps) {
      ++refusalSteps_;
      SetClientGeometry(latestFrame_.marginsRemoved(frameExtents_));
    }
    return;
  }
  refusalSteps_ = 0;
  latestFrame_ = frame;
}

void TfmMain::RefuseEnlarging() {
  if ((windowState() & kEnlargedStates) != 0) setWindowState(windowState() & ~kEnlargedStates);
  AskWindowManagerToUnmaximise(*this);
  SetClientGeometry(latestFrame_.marginsRemoved(frameExtents_));
}

void TfmMain::SetClientSize(QSize size) { SetClientGeometry(QRect(geometry().topLeft(), size)); }

void TfmMain::SetClientGeometry(QRect client) {
  // A window that may not be resized is still sized by the program.
  if (resizeLocked_) {
    setMinimumSize(client.size());
    setMaximumSize(client.size());
  }
  // Before the window is mapped its place is a hint to the window manager, and
  // the frame's. Once mapped, a resize alone would be sent with the client's
  // position taken as the frame's, moving the window by its frame at each
  // change of size: the client's whole geometry is asked for instead.
  if (!Exposed()) {
    resize(client.size());
    return;
  }
  setGeometry(client);
}

QRect TfmMain::ShownFrame() const {
  if ((refusing_ || Enlarged()) && !latestFrame_.isEmpty()) return latestFrame_;
  // Before the window was ever framed, what it would have been shown as.
  if (placing_ && !extentsKnown_) return *placing_;
  return Frame();
}
