// The conversion window TFormConv: its controls, the transfers to and from the settings, and the
// handlers that list, mark and convert the files.
#include "convert/convwindow_win32.h"

#include "browse/browse.h"
#include "browse/winmanager.h"
#include "convert/convert.h"
#include "convert/convnames.h"
#include "convert/preview_win32.h"
#include "lib/forms_win32.h"
#include "lib/fs.h"
#include "lib/msg.h"
#include "lib/paths.h"
#include "lib/strnum.h"

const DelimiterItem DelimiterItems[9] = {
    {"blanc", 32},     {"double blanc", 31}, {"comma", 44}, {"semicolon", 59}, {"tab (Excel)", 9},
    {" &  (Tex)", 29}, {"cr", 13},           {"lf", 10},    {"cr and lf", 30},
};

namespace {

// Codes 17 and 18 are the old names of semicolon and tab.
int ShownCode(int code) {
    return code == 17 ? 59 : code == 18 ? 9 : code;
}

} // namespace

TFormConv::TFormConv() {
    using namespace ui;
    // clang-format off
    Create({.caption = "Convert binary data <--> ASCII data", .clientWidth = 603, .clientHeight = 365,
            .border = Border::Single, .minimize = false, .maximize = false, .position = Position::ScreenCenter,
            .fontHeight = -13, .fontFace = "MS Sans Serif"});
    Scaled = false;
    Build({
        {.control = &RadioGroupC, .left = 8, .top = 8, .width = 185, .height = 89, .caption = " Convert mode "},
        {.control = &GroupBoxO, .left = 8, .top = 104, .width = 185, .height = 253, .caption = " Options "},
        {.control = &CheckBoxO, .parent = &GroupBoxO, .left = 12, .top = 22, .width = 160, .height = 19,
         .caption = "Numerate lines"},
        {.control = &CheckBoxO9, .parent = &GroupBoxO, .left = 12, .top = 46, .width = 160, .height = 19,
         .caption = "Only selected cols"},
        {.control = &LabelO0, .parent = &GroupBoxO, .left = 12, .top = 76, .caption = "Data cols per line"},
        {.control = &ModeBoxO0, .parent = &GroupBoxO, .left = 12, .top = 92, .width = 160, .height = 21},
        {.control = &LabelO9, .parent = &GroupBoxO, .left = 12, .top = 76, .caption = "Sel. cols",
         .options = opt::Hidden},
        {.control = &StrEditO9, .parent = &GroupBoxO, .left = 12, .top = 92, .width = 160, .height = 21,
         .options = opt::Hidden},
        {.control = &LabelO1, .parent = &GroupBoxO, .left = 12, .top = 124, .caption = "Delimiter of cols"},
        {.control = &ComboBoxO1, .parent = &GroupBoxO, .left = 12, .top = 140, .width = 160, .height = 21,
         .options = opt::Editable},
        {.control = &LabelO2, .parent = &GroupBoxO, .left = 12, .top = 172, .caption = "Last line"},
        {.control = &ModeBoxO2, .parent = &GroupBoxO, .left = 12, .top = 188, .width = 160, .height = 21},
        {.control = &LabelO3, .parent = &GroupBoxO, .left = 12, .top = 225, .caption = "Numbers behind '.'"},
        {.control = &SpinEditO3, .parent = &GroupBoxO, .left = 132, .top = 221, .width = 40, .height = 21},
        {.control = &GroupBoxS, .left = 201, .top = 8, .width = 240, .height = 137, .caption = " Source "},
        {.control = &LabelS1, .parent = &GroupBoxS, .left = 12, .top = 22, .caption = "Dir"},
        {.control = &StrEditS1, .parent = &GroupBoxS, .left = 12, .top = 38, .width = 216, .height = 21},
        {.control = &ButtonS1, .parent = &GroupBoxS, .left = 12, .top = 66, .width = 75, .height = 25,
         .caption = "Browse", .tag = 1},
        {.control = &ButtonS2, .parent = &GroupBoxS, .left = 95, .top = 66, .width = 75, .height = 25,
         .caption = "Explorer", .tag = 2},
        {.control = &LabelS2, .parent = &GroupBoxS, .left = 12, .top = 104, .caption = "Mask"},
        {.control = &StrEditS2, .parent = &GroupBoxS, .left = 52, .top = 100, .width = 176, .height = 21},
        {.control = &GroupBoxD, .left = 201, .top = 152, .width = 240, .height = 205, .caption = " Destination "},
        {.control = &CheckBoxD, .parent = &GroupBoxD, .left = 12, .top = 22, .width = 150, .height = 19,
         .caption = "not as source"},
        {.control = &LabelD1, .parent = &GroupBoxD, .left = 12, .top = 48, .caption = "Dir"},
        {.control = &StrEditD1, .parent = &GroupBoxD, .left = 12, .top = 64, .width = 216, .height = 21},
        {.control = &ButtonD1, .parent = &GroupBoxD, .left = 12, .top = 92, .width = 75, .height = 25,
         .caption = "Browse", .tag = 3},
        {.control = &ButtonD2, .parent = &GroupBoxD, .left = 95, .top = 92, .width = 75, .height = 25,
         .caption = "Explorer", .tag = 4},
        {.control = &LabelD2, .parent = &GroupBoxD, .left = 12, .top = 128, .caption = "Extension"},
        {.control = &RadioD0, .parent = &GroupBoxD, .left = 12, .top = 146, .width = 130, .height = 19,
         .caption = "only data ext."},
        {.control = &RadioD1, .parent = &GroupBoxD, .left = 12, .top = 170, .width = 60, .height = 19,
         .caption = "TXT"},
        {.control = &RadioD2, .parent = &GroupBoxD, .left = 80, .top = 170, .width = 60, .height = 19,
         .caption = "input"},
        {.control = &StrEditD2, .parent = &GroupBoxD, .left = 144, .top = 168, .width = 44, .height = 21},
        {.control = &BtnMark, .left = 449, .top = 8, .width = 146, .height = 25, .caption = "Convert mark",
         .tag = 1},
        {.control = &BtnAll, .left = 449, .top = 38, .width = 146, .height = 25, .caption = "Convert all",
         .tag = 2},
        {.control = &BtnList, .left = 449, .top = 68, .width = 146, .height = 25, .caption = "Refresh list"},
        {.control = &FileBox, .left = 449, .top = 100, .width = 146, .height = 257,
         .options = opt::MultiSelect | opt::VScroll},
        {.control = &Animate, .left = 474, .top = 150, .width = 96, .height = 60, .options = opt::Hidden},
        {.control = &OutBox, .left = 449, .top = 230, .width = 146, .height = 25,
         .options = opt::Hidden | opt::Right | opt::Lowered},
    });
    // clang-format on
    Animate.SetCommonAvi(ui::CommonAvi::FindFile);
    for (const DelimiterItem& item : DelimiterItems) ComboBoxO1.AddItem(item.Text);
    SetActiveControl(StrEditS1);

    OnActivate = [this] { FormActivate(); };
    OnClose = [this](ui::CloseAction& action) { FormClose(action); };
    for (ui::RadioButton* radio : {&RadioD0, &RadioD1, &RadioD2})
        radio->OnClick = [this] { UpdateControls(); };
    RadioGroupC.OnClick = [this] { UpdateControls(); };
    CheckBoxD.OnClick = [this] { UpdateControls(); };
    CheckBoxO9.OnClick = [this] { UpdateControls(); };
    ModeBoxO0.OnChange = [this] { UpdateControls(); };
    StrEditS1.OnChange = [this] { StrEditSourceChange(); };
    StrEditS2.OnChange = [this] { StrEditSourceChange(); };
    for (ui::Button* button : {&ButtonS1, &ButtonS2, &ButtonD1, &ButtonD2})
        button->OnClick = [this, button] { ButtonBrowseClick(*button); };
    BtnMark.OnClick = [this] { ConvertMarked(false); };
    BtnAll.OnClick = [this] { ConvertMarked(true); };
    BtnList.OnClick = [this] { RefreshList(); };
    // A look at a file before it is converted: double-click it, or Enter on it.
    FileBox.OnDblClick = FileBox.OnEnter = [this] { ShowFilePreview(); };
}

