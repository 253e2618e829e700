// Message boxes and dates. Every box is built from a caption and lines (joined with CR LF) and goes
// through the prompter (ui/prompter.h), so the program's boxes are all worded alike and owned by the
// application window. The date operations convert between the three date texts the program meets:
// YYYY-MM-DD (its own), DD.MM.YYYY (the measurement program's files and the reports) and packed DOS
// file stamps. Portable; the tick count is the system's (msg_win32.cpp, msg_posix.cpp).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "lib/strnum.h"

using MsgLines = std::vector<std::string>;

// ---- Message boxes --------------------------------------------------------------------------------

// Icon kinds of AskYesNoCancel and AskCoded's tens digit; any other kind shows no icon.
constexpr int IconKindQuestion = 0;
constexpr int IconKindWarning = 1;
constexpr int IconKindStop = 2;
constexpr int IconKindInformation = 3;
unsigned IconFlagOfKind(int kind); // the ui::Icon... flag of a kind, 0 for none

// A box with the given ui:: flags; the answer's Id value.
int ShowLines(unsigned flags, std::string_view caption, const MsgLines& lines);
// Yes, No, Cancel: 1, 0 or -1. The default button follows the incoming answer (-1 Cancel, 0 No, else
// Yes); Yes stores 1 and No 0 in it, Cancel leaves it.
int AskYesNoCancel(std::string_view caption, const MsgLines& lines, int iconKind, int& answer);
int AskYesNoCancel(std::string_view caption, const MsgLines& lines, int iconKind); // Yes default
// The decimal code: last digit the buttons (0 OK, 1 OK Cancel, 2 Yes No, 3 Retry Cancel, other OK);
// 100 or more the second button as default; the tens digit of the rest the icon kind. True for OK
// alone, or for OK, Yes or Retry pressed.
bool AskCoded(std::string_view caption, const MsgLines& lines, int code);
void ShowStop(std::string_view caption, const MsgLines& lines); // OK, stop icon
void ShowFileError(std::string_view text, int error);           // "File error <error>"
void ShowFileMissing(std::string_view text);                    // "File not exist"
void ShowDirMissing(std::string_view text);                     // "Directory not exist"
bool AskCreateDir(std::string_view path); // "Path not exist. Create new directory?" OK, Cancel

// ---- Time and dates -------------------------------------------------------------------------------

struct TimeParts {
    int Year, Month, Day, Hour, Minute, Second, Millisecond;
};
TimeParts LocalTimeParts();

uint32_t TickCount();                // the system tick count (GetTickCount; natively a steady clock)
uint32_t TicksSince(uint32_t start); // TickCount() - start, with wrap-around
void BusyDelay(int ms);              // polls the clock; no window messages run meanwhile

// YYYY-MM-DD: the year at least 4 digits, month and day exactly 2.
std::string IsoDate(int year, int month, int day);
void IsoDate(int year, int month, int day, char* buf, int n);
// 1 when a is earlier than b, 0 when equal, -1 when later (their decimal digits compared as numbers).
int CompareDateText(std::string_view a, std::string_view b);
// The date of a FileDosStamp as YYYY-MM-DD; empty for -1 (and for a stamp that holds no real date).
std::string DateOfDosStamp(int32_t stamp);
std::string DottedToIso(std::string_view dotted); // DD.MM.YYYY -> YYYY-MM-DD, unchecked
std::string IsoToDotted(std::string_view iso);    // YYYY-MM-DD -> DD.MM.YYYY, unchecked
std::string TodayIso();
void TodayIso(char* buf, int n);
