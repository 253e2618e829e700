// The vexaconv command: the conversion engine for batch work, with options that mirror the converter
// window. The program entry (tools/vexaconv) only hands over its arguments and streams; everything
// else is here, so tests run it in-process. Portable.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

struct ConvCliIo {
    std::istream& In;  // answers to questions
    std::ostream& Out; // what was converted and what was passed over
    std::ostream& Err; // messages, questions and the progress bar
    bool Interactive;  // questions may be asked (standard input is a terminal)
    bool ShowProgress; // a progress bar may be drawn (standard error is a terminal)
};

// Exit codes.
constexpr int CliAllConverted = 0;
constexpr int CliSomePassedOver = 1; // or some were cut short
constexpr int CliUsageError = 2; // also a missing source or destination folder

// Runs the command; args are the arguments after the program name.
int VexaconvMain(const std::vector<std::string>& args, ConvCliIo& io);

// Windows file-mask matching ("*" and "?", case ignored; "*.*" matches every name).
bool MaskMatches(const std::string& mask, const std::string& name);
