#pragma once

// Start-up: single copy, settings, password file, connection string. Returns the process exit
// code when the program must end at once, or -1 when it goes on running.
int Main();
