// The program's own small pictures: 16 x 16 glyphs for buttons, tool bars and tree views, drawn from
// pixel maps in glyphs.cpp, and icons made from them.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <initializer_list>

namespace ui {

enum class Glyph {
    None,
    Ok,           // green tick
    Cancel,       // red cross
    Help,         // blue question mark
    Close,        // door with an arrow
    Abort,        // red stop sign
    Run,          // green triangle
    Setup,        // gear
    Windows,      // window with a title bar
    Globe,        // home page
    Download,     // arrow into a tray
    Editor,       // page with a pencil
    Copy,         // two pages
    FolderClosed,
    FolderOpen,
    DriveFixed,
    DriveCd,
    DriveNet,
    DriveRemovable,
    Search,       // magnifier
    SubDirs,      // folder tree
    Network,      // two computers
    Find,         // magnifier over a folder
    NewFolder,    // folder with a star
    Count
};

// A 16 x 16 image list (32-bit colour with mask) holding the glyphs in the given order.
HIMAGELIST MakeImageList(std::initializer_list<Glyph> glyphs);
// An icon (16 x 16) of one glyph; the caller destroys it with DestroyIcon.
HICON MakeGlyphIcon(Glyph glyph);
// The pixel map of a glyph: 16 rows of 16 palette letters ('.' transparent); for tests and tools.
const char* const* GlyphRows(Glyph glyph);
// The colour of a palette letter.
COLORREF GlyphColour(char letter);

} // namespace ui
