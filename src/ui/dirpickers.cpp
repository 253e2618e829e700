// The drive and directory pickers (declared in views.h): the drives of the machine in a combo box and
// the open path with its sub-directories in an owner-drawn list box, kept in step with each other.
#include "ui/views.h"

#include <algorithm>
#include <cctype>

namespace ui {

// ---- DriveComboBox ------------------------------------------------------------------------------

void DriveComboBox::Created(const Row& row) {
    ComboBox::Created(row);
    Refresh();
}

void DriveComboBox::Refresh() {
    char current = Drive();
    Clear();
    DWORD drives = GetLogicalDrives();
    for (int i = 0; i < 26; ++i) {
        if (!(drives & (1u << i)))
            continue;
        char root[4] = {static_cast<char>('A' + i), ':', '\\', 0};
        std::string text = {static_cast<char>('a' + i), ':'};
        UINT type = GetDriveTypeA(root);
        char label[MAX_PATH] = "";
        // Removable drives are not probed: a floppy drive without a disk would keep the user waiting.
        if (type != DRIVE_REMOVABLE && GetVolumeInformationA(root, label, sizeof label, nullptr, nullptr, nullptr,
                                                             nullptr, 0) &&
            label[0])
            text += std::string(" [") + label + "]";
        AddItem(text);
    }
    SetDrive(current ? current : 'C');
}

char DriveComboBox::Drive() const {
    std::string text = Item(ItemIndex());
    return text.empty() ? 0 : static_cast<char>(toupper(static_cast<unsigned char>(text[0])));
}

void DriveComboBox::SetDrive(char letter) {
    char lower = static_cast<char>(tolower(static_cast<unsigned char>(letter)));
    for (int i = 0; i < Count(); ++i)
        if (Item(i)[0] == lower)
            SetItemIndex(i);
}

void DriveComboBox::Command(int code, int id) {
    if (code == CBN_SELCHANGE && DirList) {
        char drive = Drive();
        if (drive && DirList->Drive() != drive)
            DirList->SetDirectory(std::string(1, drive) + ":\\");
    }
    ComboBox::Command(code, id);
}

// ---- DirectoryListBox ---------------------------------------------------------------------------

Control::WindowKind DirectoryListBox::Kind(const Row&) const {
    return {"LISTBOX", WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS,
            WS_EX_CLIENTEDGE};
}

void DirectoryListBox::Created(const Row&) { SendMessageA(hwnd_, LB_SETITEMHEIGHT, 0, 18); }

namespace {
constexpr LPARAM SubdirFlag = 0x10000; // item data: level, flagged for the rows below the open path

// The top row of a path: its drive (C:\) or its network share (\\SRV\SHARE); empty for a path that
// has neither, such as a drive-relative C:DATA.
std::string RootOf(const std::string& path) {
    if (path.size() >= 2 && path[1] == ':' && isalpha(static_cast<unsigned char>(path[0])))
        return path.size() == 2 || path[2] == '\\'
                   ? std::string{static_cast<char>(toupper(static_cast<unsigned char>(path[0]))), ':', '\\'}
                   : "";
    size_t server = path.rfind("\\\\", 0) == 0 ? path.find('\\', 2) : std::string::npos;
    if (server == std::string::npos || server == 2) return "";
    std::string root = path.substr(0, path.find('\\', server + 1));
    return root.size() > server + 1 ? root : "";
}

std::string JoinRow(const std::string& path, const std::string& name) {
    return path.back() == '\\' ? path + name : path + '\\' + name;
}
} // namespace

int DirectoryListBox::OpenCount() const {
    int n = 0;
    while (n < Count() && SendMessageA(hwnd_, LB_GETITEMDATA, static_cast<WPARAM>(n), 0) == n)
        ++n;
    return n;
}

std::string DirectoryListBox::ItemPath(int index) const {
    int open = OpenCount();
    if (index < 0 || index >= Count() || open == 0)
        return "";
    std::string path = Item(0); // "C:\" or "\\SRV\SHARE"
    int last = index < open ? index : open - 1;
    for (int i = 1; i <= last; ++i) path = JoinRow(path, Item(i));
    if (index >= open) path = JoinRow(path, Item(index));
    return path;
}

std::string DirectoryListBox::Directory() const { return ItemPath(OpenCount() - 1); }

char DirectoryListBox::Drive() const {
    std::string dir = Directory();
    return dir.size() >= 2 && dir[1] == ':' ? static_cast<char>(toupper(static_cast<unsigned char>(dir[0])))
                                            : 0;
}

bool DirectoryListBox::SetDirectory(const std::string& path) {
    std::string root = RootOf(path);
    if (!hwnd_ || root.empty()) return false;
    SendMessageA(hwnd_, WM_SETREDRAW, FALSE, 0);
    Clear();
    auto add = [this](const std::string& text, LPARAM level) {
        LRESULT i = SendMessageA(hwnd_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
        SendMessageA(hwnd_, LB_SETITEMDATA, static_cast<WPARAM>(i), level);
    };
    add(root, 0);
    int level = 0;
    size_t start = root.size();
    while (start < path.size()) {
        size_t end = path.find('\\', start);
        std::string part = path.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (!part.empty())
            add(part, ++level);
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    std::vector<std::string> subdirs;
    WIN32_FIND_DATAA found;
    std::string dir = Directory();
    HANDLE search = FindFirstFileA((dir + (dir.back() == '\\' ? "*.*" : "\\*.*")).c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::string name = found.cFileName;
            if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && name != "." && name != "..")
                subdirs.push_back(name);
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    std::sort(subdirs.begin(), subdirs.end(),
              [](const std::string& a, const std::string& b) { return lstrcmpiA(a.c_str(), b.c_str()) < 0; });
    for (const std::string& name : subdirs)
        add(name, (level + 1) | SubdirFlag);
    SendMessageA(hwnd_, LB_SETCURSEL, static_cast<WPARAM>(level), 0);
    SendMessageA(hwnd_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(hwnd_, nullptr, TRUE);
    if (OnChange)
        OnChange();
    return true;
}

void DirectoryListBox::Command(int code, int id) {
    if (code == LBN_DBLCLK) {
        std::string path = ItemPath(ItemIndex());
        if (!path.empty())
            SetDirectory(path);
        return;
    }
    ListBox::Command(code, id);
}

void DirectoryListBox::DrawItem(const DRAWITEMSTRUCT& item) {
    if (item.itemID == static_cast<UINT>(-1))
        return;
    static HIMAGELIST images =
        MakeImageList({Glyph::DriveFixed, Glyph::FolderOpen, Glyph::FolderClosed, Glyph::DriveNet});
    bool open = !(item.itemData & SubdirFlag);
    int level = static_cast<int>(item.itemData & 0xFFFF);
    bool selected = (item.itemState & ODS_SELECTED) != 0;
    HDC dc = item.hDC;
    RECT r = item.rcItem;
    FillRect(dc, &r, GetSysColorBrush(COLOR_WINDOW));
    int x = r.left + 2 + level * 8;
    std::string text = Item(static_cast<int>(item.itemID));
    int image = level > 0 ? (open ? 1 : 2) : text[1] == ':' ? 0 : 3;
    ImageList_Draw(images, image, dc, x, r.top + 1, ILD_NORMAL);
    RECT t{x + 19, r.top, r.right, r.bottom};
    SIZE size{};
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
    t.right = std::min<LONG>(t.left + size.cx + 4, r.right);
    FillRect(dc, &t, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    t.left += 2;
    DrawTextA(dc, text.c_str(), -1, &t, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    if (item.itemState & ODS_FOCUS)
        DrawFocusRect(dc, &t);
}

} // namespace ui
