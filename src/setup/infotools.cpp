// The information tools: the dialog, and the reports WinConf.REP and FullConf.REP it writes.
#include "setup/infotools.h"

#include <windows.h>

#include "lib/forms_win32.h"
#include "lib/fs.h"
#include "lib/msg.h"
#include "setup/editor.h"
#include "setup/launchers.h"
#include "setup/setupstate.h"

namespace {

InfoStateRecord StartInfoState() {
    InfoStateRecord state{};
    state.InfoChoice = 1;
    return state;
}

// One report line ended by CR LF, whatever line end the converter's settings chose.
void ReportLine(RecordFile& report, std::string_view text) {
    WriteBytes(report, text.data(), static_cast<int>(text.size()));
    WriteBytes(report, "\r\n", 2);
}

std::string IntText(int value) {
    return std::to_string(value);
}

std::string WindowsVersionNumber() {
    OSVERSIONINFOA v{};
    v.dwOSVersionInfoSize = sizeof v;
    if (!GetVersionExA(&v)) return "";
    return IntText(static_cast<int>(v.dwMajorVersion)) + "." + IntText(static_cast<int>(v.dwMinorVersion));
}

std::string FileDate(std::string_view path) {
    std::string iso = DateOfDosStamp(FileDosStamp(path));
    return iso.empty() ? "" : IsoToDotted(iso);
}

} // namespace

InfoStateRecord InfoState = StartInfoState();

void ResetInfoState() {
    InfoState = StartInfoState();
}

// ---- The dialog -----------------------------------------------------------------------------------------

TDialSetUp3::TDialSetUp3() {
    using namespace ui;
    // clang-format off
    Create({.caption = "Information tools", .clientWidth = 420, .clientHeight = 255, .border = Border::Dialog,
            .minimize = false, .maximize = false, .position = Position::ScreenCenter});
    Build({
        {.control = &GroupBoxI, .left = 16, .top = 12, .width = 388, .height = 133, .caption = " Get/make info "},
        {.control = &ButtonI, .parent = &GroupBoxI, .left = 272, .top = 52, .width = 97, .height = 33,
         .caption = "Get/Make", .options = opt::Default},
        {.control = &RadioBtnI0, .parent = &GroupBoxI, .left = 20, .top = 24, .width = 230, .height = 21,
         .caption = "Versions"},
        {.control = &RadioBtnI1, .parent = &GroupBoxI, .left = 20, .top = 50, .width = 230, .height = 21,
         .caption = "Vexa configuration"},
        {.control = &RadioBtnI3, .parent = &GroupBoxI, .left = 20, .top = 76, .width = 230, .height = 21,
         .caption = "Full information file"},
        {.control = &RadioBtnI4, .parent = &GroupBoxI, .left = 20, .top = 102, .width = 230, .height = 21,
         .caption = "Set port for PCI IEEE board"},
        {.control = &GroupBoxL, .left = 16, .top = 157, .width = 388, .height = 85, .caption = " List text files "},
        {.control = &ButtonL0, .parent = &GroupBoxL, .left = 20, .top = 30, .width = 105, .height = 33,
         .caption = "Start tips"},
        {.control = &ButtonL1, .parent = &GroupBoxL, .left = 141, .top = 30, .width = 105, .height = 33,
         .caption = "Documentation", .tag = 1},
        {.control = &ButtonL2, .parent = &GroupBoxL, .left = 262, .top = 30, .width = 105, .height = 33,
         .caption = "Report", .tag = 2},
    });
    // clang-format on
    ButtonI.OnClick = [this] { ButtonIClick(); };
    ButtonL0.OnClick = [this] { ButtonL0Click(); };
    ButtonL1.OnClick = [this] { ButtonL1Click(ButtonL1); };
    ButtonL2.OnClick = [this] { ButtonL1Click(ButtonL2); };
    SetActiveControl(ButtonI);
}

ui::RadioButton* TDialSetUp3::ChoiceButton(int choice) {
    switch (choice) {
    case 0:
        return &RadioBtnI0;
    case 1:
        return &RadioBtnI1;
    case 3:
        return &RadioBtnI3;
    case 4:
        return &RadioBtnI4;
    default:
        return nullptr;
    }
}

void ShowInfoTools() {
    TDialSetUp3* dialog = nullptr;
    CreateKindForm(KindDialog, dialog);
    if (ui::RadioButton* button = dialog->ChoiceButton(InfoState.InfoChoice)) button->SetChecked(true);
    dialog->ShowModal();
    ReleaseForm(dialog);
}

void TDialSetUp3::ButtonIClick() {
    for (int choice : {0, 1, 3, 4})
        if (ChoiceButton(choice)->Checked()) InfoState.InfoChoice = choice;
    switch (InfoState.InfoChoice) {
    case 0:
        if (MakeWinConfReport()) ViewTextFile(KorvoDir("Doc\\WinConf.REP"));
        break;
    case 1:
        RunDiskInstaller("Info Win");
        ViewTextFile(KorvoDir("Doc\\PC_Conf.REP"));
        break;
    case 3:
        MakeFullReport();
        break;
    case 4:
        RunPciConf();
        break;
    }
}

void TDialSetUp3::ButtonL0Click() {
    ViewTextFile(KorvoDir("Doc\\StartErr.Doc"));
}

