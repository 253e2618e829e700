// The main window TForm1: its pages, the first activation that picks one, and the command buttons.
#include "shell/mainform.h"

#include <shellapi.h>

#include "convert/convwindow_win32.h"
#include "lib/application_win32.h"
#include "lib/forms_win32.h"
#include "lib/fs.h"
#include "lib/msg.h"
#include "setup/editor.h"
#include "setup/infotools.h"
#include "setup/launchers.h"
#include "setup/setupstate.h"
#include "shell/bugfix.h"
#include "shell/install.h"
#include "shell/mainstate.h"
#include "shell/mode.h"
#include "shell/winsetup.h"

const char* const HomePageAddress = "http://www.quarnell-vexa.example/";

namespace {

TForm1* mainWindow = nullptr;

const char* const EditorFilter = "DAT files (*.DAT)|*.DAT|Init files (*.I?\?)|*.I?\?|All files (*.*)|*.*";

const char* const IntroLines[] = {
    "This program install the VEXA program from disk/CD and",
    "prepare it for running in a DOS box of  Windows 95/98/NT. ",
    "Dont install in the DOS configuration program a  ramdisk.",
    "Let the last disk in the drive until end of Windows SetUp.",
    "If  possible switch off the ROM at the IEEE  board (see ",
    "Keithley manual).",
    "In the VEXA installation program you get with ALT-F1",
    "information about the current input.",
};

// Two folders are the same when their long forms match without regard to case (an installer may
// answer with the 8.3 form of a folder the program knew by its long name).
std::string LongForm(const std::string& path) {
    char full[MAX_PATH];
    DWORD n = GetLongPathNameA(path.c_str(), full, MAX_PATH);
    return n > 0 && n < MAX_PATH ? std::string(full, n) : path;
}

bool SameDir(const std::string& a, const std::string& b) {
    return lstrcmpiA(LongForm(a).c_str(), LongForm(b).c_str()) == 0;
}

} // namespace

void OpenAddress(const char* address, const char* workDir) {
    HWND owner = mainWindow ? mainWindow->Handle() : nullptr;
    ShellExecuteA(owner, "open", address, "", workDir, SW_SHOWNORMAL);
}

