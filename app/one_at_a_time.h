// One setup program or uninstaller at a time on a machine: a second one
// started while one runs (a double click on a slow machine, a deployment
// tool that retries) changes nothing. Both programs hold the same named
// mutex for their whole run.
#pragma once

// Takes the mutex. False when another setup program or uninstaller holds it.
bool TakeOneAtATime();

// Brings the running one's window (the wizard or a message) to the front.
void ShowTheRunningOne();