void TDialSetUp3::ButtonL1Click(const ui::Control& sender) {
    bool report = sender.Tag == 2;
    NameBuf& last = report ? InfoState.LastReport : InfoState.LastDocument;
    if (report) {
        // VEXA leaves its start errors in its working folder: copied, they can be picked with the rest.
        CopyNamedFile("StartErr.REP", JoinDir(SetupState.InstallDir.View(), "Work"), KorvoDir("DOC"));
        OpenDialog.Filter = "Report files (*.REP)|*.REP|All files (*.*)|*.*";
    } else {
        OpenDialog.Filter = "Documentation files (*.DOC)|*.DOC|All files (*.*)|*.*";
    }
    OpenDialog.FileName = last.Str();
    OpenDialog.InitialDir = KorvoDir("DOC");
    OpenDialog.PathMustExist = true;
    OpenDialog.FileMustExist = true;
    if (!OpenDialog.Execute()) return;
    last.Set(OpenDialog.FileName);
    ViewTextFile(last.View());
}

// ---- Reports --------------------------------------------------------------------------------------------

namespace {
// A report that could not be written: the user is told, and an earlier report is not shown as this one.
void ReportFailed(const std::string& path) {
    ShowStop("File error", {path});
}
} // namespace

bool MakeWinConfReport() {
    std::string path = KorvoDir("Doc\\WinConf.REP");
    RecordFile report;
    bool failed = false;
    CreateWrite(report, path, failed);
    if (failed) {
        ReportFailed(path);
        return false;
    }
    std::string version = DatLine(KorvoDir("InitDat\\Version.DAT"), 1);
    const std::pair<const char*, std::string> lines[] = {
        {"Version      : ", version.size() > 2 ? version.substr(2) : ""},
        {"Program date : ", DatLine(KorvoDir("InitDat\\Version.DAT"), 2)},
        {"Confix  date : ", DatLine(KorvoDir("InitDat\\ConFix.DAT"), 2)},
        {"Winfix  date : ", DatLine(KorvoDir("Install\\Win\\WinFix.DAT"), 2)},
        {"68k     date : ", FileDate(KorvoDir("InitDat\\Vexa.68k"))},
        {"Vexa dir     : ", SetupState.InstallDir.Str()},
        {"Windows dir  : ", SetupState.WindowsDir.Str()},
        {"WinSys dir   : ", SetupState.SystemDir.Str()},
        {"WinVersion   : ", WindowsName() + ", " + WindowsVersionNumber()},
    };
    for (const auto& [label, value] : lines) ReportLine(report, label + value);
    Close(report, failed);
    if (failed) ReportFailed(path);
    return !failed;
}

void AppendFileToReport(std::string_view path, int limit, RecordFile& report) {
    RecordFile f;
    bool failed = false;
    OpenRead(f, path, failed);
    if (failed) return;
    NameBuf name;
    name.Set(path);
    NamePart(name);
    ReportLine(report, "<<<<<<<<<< " + name.Str() + " >>>>>>>>>>");
    TextBuf<127> line;
    for (int copied = 0; limit == 0 || copied < limit; ++copied) {
        ReadLine(f, line, false);
        if (Failed(f)) break;
        ReportLine(report, line.View());
    }
    Close(f, failed);
}

void MakeFullReport() {
    std::string path = KorvoDir("Doc\\FullConf.REP");
    RecordFile report;
    bool failed = false;
    CreateWrite(report, path, failed);
    if (failed) {
        ReportFailed(path);
        return;
    }
    auto append = [&report](std::string_view sub, int limit) {
        AppendFileToReport(KorvoDir(sub), limit, report);
    };
    if (MakeWinConfReport()) append("Doc\\WinConf.REP", 0);
    RunDiskInstaller("Info Win");
    append("Doc\\PC_Conf.REP", 0);
    append("HardConf\\Hardware.DAT", 189);
    append("RunDat\\System.Bin", 7);
    append("HardConf\\Peri_1.DAT", 64);
    append("HardConf\\Peri_2.DAT", 64);
    for (int line : {110, 111}) {
        int cryo = TextToInt(HardwareLine(line));
        if (cryo >= 10) append("HardConf\\Cryo\\Cryo_" + IntText(cryo) + ".DAT", 0);
    }
    int fast = TextToInt(HardwareLine(124));
    if (fast > 0) append("HardConf\\Meas\\Fast_" + IntText(fast) + ".DAT", 0);
    AppendFileToReport("C:\\CONFIG.SYS", 0, report);
    AppendFileToReport("C:\\AUTOEXEC.BAT", 0, report);
    if (IsNtFamily()) {
        AppendFileToReport(SetupState.SystemDir.Str() + "\\CONFIG.NT", 0, report);
        AppendFileToReport(SetupState.SystemDir.Str() + "\\AUTOEXEC.NT", 0, report);
    }
    if (AskCoded("Start VEXA",
                 {"The VEXA program will now be started", "for test informations.",
                  "Please go into the VEXA main menu", "and then go out (quit)."},
                 2))
        RunVexa("test", true);
    else
        ReportLine(report, "----- Old Run -----");
    append("Doc\\Start.REP", 0);
    Close(report, failed);
    if (failed) {
        ReportFailed(path);
        return;
    }
    AskCoded("Information",
             {"If you have problems with starting", "the program or with your configuration,",
              "send this file to your dealer:", path},
             30);
    ViewTextFile(path);
}