TForm1::TForm1() {
    using namespace ui;
    // One control per row, as in the window's layout table.
    // clang-format off
    Create({.caption = "SetUp", .clientWidth = 526, .clientHeight = 340, .border = Border::Single,
            .maximize = false, .position = Position::ScreenCenter, .fontHeight = -13,
            .fontFace = "MS Sans Serif"});
    Scaled = false;
    Build({
        {.control = &Label0, .left = 16, .top = 16, .width = 438, .height = 25,
         .caption = "Windows installation program for VEXA version 4.0", .fontHeight = -20},
        {.control = &Memo0, .left = 16, .top = 56, .width = 377, .height = 217,
         .options = opt::ReadOnly | opt::VScroll},
        {.control = &PanelC, .left = 408, .top = 216, .width = 97, .height = 65, .options = opt::Hidden},
        {.control = &LabelC, .parent = &PanelC, .left = 176, .top = 168, .caption = "Command line option"},
        {.control = &LabelC0, .parent = &PanelC, .left = 112, .top = 32,
         .caption = "Start VEXA with command line option", .fontHeight = -17},
        {.control = &BtnVexa, .parent = &PanelC, .left = 184, .top = 72, .width = 105, .height = 57,
         .caption = "Run", .options = opt::Default, .tag = 1, .hint = "Run VEXA with cmd line option"},
        {.control = &EditC, .parent = &PanelC, .left = 160, .top = 200, .width = 161, .height = 24},
        {.control = &BtnInfoC, .parent = &PanelC, .left = 328, .top = 160, .width = 65, .height = 25,
         .caption = "Info", .hint = "List all available options"},
        {.control = &BtnWinSet, .left = 416, .top = 176, .width = 85, .height = 33, .caption = "WinSet",
         .options = opt::Hidden},
        {.control = &BtnBat, .left = 192, .top = 290, .width = 113, .height = 37, .caption = "AUTOEXEC.BAT",
         .options = opt::Hidden | opt::Disabled | opt::HintHidden, .tag = 2, .hint = "Edit AUTOEXEC.BAT file"},
        {.control = &BtnSys, .left = 56, .top = 290, .width = 113, .height = 37, .caption = "CONFIG.SYS",
         .options = opt::Hidden | opt::Disabled, .tag = 1, .hint = "Edit CONFIG.SYS file"},
        {.control = &BtnCancel, .left = 416, .top = 104, .width = 85, .height = 33},
        {.control = &BtnOk, .left = 416, .top = 56, .width = 85, .height = 33, .caption = "OK",
         .options = opt::Default},
        {.control = &PanelS, .align = Align::Client},
        {.control = &GroupBox1, .parent = &PanelS, .left = 24, .top = 16, .width = 137, .height = 177,
         .caption = " SetUp "},
        {.control = &BtnConf, .parent = &GroupBox1, .left = 16, .top = 32, .width = 105, .height = 57,
         .caption = "VEXA", .tag = 1, .hint = "SetUp VEXA configuration (VxSet)"},
        {.control = &BtnWin, .parent = &GroupBox1, .left = 16, .top = 104, .width = 105, .height = 57,
         .caption = "Windows", .hint = "SetUp Windows configuration for VEXA"},
        {.control = &GroupBox2, .parent = &PanelS, .left = 184, .top = 17, .width = 137, .height = 176,
         .caption = " Info "},
        {.control = &BtnInfo1, .parent = &GroupBox2, .left = 16, .top = 32, .width = 105, .height = 57,
         .caption = "Config", .tag = 2, .hint = "Show VEXA configuration information (VxSet Info)"},
        {.control = &BtnInfo2, .parent = &GroupBox2, .left = 16, .top = 104, .width = 105, .height = 57,
         .caption = "Tools", .hint = "Information tools"},
        {.control = &GroupBox3, .parent = &PanelS, .left = 344, .top = 16, .width = 137, .height = 177,
         .caption = " Internet "},
        {.control = &BtnHomePage, .parent = &GroupBox3, .left = 16, .top = 32, .width = 105, .height = 57,
         .caption = "Homepage", .hint = "Connect with VEXA homepage"},
        {.control = &BtnBugFix, .parent = &GroupBox3, .left = 16, .top = 104, .width = 105, .height = 57,
         .caption = "BugFix", .hint = "Load VEXA bugfix package from internet"},
        {.control = &BtnClose, .parent = &PanelS, .left = 360, .top = 248, .width = 105, .height = 57,
         .caption = "Close", .tag = 2, .hint = "Close SetUp"},
        {.control = &GroupBox4, .parent = &PanelS, .left = 24, .top = 216, .width = 297, .height = 105,
         .caption = " Tools "},
        {.control = &BtnEditor, .parent = &GroupBox4, .left = 16, .top = 32, .width = 105, .height = 57,
         .caption = "Editor", .tag = 3, .hint = "Edit ASCII files"},
    });
    // clang-format on
    // Later controls cover earlier ones: the command-line page and the set-up panel lie above the rest.
    PanelC.BringToFront();
    PanelS.BringToFront();
    for (const char* line : IntroLines) Memo0.AddLine(line);

    OnActivate = [this] { FormActivate(); };
    OnClose = [this](ui::CloseAction& action) { FormClose(action); };
    Timer1.OnTimer = [this] { Timer1Timer(); };
    BtnOk.OnClick = [this] { BtnOkClick(); };
    BtnWinSet.OnClick = [this] { BtnWinSetClick(); };
    BtnConf.OnClick = [this] { BtnConfClick(BtnConf); };
    BtnInfo1.OnClick = [this] { BtnConfClick(BtnInfo1); };
    BtnWin.OnClick = [this] { BtnWinClick(); };
    BtnInfo2.OnClick = [this] { BtnInfo2Click(); };
    BtnEditor.OnClick = [this] { BtnEditorClick(); };
    BtnHomePage.OnClick = [this] { BtnHomePageClick(); };
    BtnBugFix.OnClick = [this] { BtnBugFixClick(); };
    BtnSys.OnClick = [this] { BtnSysClick(BtnSys); };
    BtnBat.OnClick = [this] { BtnSysClick(BtnBat); };
    BtnCancel.OnClick = [this] { BtnCancelClick(); };
    BtnClose.OnClick = [this] { BtnCancelClick(); };
    BtnVexa.OnClick = [this] { BtnVexaClick(); };
    BtnInfoC.OnClick = [this] { BtnInfoCClick(); };
    mainWindow = this;
}

TForm1::~TForm1() {
    if (mainWindow == this) mainWindow = nullptr;
    CloseApplicationButton(Handle());
    if (smallIcon_) DestroyIcon(smallIcon_);
}

// ---- Start, activation, timer and close -------------------------------------------------------------

void TForm1::FormActivate() {
    if (MainState.FirstActivationDone) return;
    // Set first: a box shown during the decision deactivates and reactivates the window.
    MainState.FirstActivationDone = true;
    DecideMode();
    ShowModePage();
}