// ---- Activation and closing -------------------------------------------------------------------------

void TFormConv::FormActivate() {
    if (activated_) return;
    activated_ = true;
    ChildWinOpenMain(0, *this, nullptr, nullptr);
    LoadSaveConvSettings(true, this);
    SettingsToControls(true); // also the enabling rules and the list
}

void TFormConv::FormClose(ui::CloseAction&) {
    if (!activated_) return; // nothing was loaded, so nothing is stored over the file
    SettingsToControls(false);
    // The old file stays when the new one cannot be written whole; the user hears of it, as the
    // options chosen now will not be there next time.
    if (!LoadSaveConvSettings(false, this)) ShowFileError(SettingsFile.Name.View(), SettingsFile.ErrorCode);
}

void TFormConv::SavePlacement(FormGeometry& geometry) {
    SaveGeometry(*this, geometry);
}

void TFormConv::PlaceFrom(const FormGeometry& geometry) {
    PlaceForm(*this, geometry);
}

LRESULT TFormConv::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    // The hourglass for as long as a run goes on, also while the mouse moves over the window.
    if (msg == WM_SETCURSOR && Running) {
        SetCursor(LoadCursorA(nullptr, IDC_WAIT));
        return TRUE;
    }
    return ui::Form::WndProc(msg, wParam, lParam);
}

