#pragma once

class QWidget;

// Tells why a window has just become active: the user came back to it from elsewhere, or a box,
// dialog or progress window it had opened has closed and handed the focus back.
namespace ActivationOrigin {

// Starts following the focus (once; later calls do nothing). Call it before the first dialog.
void watch();

// True when the window that had the focus just before `window` is a dialog that has closed.
bool returnFromDialog(const QWidget& window);

} // namespace ActivationOrigin