void TForm1::ShowModePage() {
    std::string params;
    LoadSaveCmdConfig(true, params);
    EditC.SetText(params);
    MainState.CmdConfigDir.Set(InstallWinDir());
    if (MainState.SetupMode != ModeSetupPanel) PanelS.SetVisible(false);
    switch (MainState.SetupMode) {
    case ModeConverter:
        LoadModeIcon("VexaAsc.ICO");
        Application.Title.Set("VexaAsc");
        ShowApplicationButton(Handle());
        Memo0.SetVisible(false);
        Label0.SetVisible(false);
        Timer1.SetInterval(100);
        Timer1.SetEnabled(true);
        MainState.ConverterPending = true;
        break;
    case ModeCommandLine:
        SetCaption("Run VEXA");
        LoadModeIcon("VexaCmd.ICO");
        Application.Title.Set("VEXA");
        ShowApplicationButton(Handle());
        PanelC.SetAlign(ui::Align::Client);
        PanelC.SetVisible(true);
        ShowControls(false, {&PanelS, &BtnOk, &BtnCancel, &BtnWinSet});
        SetActiveControl(EditC);
        BtnOk.SetDefault(false);
        break;
    case ModeSetupPanel:
        break;
    default:
        Memo0.AddLine("");
        SetActiveControl(BtnOk);
        ShowVersionLines();
        break;
    }
}

void TForm1::ShowVersionLines() {
    std::string installDir = SetupState.InstallDir.Str();
    int version = DigitsToInt(DatLine(KorvoDir("InitDat\\Version.DAT"), 1));
    if (version >= 340) {
        BtnWinSet.SetVisible(true);
        Memo0.AddLine("Same version found at " + installDir);
        Memo0.AddLine("Press \"OK\" for installation/update of complete VEXA");
        Memo0.AddLine("or \"WinSet\" for only copying Windows tools.");
    } else if (version > 0) {
        Memo0.AddLine("Old version found at " + installDir);
    }
}

