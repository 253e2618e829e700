// Windows preparation: the main window's advice page for this Windows and this hardware configuration,
// the desktop and Start-menu shortcuts (old ones of an earlier layout removed first), the registry
// entry of the installation, the IEEE driver offer on the NT family, and the buttons of the start-file
// editor. Runs after an installation and from the set-up panel's Windows button; reports nothing.
#pragma once

void WindowsSetup();
// Turns the main window into the advice page and fills its memo.
void ShowWindowsAdvice();
// Empties the Start-menu folder VEXA of the old layout (and its two desktop links), recognised by its
// "Vexa cmd line.LNK".
void RemoveOldLinks();
// On the NT family, asks whether to run the IEEE driver set-up (SetUpNT) and runs it.
void OfferIeeeDriver();
