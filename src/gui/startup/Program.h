#pragma once

class Session;
class TrayMenu;

// Start-up for the session the caller owns. Returns -1 when the program goes on running in the
// notification area, or the exit code when it must end at once.
int runProgram(Session& session);

// The tray window runProgram loaded, if any.
TrayMenu* trayMenu();

// Unloads the tray window and lets another start-up run (for tests and the end of the program).
void shutDownProgram();
