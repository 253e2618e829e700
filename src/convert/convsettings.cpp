#include "convert/convsettings.h"

#include <cstring>
#ifndef _WIN32
#include <filesystem>
#endif

#include "convert/convnames.h"
#include "lib/fs.h"
#include "lib/msg.h"

ConvSettingsRecord ConvSettings;
RecordFile SettingsFile;
SettingsOpenMode SettingsMode = SettingsOpenMode::Closed;

namespace {

// Line 1 of every settings file this program writes; reading checks that a file begins with it.
constexpr std::string_view SettingsIdent = "SetUp.EXE converter settings VexaAsc.CFA";
static_assert(SettingsIdent.size() == 40);

// The sub-folder "A\B\C" of base, its names matched whatever their case (as Windows does); false
// when it does not exist.
bool FindSubFolder(std::string_view base, std::string_view winRelative, std::string& found) {
#ifdef _WIN32
    found = JoinPath(base, winRelative);
    return DirExists(found);
#else
    std::filesystem::path path(base);
    std::error_code ec;
    while (!winRelative.empty()) {
        size_t sep = winRelative.find('\\');
        std::string_view part = winRelative.substr(0, sep);
        winRelative = sep == std::string_view::npos ? std::string_view() : winRelative.substr(sep + 1);
        bool matched = false;
        for (auto it = std::filesystem::directory_iterator(path, ec);
             !ec && it != std::filesystem::directory_iterator(); it.increment(ec)) {
            if (SameText(it->path().filename().string(), part) && it->is_directory(ec)) {
                path = it->path();
                matched = true;
                break;
            }
        }
        if (!matched) return false;
    }
    found = path.string();
    return true;
#endif
}

void ReadValueLine(TextBuf<127>& line) {
    ReadLine(SettingsFile, line, false);
    if (!SettingsFile.Failed && !(line[0] == '*' && line[1] == '*')) BufCutComment(line.c, line.Cap);
    if (SettingsFile.Failed) line.Clear();
}

// Line 3: the saved placement as "Width,Height,Left,Top,ClientWidth,ClientHeight,Flags".
void ReadPlacement(PlacementTarget& target) {
    TextBuf<127> line;
    ReadLine(SettingsFile, line, false);
    if (SettingsFile.Failed) line.Clear();
    FormGeometry g{};
    int32_t* saved[] = {&g.SavedWidth,       &g.SavedHeight,       &g.SavedLeft, &g.SavedTop,
                        &g.SavedClientWidth, &g.SavedClientHeight, &g.Flags};
    for (int32_t* value : saved) *value = TokenToInt(line.c, line.Cap);
    TakeNormalPlacement(g);
    if (target.FixedBorder()) g.Flags = GeoHasPlacement | GeoPositionOnly;
    target.PlaceFrom(g);
}

void WritePlacement(PlacementTarget& target) {
    FormGeometry g{};
    target.SavePlacement(g);
    std::string line;
    for (int32_t value : {g.SavedWidth, g.SavedHeight, g.SavedLeft, g.SavedTop, g.SavedClientWidth,
                          g.SavedClientHeight, g.Flags}) {
        if (!line.empty()) line += ',';
        line += std::to_string(value);
    }
    WriteStrLine(SettingsFile, line);
}

} // namespace

// ---- Defaults ----------------------------------------------------------------------------------------

std::string DefaultSourceDir(std::string_view programDir) {
    std::string data = JoinPath(ParentFolder(programDir), "DATA");
    return DirExists(data) ? data : std::string(programDir);
}

void ResetConvSettings(std::string_view programDir) {
    ConvSettingsRecord& s = ConvSettings;
    s.Mode = 2;
    s.ColsPerLine = 1;
    s.LastLine = 1;
    s.ExtChoice = 1;
    s.Numbered = false;
    s.OnlySelected = false;
    s.NotAsSource = false;
    s.SourceDir.Set(DefaultSourceDir(programDir));
    s.DestDir = s.SourceDir;
    s.SourceMask.Set("*.*");
    s.Extension.Set("ASC");
    s.SelectedCols.Set("1,2");
    TextFormatSettings.DelimiterCode = 32;
    TextFormatSettings.Decimals = -4;
}

void NormaliseConvSettings() {
    ConvSettingsRecord& s = ConvSettings;
    s.Mode = IntClamp(s.Mode, 0, 2);
    s.ColsPerLine = IntClamp(s.ColsPerLine, 1, 3);
    s.LastLine = IntClamp(s.LastLine, 0, 2);
    s.ExtChoice = IntClamp(s.ExtChoice, 0, 2);
    int decimals = TextFormatSettings.Decimals;
    TextFormatSettings.Decimals = -IntClamp(decimals < 0 ? -decimals : decimals, 1, 12);
}

