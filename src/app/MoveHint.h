// Asks the window manager to offer moving a top-level window, or not to (on X11
// through the Motif hints). A hint only: the main window also puts itself back
// when it is moved while locked. User-interface thread only.
#pragma once

class QWidget;

void SetWindowManagerMoveHint(QWidget& window, bool movable);
