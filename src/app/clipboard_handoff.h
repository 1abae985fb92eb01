#pragma once
// A copied link outlives the program: before the process ends, the clipboard
// this program owns is handed to the desktop's clipboard manager.

#include <chrono>

namespace sirelo {

// Whether a clipboard manager has claimed the desktop's CLIPBOARD_MANAGER
// selection (X11 only). Window thread.
bool ClipboardManagerRuns();

// On X11, when the program owns the clipboard and a clipboard manager runs:
// asks the manager to save the clipboard (a conversion of CLIPBOARD_MANAGER to
// SAVE_TARGETS) and answers its requests for the contents until it replies and
// no request has come for a moment, or until `limit`. Window thread; returns
// at once anywhere else.
void HandClipboardToManager(std::chrono::milliseconds limit);

// Ends the process at once, with no wait for running threads, once the
// clipboard has been handed over.
[[noreturn]] void EndProgram();

}  // namespace sirelo