void ResetConvSettings() {
    PathBuf programDir;
    ProgramDir(programDir.c, programDir.Cap);
    ResetConvSettings(programDir.View());
}

// ---- The settings file -------------------------------------------------------------------------------

std::string SettingsFolder(std::string_view programDir) {
    std::string parent = ParentFolder(programDir);
    std::string last;
    if (SameText(NameOf(programDir), "BIN") && !parent.empty() &&
        FindSubFolder(parent, "SYS\\INSTALL\\LAST", last))
        return last;
    return std::string(programDir);
}

void OpenSettings(std::string_view folder, std::string_view name, bool reading, PlacementTarget* target,
                  bool& failed) {
    std::string dir(folder);
    if (dir.empty()) {
        PathBuf programDir;
        ProgramDir(programDir.c, programDir.Cap);
        dir = SettingsFolder(programDir.View());
    }
    OpenSettingsPath(JoinPath(dir, std::string(name) + ".CFA"), reading, target, failed);
}

void OpenSettingsPath(std::string_view path, bool reading, PlacementTarget* target, bool& failed) {
    if (SettingsMode != SettingsOpenMode::Closed) CloseSettings(failed);
    if (reading) {
        OpenRead(SettingsFile, path, failed);
        TextBuf<127> line;
        if (!failed) {
            SettingsFile.Mode = 1;
            ReadLine(SettingsFile, line, false);
            failed = SettingsFile.Failed || line.View().substr(0, SettingsIdent.size()) != SettingsIdent;
        }
        if (failed) {
            bool ignored;
            Close(SettingsFile, ignored);
            if (target) target->PlaceFrom(FormGeometry{});
            return;
        }
        SettingsMode = SettingsOpenMode::Reading;
        ReadLine(SettingsFile, line, false); // the date it was written
        if (target) ReadPlacement(*target);
        return;
    }
    CreateWrite(SettingsFile, path, failed);
    if (failed) {
        bool ignored;
        Close(SettingsFile, ignored);
        return;
    }
    SettingsFile.Mode = 1;
    SettingsMode = SettingsOpenMode::Writing;
    WriteStrLine(SettingsFile, SettingsIdent);
    WriteStrLine(SettingsFile, TodayIso());
    if (target) WritePlacement(*target);
}

void SettingsInt(int& value) {
    if (SettingsMode == SettingsOpenMode::Writing) {
        TextBuf<29> text;
        IntToText(value, 6, text.c, text.Cap);
        WriteLine(SettingsFile, text);
    } else if (SettingsMode == SettingsOpenMode::Reading) {
        TextBuf<127> line;
        ReadValueLine(line);
        value = TextToInt(line.View());
    }
}

void SettingsBool(bool& flag) {
    if (SettingsMode == SettingsOpenMode::Writing) {
        WriteStrLine(SettingsFile, flag ? "Y" : "N");
    } else if (SettingsMode == SettingsOpenMode::Reading) {
        TextBuf<127> line;
        ReadValueLine(line);
        flag = IsYes(line.View());
    }
}

void SettingsText(char* buf, int n) {
    if (n < 0) return;
    if (SettingsMode == SettingsOpenMode::Writing) {
        WriteLine(SettingsFile, buf, n);
    } else if (SettingsMode == SettingsOpenMode::Reading) {
        ReadLine(SettingsFile, buf, n, false);
        if (SettingsFile.Failed) buf[0] = 0;
        BufTrim(2, buf, n);
    }
}

void CloseSettings(bool& failed) {
    failed = false;
    if (SettingsMode != SettingsOpenMode::Closed) Close(SettingsFile, failed);
    SettingsMode = SettingsOpenMode::Closed;
}

void TransferConvSettings() {
    ConvSettingsRecord& s = ConvSettings;
    SettingsInt(s.Mode);
    SettingsInt(s.ColsPerLine);
    SettingsInt(TextFormatSettings.DelimiterCode);
    SettingsBool(s.Numbered);
    SettingsInt(s.LastLine);
    SettingsInt(TextFormatSettings.Decimals);
    SettingsInt(s.ExtChoice);
    SettingsBool(s.NotAsSource);
    SettingsText(s.SourceDir);
    SettingsText(s.DestDir);
    SettingsText(s.SourceMask);
    SettingsText(s.Extension);
    SettingsBool(s.OnlySelected);
    SettingsText(s.SelectedCols);
}

bool LoadSaveConvSettings(bool reading, PlacementTarget* target) {
    bool failed = false;
    OpenSettings("", "VexaAsc", reading, target, failed);
    if (failed) {
        ResetConvSettings();
        return false;
    }
    TransferConvSettings();
    CloseSettings(failed);
    return !failed;
}