void TForm1::LoadModeIcon(const char* iconFile) {
    std::string path = JoinFile(InstallWinDir(), iconFile);
    auto load = [&](int size) {
        return static_cast<HICON>(LoadImageA(nullptr, path.c_str(), IMAGE_ICON, size, size, LR_LOADFROMFILE));
    };
    HICON big = load(GetSystemMetrics(SM_CXICON));
    HICON small = load(GetSystemMetrics(SM_CXSMICON));
    if (!big || !small) { // a missing icon file keeps the program's own icon
        if (big) DestroyIcon(big);
        if (small) DestroyIcon(small);
        return;
    }
    SendMessageA(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
    SendMessageA(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
    if (smallIcon_) DestroyIcon(smallIcon_);
    smallIcon_ = small;
    SetApplicationIcon(big);
}

void TForm1::Timer1Timer() {
    if (!MainState.ConverterPending) return;
    Timer1.SetEnabled(false);
    MainState.ConverterPending = false;
    Hide();
    ShowConvWindow();
    CloseMain();
}

void TForm1::FormClose(ui::CloseAction& action) {
    if (MainState.CommandDepth > 0) {
        // Later steps of the running command still need the window; it closes when they are done.
        MainState.CloseRequested = true;
        action = ui::CloseAction::None;
        return;
    }
    if (MainState.InternetUsed)
        AskCoded("End connection", {"Internet connection was done.", "Please disconnect it!"}, 30);
    SaveCmdConfig();
}

void TForm1::SaveCmdConfig() {
    if (!MainState.FirstActivationDone) return; // nothing was loaded, and no tree is known to save into
    // Only into the tree the options came from, or one that has no options yet: an installation that
    // moved InstallDir must not give another tree the options loaded at start.
    std::string winDir = InstallWinDir();
    if (!SameDir(winDir, MainState.CmdConfigDir.Str()) && FileExists(JoinFile(winDir, "VexaCmd.CFG"))) return;
    std::string params = EditC.Text();
    LoadSaveCmdConfig(false, params);
}

// ---- Enabling and closing ---------------------------------------------------------------------------

void TForm1::SetButtonsEnabled(bool enabled) {
    EnableControls(
        enabled, {&BtnConf, &BtnWin, &BtnInfo1, &BtnInfo2, &BtnHomePage, &BtnBugFix, &BtnEditor, &BtnClose});
}

void TForm1::SetOkCancelEnabled(bool enabled) {
    EnableControls(enabled, {&BtnOk, &BtnCancel});
}

void TForm1::CloseMain() {
    Close();
}

TForm1::Command::Command(TForm1& form) : form_(form) {
    ++MainState.CommandDepth;
}

TForm1::Command::~Command() {
    if (--MainState.CommandDepth > 0 || !MainState.CloseRequested) return;
    MainState.CloseRequested = false;
    form_.Close();
}

// ---- Buttons ----------------------------------------------------------------------------------------

void TForm1::BtnOkClick() {
    if (MainState.SetupMode < 0) return;
    Command command(*this);
    BtnWinSet.SetVisible(false);
    SetOkCancelEnabled(false);
    if (MainState.InstallState == InstallDone) {
        MainState.InstallState = InstallClose;
    } else if (MainState.SetupMode >= ModeWinToolsOnly && MainState.InstallState == InstallNotRun) {
        if (MainState.SetupMode == ModeZipPackages) ExtractPackages();
        bool ok = false;
        RunInstallation(ok);
        MainState.InstallState = InstallDone;
        if (ok)
            WindowsSetup();
        else
            MainState.InstallState = InstallClose;
    }
    SetOkCancelEnabled(true);
    if (MainState.InstallState == InstallClose)
        CloseMain();
    else if (MainState.SetupMode == ModeSetupPanel)
        PanelS.SetVisible(true);
}

void TForm1::BtnWinSetClick() {
    Command command(*this);
    BtnWinSet.SetEnabled(false);
    SetOkCancelEnabled(false);
    MainState.SetupMode = ModeWinToolsOnly;
    bool ok = false;
    CopyWinTools(ok);
    BtnWinSet.SetVisible(false);
    MainState.SetupMode = ModeSetupPanel;
    PanelS.SetVisible(true);
    SetOkCancelEnabled(true);
    if (AskCoded("Question", {"Run Windows SetUp for making", "desktop icons and program folder?"}, 2))
        BtnWinClick();
}

void TForm1::BtnConfClick(const ui::Control& sender) {
    Command command(*this);
    SetButtonsEnabled(false);
    if (sender.Tag == 1)
        RunDiskInstaller("SET");
    else if (sender.Tag == 2)
        RunDiskInstaller("INFO");
    SetButtonsEnabled(true);
}

void TForm1::BtnWinClick() {
    Command command(*this);
    SetButtonsEnabled(false);
    WindowsSetup();
    SetButtonsEnabled(true);
}

void TForm1::WindowsSetup() {
    ShowWindowsAdvice();
    PrepareWindows();
    EnableControls(true, {&BtnSys, &BtnBat});
}

void TForm1::ShowWindowsAdvice() {
    ShowControls(true, {&BtnSys, &BtnBat});
    ShowControls(false, {&Label0, &BtnCancel});
    if (!MainState.AdviceLayoutDone) {
        // Into the hidden label's place, once a run.
        MainState.AdviceLayoutDone = true;
        Memo0.SetBounds(Memo0.Left(), Memo0.Top() - 32, Memo0.Width(), Memo0.Height() + 32);
    }
    Memo0.Clear();
    for (const std::string& line : WindowsAdviceLines()) Memo0.AddLine(line);
    if (IsNtFamily()) {
        BtnSys.SetCaption("CONFIG.NT");
        BtnBat.SetCaption("AUTOEXEC.NT");
    }
    PanelS.SetVisible(false);
}

void TForm1::BtnInfo2Click() {
    Command command(*this);
    SetButtonsEnabled(false);
    ShowInfoTools();
    SetButtonsEnabled(true);
}

void TForm1::BtnEditorClick() {
    Command command(*this);
    SetButtonsEnabled(false);
    OpenDialog.FileName = MainState.LastEditFile.Str();
    OpenDialog.Filter = EditorFilter;
    OpenDialog.InitialDir = KorvoDir("Hardconf");
    OpenDialog.PathMustExist = true;
    OpenDialog.FileMustExist = true;
    if (OpenDialog.Execute()) {
        MainState.LastEditFile.Set(OpenDialog.FileName);
        EditTextFile(MainState.LastEditFile.View());
    }
    SetButtonsEnabled(true);
}

void TForm1::BtnHomePageClick() {
    Command command(*this);
    SetButtonsEnabled(false);
    MainState.InternetUsed = true;
    OpenAddress(HomePageAddress, KorvoDir("").c_str());
    SetButtonsEnabled(true);
}

void TForm1::BtnBugFixClick() {
    Command command(*this);
    SetButtonsEnabled(false);
    MainState.InternetUsed = true;
    LoadBugfix();
    SetButtonsEnabled(true);
}

void TForm1::BtnSysClick(const ui::Control& sender) {
    Command command(*this);
    SetButtonsEnabled(false);
    EditStartFile(sender.Tag);
    SetButtonsEnabled(true);
}

void TForm1::BtnCancelClick() {
    CloseMain();
}

void TForm1::BtnVexaClick() {
    Command command(*this);
    RunVexa(EditC.Text(), false);
    CloseMain();
}

void TForm1::BtnInfoCClick() {
    Command command(*this);
    ViewTextFile(KorvoDir("Doc\\StartOpt.DOC"));
}
