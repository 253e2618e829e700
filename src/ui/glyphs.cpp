// The program's glyphs as pixel maps: one letter per pixel, '.' transparent, the other letters a small
// palette. Pixel maps stay sharp at 16 x 16, where drawn shapes smear.
#include "ui/glyphs.h"

namespace ui {

namespace {

const char* const Ok[16] = {
    "................",
    "................",
    "................",
    "............gg..",
    "...........ggG..",
    "..........ggG...",
    ".........ggG....",
    ".gg.....ggG.....",
    ".Ggg...ggG......",
    "..Ggg.ggG.......",
    "...GgggG........",
    "....GgG.........",
    ".....G..........",
    "................",
    "................",
    "................",
};
const char* const Cancel[16] = {
    "................",
    "................",
    "................",
    "...rr.......rr..",
    "...rrr.....rrr..",
    "....rrr...rrr...",
    ".....rrr.rrr....",
    "......rrrrr.....",
    ".......rrr......",
    "......rrrrr.....",
    ".....rrr.rrr....",
    "....rrr...rrr...",
    "...rrr.....rrr..",
    "...rr.......rr..",
    "................",
    "................",
};
const char* const Help[16] = {
    "................",
    "....BBBBBBBB....",
    "...BBbbbbbbBB...",
    "..BbbbwwwwbbbB..",
    ".BBbbwwbbwwbbBB.",
    ".BbbbbbbbwwbbbB.",
    ".BbbbbbbwwbbbbB.",
    ".BbbbbbwwbbbbbB.",
    ".BbbbbbwwbbbbbB.",
    ".BbbbbbbbbbbbbB.",
    ".BbbbbbwwbbbbbB.",
    ".BBbbbbwwbbbbBB.",
    "..BbbbbbbbbbbB..",
    "...BBbbbbbbBB...",
    "....BBBBBBBB....",
    "................",
};
const char* const Close[16] = {
    "................",
    "..nnnnnnnn......",
    "..nYYYYYYn......",
    "..nYYYYYYn......",
    "..nYYYYYYn......",
    "..nYYYYYYn......",
    "..nYYYYYYn.g....",
    "..nYYYYYYngg....",
    "..nYYYYyYgggggg.",
    "..nYYYYYYngg....",
    "..nYYYYYYn.g....",
    "..nYYYYYYn......",
    "..nYYYYYYn......",
    "..nYYYYYYn......",
    "..nnnnnnnn......",
    "................",
};
const char* const Abort[16] = {
    "................",
    ".....rrrrrr.....",
    "....rrrrrrrr....",
    "...rrrrrrrrrr...",
    "..rrrrrrrrrrrr..",
    ".rrrrrrrrrrrrrr.",
    ".rrrrrrrrrrrrrr.",
    ".rrrwwwwwwwwrrr.",
    ".rrrwwwwwwwwrrr.",
    ".rrrrrrrrrrrrrr.",
    ".rrrrrrrrrrrrrr.",
    "..rrrrrrrrrrrr..",
    "...rrrrrrrrrr...",
    "....rrrrrrrr....",
    ".....rrrrrr.....",
    "................",
};
const char* const Run[16] = {
    "................",
    "................",
    "................",
    "....GG..........",
    "....GgGG........",
    "....GgggG.......",
    "....GggggGG.....",
    "....GggggggGG...",
    "....GggggggGG...",
    "....GggggGG.....",
    "....GgggG.......",
    "....GgGG........",
    "....GG..........",
    "................",
    "................",
    "................",
};
const char* const Setup[16] = {
    ".......dd.......",
    "......dddd......",
    "..ddd.dddd.ddd..",
    "..ddddssssdddd..",
    "..dddssssssddd..",
    "...dsssddsssd...",
    ".ddsssdwwdsssdd.",
    "dddssdwwwwdssddd",
    "dddssdwwwwdssddd",
    ".ddsssdwwdsssdd.",
    "...dsssddsssd...",
    "..dddssssssddd..",
    "..ddddssssdddd..",
    "..ddd.dddd.ddd..",
    "......dddd......",
    ".......dd.......",
};
const char* const Windows[16] = {
    "................",
    "................",
    ".BBBBBBBBBBBBBB.",
    ".BbbbbbbbbbbwwB.",
    ".BBBBBBBBBBBBBB.",
    ".BwwwwwwwwwwwwB.",
    ".BwssssswwwwwwB.",
    ".BwscccswwwwwwB.",
    ".BwscccswwwwwwB.",
    ".BwscccswwwwwwB.",
    ".BwscccswwwwwwB.",
    ".BwssssswwwwwwB.",
    ".BwwwwwwwwwwwwB.",
    ".BBBBBBBBBBBBBB.",
    "................",
    "................",
};
const char* const Globe[16] = {
    "................",
    "....BBBBBBBB....",
    "...BBccccccBB...",
    "..BccgggcccccB..",
    ".BBcggggggcccBB.",
    ".BcccgggggccccB.",
    ".BccccgggccggcB.",
    ".BcccccgccgggcB.",
    ".BcccccccggggcB.",
    ".BccccccccggccB.",
    ".BcccccccggcccB.",
    ".BBccccccccccBB.",
    "..BccccccccccB..",
    "...BBccccccBB...",
    "....BBBBBBBB....",
    "................",
};
const char* const Download[16] = {
    "......gggg......",
    "......gggg......",
    "......gggg......",
    "......gggg......",
    "....gggggggg....",
    ".....gggggg.....",
    "......gggg......",
    ".......gg.......",
    "................",
    "................",
    ".dddddddddddddd.",
    ".dsddddddddddsd.",
    ".dssssssssssssd.",
    ".dssssssssssssd.",
    ".dddddddddddddd.",
    "................",
};
const char* const Editor[16] = {
    "................",
    "..kkkkkkkkkk....",
    "..kwwwwwwwwk..rr",
    "..kwwwwwwwwk..oo",
    "..kwddddddwk.ooo",
    "..kwwwwwwwwkooo.",
    "..kwddddddwkooo.",
    "..kwwwwwwwwooo..",
    "..kwddddddwoo...",
    "..kwwwwwwwooo...",
    "..kwdddddooo....",
    "..kwwwwwwooo....",
    "..kwwwwwoook....",
    "..kwwwwkkowk....",
    "..kkkkkkkkkk....",
    "................",
};
const char* const Copy[16] = {
    "................",
    ".kkkkkkkkk......",
    ".kwwwwwwwk......",
    ".kwdddwwwk......",
    ".kwwwwkkkkkkkkk.",
    ".kwdddkwwwwwwwk.",
    ".kwwwwkwwwwwwwk.",
    ".kwdddkwdddddwk.",
    ".kwwwwkwwwwwwwk.",
    ".kwwwwkwdddddwk.",
    ".kwwwwkwwwwwwwk.",
    ".kkkkkkwdddddwk.",
    "......kwwwwwwwk.",
    "......kwwwwwwwk.",
    "......kkkkkkkkk.",
    "................",
};
const char* const FolderClosed[16] = {
    "................",
    "................",
    "................",
    ".YYYYYY.........",
    ".YYYYYYYYYYYYYY.",
    ".YyyyyyyyyyyyyY.",
    ".YyyyyyyyyyyyyY.",
    ".YyyyyyyyyyyyyY.",
    ".YyyyyyyyyyyyyY.",
    ".YyyyyyyyyyyyyY.",
    ".YyyyyyyyyyyyyY.",
    ".YyyyyyyyyyyyyY.",
    ".YyyyyyyyyyyyyY.",
    ".YYYYYYYYYYYYYY.",
    "................",
    "................",
};
const char* const FolderOpen[16] = {
    "................",
    "................",
    "................",
    ".YYYYYY.........",
    ".YyyyyyYYYYYYY..",
    ".YyyyyyyyyyyyY..",
    ".YyyyYYYYYYYYYYY",
    ".YyyYyyyyyyyyyyY",
    ".YyYyyyyyyyyyyY.",
    ".YyYyyyyyyyyyyY.",
    ".YYyyyyyyyyyyY..",
    ".YYyyyyyyyyyyY..",
    ".YYYYYYYYYYYYY..",
    "................",
    "................",
    "................",
};
const char* const DriveFixed[16] = {
    "................",
    "................",
    "................",
    "................",
    "................",
    ".kkkkkkkkkkkkkk.",
    ".kssssssssssssk.",
    ".kssssssssssssk.",
    ".ksssssssssggsk.",
    ".kssssssssssssk.",
    ".kddddddddddddk.",
    ".kkkkkkkkkkkkkk.",
    "................",
    "................",
    "................",
    "................",
};
const char* const DriveCd[16] = {
    "................",
    ".....dddddd.....",
    "....ddlllldd....",
    "...dlllllllld...",
    "..dlllssssllld..",
    ".ddllsccccslldd.",
    ".dllsccddccslld.",
    ".dllscddddcslld.",
    ".dllscddddcslld.",
    ".dllsccddccslld.",
    ".ddllsccccslldd.",
    "..dlllssssllld..",
    "...dlllllllld...",
    "....ddlllldd....",
    ".....dddddd.....",
    "................",
};
const char* const DriveNet[16] = {
    "................",
    "................",
    ".kkkkkkkkkkkkkk.",
    ".kssssssssssssk.",
    ".kssssssssssssk.",
    ".ksssssssssggsk.",
    ".kssssssssssssk.",
    ".kssssssssssssk.",
    ".kkkkkkkkkkkkkk.",
    ".......kk.......",
    ".......kk.......",
    "........k.......",
    "........k.......",
    "..kkkkkkkkkkkk..",
    "..dddddddddddd..",
    "................",
};
const char* const DriveRemovable[16] = {
    "................",
    ".kkkkkkkkkkkkkk.",
    ".kBBksssBBskBBk.",
    ".kBBksssBBskBBk.",
    ".kBBksssBBskBBk.",
    ".kBBksssBBskBBk.",
    ".kBBkkkkkkkkBBk.",
    ".kBBBBBBBBBBBBk.",
    ".kBBBBBBBBBBBBk.",
    ".kBkkkkkkkkkkBk.",
    ".kBkwwwwwwwwkBk.",
    ".kBkwwwwwwwwkBk.",
    ".kBkwwwwwwwwkBk.",
    ".kBkwwwwwwwwkBk.",
    ".kkkkkkkkkkkkkk.",
    "................",
};
const char* const Search[16] = {
    "................",
    "....kkkk........",
    "..kkcccckk......",
    "..kccwccck......",
    ".kccwccccck.....",
    ".kcccccccck.....",
    ".kcccccccck.....",
    ".kcccccccck.....",
    "..kcccccck......",
    "..kkcccckk......",
    "....kkkk..nn....",
    "..........nnn...",
    "...........nnn..",
    "............nnn.",
    ".............nn.",
    "................",
};
const char* const SubDirs[16] = {
    "................",
    ".YYYYYY.........",
    ".YyyyyY.........",
    ".YyyyyY.........",
    ".YyyyyY.........",
    ".YYYYYY.........",
    "...k............",
    "...k....YYYYYYY.",
    "...k....YyyyyyY.",
    "...kkkkkYyyyyyY.",
    "...k....YyyyyyY.",
    "...k....YYYYYYY.",
    "...k....YyyyyyY.",
    "...kkkkkYyyyyyY.",
    "........YYYYYYY.",
    "................",
};
const char* const Network[16] = {
    "................",
    "kkkkkkk..kkkkkkk",
    "kccccck..kccccck",
    "kccccck..kccccck",
    "kccccck..kccccck",
    "kccccck..kccccck",
    "kkkkkkk..kkkkkkk",
    "..kkk......kkk..",
    "...d........d...",
    "...d........d...",
    "...d........d...",
    ".dddddddddddddd.",
    ".....kkkkkk.....",
    ".....kssssk.....",
    ".....kkkkkk.....",
    "................",
};
const char* const Find[16] = {
    "................",
    "........kkkk....",
    ".......kcccck...",
    "......kcccccck..",
    "......kcccccck..",
    ".YYYYYkcccccck..",
    ".YYYYYkcccccck..",
    ".Yyyyyykcccck...",
    ".YyyyyyykkkkYnn.",
    ".YyyyyyyyyyyYnnn",
    ".YyyyyyyyyyyY.nn",
    ".YyyyyyyyyyyY..n",
    ".YyyyyyyyyyyY...",
    ".YyyyyyyyyyyY...",
    ".YYYYYYYYYYYY...",
    "................",
};
const char* const NewFolder[16] = {
    "............o...",
    "..........o.o.o.",
    "...........ooo..",
    "..........ooooo.",
    "...........ooo..",
    "..........o.o.o.",
    ".YYYYYY.....o...",
    ".YYYYYYYYYYYY...",
    ".YyyyyyyyyyyY...",
    ".YyyyyyyyyyyY...",
    ".YyyyyyyyyyyY...",
    ".YyyyyyyyyyyY...",
    ".YyyyyyyyyyyY...",
    ".YyyyyyyyyyyY...",
    ".YYYYYYYYYYYY...",
    "................",
};

const char* const* const maps[] = {
    nullptr, Ok, Cancel, Help, Close, Abort, Run, Setup, Windows, Globe, Download, Editor, Copy,
    FolderClosed, FolderOpen, DriveFixed, DriveCd, DriveNet, DriveRemovable, Search, SubDirs, Network, Find,
    NewFolder,
};
static_assert(sizeof maps / sizeof maps[0] == static_cast<int>(Glyph::Count));

constexpr COLORREF Key = RGB(255, 0, 255); // transparent pixels while the image list makes its mask

struct PaletteEntry {
    char letter;
    COLORREF colour;
};
const PaletteEntry palette[] = {
    {'k', RGB(0, 0, 0)},       {'d', RGB(128, 128, 128)}, {'s', RGB(192, 192, 192)}, {'l', RGB(232, 232, 232)},
    {'w', RGB(255, 255, 255)}, {'r', RGB(216, 24, 24)},   {'R', RGB(128, 0, 0)},     {'g', RGB(24, 168, 40)},
    {'G', RGB(0, 96, 16)},     {'b', RGB(32, 96, 216)},   {'B', RGB(0, 0, 128)},     {'c', RGB(150, 210, 255)},
    {'y', RGB(255, 216, 88)},  {'Y', RGB(176, 128, 0)},   {'o', RGB(255, 144, 0)},   {'n', RGB(136, 80, 24)},
};

HBITMAP DrawGlyph(HDC screen, Glyph glyph) {
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 16, 16);
    HDC dc = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(dc, bitmap);
    const char* const* rows = GlyphRows(glyph);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            SetPixel(dc, x, y, rows ? GlyphColour(rows[y][x]) : Key);
    SelectObject(dc, old);
    DeleteDC(dc);
    return bitmap;
}

} // namespace

const char* const* GlyphRows(Glyph glyph) {
    int index = static_cast<int>(glyph);
    return index > 0 && index < static_cast<int>(Glyph::Count) ? maps[index] : nullptr;
}

COLORREF GlyphColour(char letter) {
    for (const PaletteEntry& entry : palette)
        if (entry.letter == letter)
            return entry.colour;
    return Key;
}

HIMAGELIST MakeImageList(std::initializer_list<Glyph> glyphs) {
    HIMAGELIST list = ImageList_Create(16, 16, ILC_COLOR24 | ILC_MASK, static_cast<int>(glyphs.size()), 4);
    HDC screen = GetDC(nullptr);
    for (Glyph glyph : glyphs) {
        HBITMAP bitmap = DrawGlyph(screen, glyph);
        ImageList_AddMasked(list, bitmap, Key);
        DeleteObject(bitmap);
    }
    ReleaseDC(nullptr, screen);
    return list;
}

HICON MakeGlyphIcon(Glyph glyph) {
    HIMAGELIST list = MakeImageList({glyph});
    HICON icon = ImageList_GetIcon(list, 0, ILD_NORMAL);
    ImageList_Destroy(list);
    return icon;
}

} // namespace ui