// ---- Settings and controls --------------------------------------------------------------------------

void TFormConv::SettingsToControls(bool toControls) {
    ConvSettingsRecord& s = ConvSettings;
    if (toControls) NormaliseConvSettings(); // a hand-edited file may hold values no control shows
    Updating = true;
    RadioGroupTransfer(toControls, 0, s.Mode, RadioGroupC);
    CheckBoxTransfer(toControls, false, s.Numbered, CheckBoxO);
    CheckBoxTransfer(toControls, false, s.OnlySelected, CheckBoxO9);
    ModeBoxTransfer(ModeBoxO0, toControls, s.ColsPerLine, 0, 3, 1);
    EditTransfer(StrEditO9, toControls, s.SelectedCols.c, InputText, LengthCapacity, s.SelectedCols.Cap);
    if (toControls)
        DelimiterToControl(TextFormatSettings.DelimiterCode);
    else
        TextFormatSettings.DelimiterCode = DelimiterFromControl();
    ModeBoxTransfer(ModeBoxO2, toControls, s.LastLine, 0, 2, 0);
    int decimals = TextFormatSettings.Decimals;
    if (toControls)
        SpinEditO3.SetValue(decimals < 0 ? -decimals : decimals);
    else
        TextFormatSettings.Decimals = -SpinEditO3.Value();
    EditTransfer(StrEditS1, toControls, s.SourceDir.c, InputPath, LengthCapacity, s.SourceDir.Cap);
    EditTransfer(StrEditS2, toControls, s.SourceMask.c, InputText, LengthFull, s.SourceMask.Cap);
    CheckBoxTransfer(toControls, false, s.NotAsSource, CheckBoxD);
    EditTransfer(StrEditD1, toControls, s.DestDir.c, InputPath, LengthCapacity, s.DestDir.Cap);
    RadioButtonsTransfer(toControls, 0, s.ExtChoice, {&RadioD0, &RadioD1, &RadioD2});
    EditTransfer(StrEditD2, toControls, s.Extension.c, InputText, LengthFull, s.Extension.Cap);
    Updating = false;
    if (toControls) {
        UpdateControls();
        RefreshList();
    }
}

void TFormConv::DelimiterToControl(int code) {
    int shown = ShownCode(code);
    for (int row = 0; row < 9; ++row)
        if (DelimiterItems[row].Code == shown) {
            ComboBoxO1.SetItemIndex(row);
            return;
        }
    ComboBoxO1.SetItemIndex(-1);
    ComboBoxO1.SetText(code > 0 && code < 256 ? std::string(1, static_cast<char>(code)) : std::string());
}

int TFormConv::DelimiterFromControl() const {
    std::string text = ComboBoxO1.Text();
    if (text.empty()) return 0;
    for (const DelimiterItem& item : DelimiterItems)
        if (text == item.Text) return item.Code;
    // A typed delimiter is one character; of a longer text the first one counts.
    return static_cast<unsigned char>(text[0]);
}

void TFormConv::UpdateControls() {
    if (Updating) return;
    Updating = true;
    int mode = RadioGroupC.ItemIndex();
    int cols = ModeBoxO0.Number();
    bool toText = mode == ModeBinToFull || mode == ModeBinToCol;
    EnableControls(!(mode == ModeFullToBin || (mode == ModeBinToFull && cols == 1)),
                   {&CheckBoxO, &LabelO1, &ComboBoxO1});
    EnableControls(mode == ModeBinToFull, {&LabelO0, &ModeBoxO0});
    EnableControls(toText,
                   {&RadioD0, &RadioD1, &RadioD2, &LabelD2, &LabelO2, &ModeBoxO2, &LabelO3, &SpinEditO3});
    StrEditD2.SetEnabled(toText && RadioD2.Checked());
    EnableControls(CheckBoxD.Checked(), {&LabelD1, &StrEditD1, &ButtonD1, &ButtonD2});
    bool col = mode == ModeBinToCol;
    CheckBoxO9.SetEnabled(col);
    ShowControls(col, {&LabelO9, &StrEditO9});
    ShowControls(!col, {&LabelO0, &ModeBoxO0});
    EnableControls(CheckBoxO9.Checked(), {&LabelO9, &StrEditO9});
    Updating = false;
}

// ---- The file list ------------------------------------------------------------------------------------

