// Connects the core's platform hooks to Qt: the warning box, opening a
// document with its default handler, the scroll bar sizes of the style and
// the user's documents and pictures folders.
#pragma once

namespace tw {

// Call once after the QApplication exists and before the main window is
// created.
void InstallPlatformHooks();

}  // namespace tw
