// Window systems without a move hint: the main window's put-back alone keeps it
// in place.
#include "app/MoveHint.h"

void SetWindowManagerMoveHint(QWidget&, bool) {}
