// Windows preparation: the advice for this Windows and this hardware configuration that the main
// window's advice page shows, the desktop and Start-menu shortcuts (old ones of an earlier layout removed
// first), the registry entry of the installation and the IEEE driver offer on the NT family. Runs after an
// installation and from the set-up panel's Windows button; reports nothing.
#pragma once

#include <string>
#include <vector>

// The work between the advice page and the editor buttons (TForm1::WindowsSetup shows the one before and
// enables the other after): old links removed, the desktop and Start-menu links made, the registry
// entry written and the IEEE driver offered.
void PrepareWindows();
// The advice page's lines for this Windows and this hardware configuration, in the memo's order.
std::vector<std::string> WindowsAdviceLines();
// Empties the Start-menu folder VEXA of the old layout (and its two desktop links), recognised by its
// "Vexa cmd line.LNK".
void RemoveOldLinks();
// On the NT family, asks whether to run the IEEE driver set-up (SetUpNT) and runs it.
void OfferIeeeDriver();
