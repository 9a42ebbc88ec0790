#pragma once

class frmTrayIcon;

// Start-up. Returns -1 when the program goes on running in the notification area, or the exit
// code when it must end at once.
int Main();

// The tray window Main loaded, if any.
frmTrayIcon* TrayWindow();

// Unloads the tray window and lets another start-up run (for tests and the end of the program).
void ShutdownMain();