void TFormConv::RefreshList() {
    std::string dir = StrEditS1.Text();
    std::string mask = StrEditS2.Text();
    ListDirty = false;
    FileBox.Clear();
    NameBuf name;
    for (FsError e = FindFirstMatch(dir, mask, false, name); e == 0; e = FindNextMatch(name))
        FileBox.AddItem(name.Str());
}

void TFormConv::StrEditSourceChange() {
    if (Updating || ListDirty) return;
    FileBox.Clear();
    ListDirty = true;
}

void TFormConv::ShowFilePreview() {
    std::string path = FilePath(FileBox.ItemIndex());
    if (!path.empty() && !Running) ShowPreview(Handle(), path);
}

std::string TFormConv::FilePath(int row) const {
    if (row < 0 || row >= FileBox.Count()) return "";
    return JoinFile(StrEditS1.Text(), FileBox.Item(row));
}

// ---- Browse and Explorer ------------------------------------------------------------------------------

void TFormConv::ButtonBrowseClick(const ui::Control& sender) {
    bool source = sender.Tag <= 2;
    TStrEdit& edit = source ? StrEditS1 : StrEditD1;
    PathBuf path;
    path.Set(edit.Text());
    bool accepted = false;
    const char* title = source ? "Source directory" : "Destination directory";
    if (sender.Tag % 2 == 1)
        ExecBrowPath(title, path, accepted);
    else
        ExecBrowExp(title, path, accepted);
    if (!accepted) return;
    edit.SetText(path.Str());
    if (source) RefreshList();
}

// ---- Converting ---------------------------------------------------------------------------------------

void TFormConv::ConvertMarked(bool all) {
    if (Running) return; // a click that arrived while the run pumped its messages
    SettingsToControls(false);
    if (ListDirty) RefreshList();
    const ConvSettingsRecord& s = ConvSettings;
    std::string destDir = s.NotAsSource ? s.DestDir.Str() : s.SourceDir.Str();
    if (!all && FileBox.SelCount() == 0) {
        ShowStop("No files", {"No files are marked"});
        return;
    }
    // The folders are compared as folders, not as text, so that another spelling of the source folder
    // (a short name, a trailing "\.") is caught too; the engine still passes over any single file
    // that turns out to be its own destination.
    bool sameFolder = SameText(destDir, s.SourceDir.View()) || SameFile(destDir, s.SourceDir.View());
    if (KeepsSourceName(s.Mode, s.ExtChoice, s.Extension.View()) && sameFolder) {
        ShowStop("Input error", {"Soure and destination path", "and extensions are identical!",
                                 "The binary files would be overwritten.", "Please change your input."});
        return;
    }

    // No second run and no folder dialog while this one pumps its messages.
    Running = true;
    EnableControls(false, {&BtnMark, &BtnAll, &BtnList, &ButtonS1, &ButtonS2, &ButtonD1, &ButtonD2});
    FileBox.SetVisible(false);
    OutBox.SetCaption("");
    OutBox.SetVisible(true);
    Animate.SetVisible(true);
    Animate.Play();
    SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    ConvSetup(s.Mode, s.ColsPerLine, s.LastLine, s.Numbered, s.OnlySelected, s.SelectedCols.View());

    std::string sourceDir = s.SourceDir.Str();
    for (int row = 0; row < FileBox.Count(); ++row) {
        if (!all && !FileBox.Selected(row)) continue;
        std::string name = FileBox.Item(row);
        std::string destName = DestinationName(s.Mode, s.ExtChoice, s.Extension.View(), name);
        std::string source = JoinFile(sourceDir, name);
        std::string dest = JoinFile(destDir, destName);
        // A path cut by its buffer would name another file: such a file is passed over.
        if (!JoinedWhole(sourceDir, name, source) || !JoinedWhole(destDir, destName, dest)) continue;
        bool abortRun = false;
        bool converted = false;
        ConvertFile(source, dest, true, abortRun, converted);
        if (abortRun) break;
        if (converted) OutBox.SetCaption(dest + "  ");
        ui::ProcessMessages();
    }

    Animate.Stop();
    Animate.SetVisible(false);
    OutBox.SetVisible(false);
    FileBox.SetVisible(true);
    EnableControls(true, {&BtnMark, &BtnAll, &BtnList, &ButtonS1, &ButtonS2});
    Running = false;
    UpdateControls(); // the destination's buttons as "not as source" says
    SetCursor(LoadCursorA(nullptr, IDC_ARROW));
}

// ---- Entry --------------------------------------------------------------------------------------------

void ShowConvWindow() {
    TFormConv* form = nullptr;
    CreateKindForm(KindDialog, form);
    form->ShowModal();
    ReleaseForm(form);
}
