// Message boxes through the prompter, and the clock and date texts.
#include "lib/msg.h"

#include <chrono>
#include <ctime>
#include <thread>

#include "ui/prompter.h"

// ---- Message boxes --------------------------------------------------------------------------------

unsigned IconFlagOfKind(int kind) {
    static const unsigned icons[] = {ui::IconQuestion, ui::IconWarning, ui::IconStop, ui::IconInformation};
    return kind >= 0 && kind <= 3 ? icons[kind] : 0;
}

int ShowLines(unsigned flags, std::string_view caption, const MsgLines& lines) {
    return ui::CurrentPrompter().Ask(std::string(caption), JoinLines(lines), flags);
}

int AskYesNoCancel(std::string_view caption, const MsgLines& lines, int iconKind, int& answer) {
    unsigned defButton = answer == -1 ? ui::DefButton3 : answer == 0 ? ui::DefButton2 : ui::DefButton1;
    int pressed = ShowLines(ui::BtnYesNoCancel | IconFlagOfKind(iconKind) | defButton, caption, lines);
    if (pressed == ui::IdYes)
        answer = 1;
    else if (pressed == ui::IdNo)
        answer = 0;
    return pressed == ui::IdYes ? 1 : pressed == ui::IdNo ? 0 : -1;
}

int AskYesNoCancel(std::string_view caption, const MsgLines& lines, int iconKind) {
    int answer = 1;
    return AskYesNoCancel(caption, lines, iconKind, answer);
}

bool AskCoded(std::string_view caption, const MsgLines& lines, int code) {
    // Buttons by the last digit, with the answer that counts as affirmative.
    struct Choice {
        unsigned Buttons;
        int Affirmative;
    };
    static const Choice choices[] = {{ui::BtnOk, 0},
                                     {ui::BtnOkCancel, ui::IdOk},
                                     {ui::BtnYesNo, ui::IdYes},
                                     {ui::BtnRetryCancel, ui::IdRetry}};
    int digit = code % 10;
    Choice choice = digit >= 0 && digit <= 3 ? choices[digit] : choices[0];
    unsigned defButton = ui::DefButton1;
    if (code >= 100) {
        defButton = ui::DefButton2;
        code -= 100;
    }
    int pressed = ShowLines(choice.Buttons | IconFlagOfKind(code / 10 % 10) | defButton, caption, lines);
    return choice.Affirmative == 0 || pressed == choice.Affirmative;
}

void ShowStop(std::string_view caption, const MsgLines& lines) {
    ShowLines(ui::BtnOk | ui::IconStop, caption, lines);
}

void ShowFileError(std::string_view text, int error) {
    ShowStop("File error " + std::to_string(error), {std::string(text)});
}

void ShowFileMissing(std::string_view text) {
    ShowStop("File not exist", {std::string(text)});
}

void ShowDirMissing(std::string_view text) {
    ShowStop("Directory not exist", {std::string(text)});
}

bool AskCreateDir(std::string_view path) {
    return ShowLines(ui::BtnOkCancel | ui::IconQuestion, "Path not exist. Create new directory?",
                     {std::string(path)}) == ui::IdOk;
}

// ---- Time and dates -------------------------------------------------------------------------------

TimeParts LocalTimeParts() {
    auto now = std::chrono::system_clock::now();
    std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &seconds);
#else
    localtime_r(&seconds, &local);
#endif
    return {local.tm_year + 1900,
            local.tm_mon + 1,
            local.tm_mday,
            local.tm_hour,
            local.tm_min,
            local.tm_sec,
            static_cast<int>(ms < 0 ? ms + 1000 : ms)};
}

uint32_t TicksSince(uint32_t start) {
    return TickCount() - start;
}

void BusyDelay(int ms) {
    if (ms <= 0) return;
    uint32_t start = TickCount();
    while (TicksSince(start) < static_cast<uint32_t>(ms)) std::this_thread::yield();
}

std::string IsoDate(int year, int month, int day) {
    return IntToStrZ(year, 4) + "-" + IntToStrZ(month % 100, 2) + "-" + IntToStrZ(day % 100, 2);
}

void IsoDate(int year, int month, int day, char* buf, int n) {
    BufAssign(IsoDate(year, month, day), buf, n);
}

int CompareDateText(std::string_view a, std::string_view b) {
    int x = DigitsToInt(a);
    int y = DigitsToInt(b);
    return x < y ? 1 : x == y ? 0 : -1;
}

std::string DateOfDosStamp(int32_t stamp) {
    if (stamp == -1) return "";
    uint32_t date = static_cast<uint32_t>(stamp) >> 16;
    int day = date & 31;
    int month = (date >> 5) & 15;
    int year = 1980 + static_cast<int>(date >> 9);
    static const int monthDays[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    bool leap = year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
    if (month < 1 || month > 12 || day < 1 || day > monthDays[month - 1] ||
        (month == 2 && day == 29 && !leap))
        return ""; // not a calendar date
    return IsoDate(year, month, day);
}

namespace {
// Characters first..last (counted from 1) of s, as far as s reaches.
std::string_view Chars(std::string_view s, size_t first, size_t last) {
    if (first > s.size()) return {};
    return s.substr(first - 1, last - first + 1);
}
} // namespace

std::string DottedToIso(std::string_view dotted) {
    return std::string(Chars(dotted, 7, 10)) + "-" + std::string(Chars(dotted, 4, 5)) + "-" +
           std::string(Chars(dotted, 1, 2));
}

std::string IsoToDotted(std::string_view iso) {
    return std::string(Chars(iso, 9, 10)) + "." + std::string(Chars(iso, 6, 7)) + "." +
           std::string(Chars(iso, 1, 4));
}

std::string TodayIso() {
    TimeParts now = LocalTimeParts();
    return IsoDate(now.Year, now.Month, now.Day);
}

void TodayIso(char* buf, int n) {
    BufAssign(TodayIso(), buf, n);
}
