// Converting a list of files for a caller that cannot answer questions (a script): one conversion
// run with the options given as values, the engine's questions answered from them (an existing
// destination by the overwrite choice, a missing destination folder made), and each file's outcome
// kept instead of shown. The run's text format settings are put back afterwards. Portable.
#pragma once

#include <string>
#include <vector>

#include "convert/convert.h"

struct BatchOptions {
    int Mode = ModeBinToCol;
    int ColsPerLine = 1; // 1 one, 2 all, 3 block
    int LastLine = LastLineEnd;
    bool Numbered = false;
    bool OnlySelected = false;
    std::string SelectedCols = "1,2";
    int DelimiterCode = 32;
    int Decimals = -4;
    bool Overwrite = false; // existing destinations are replaced; otherwise kept
};

struct BatchFile {
    std::string Source;
    std::string Destination;
    ConvOutcome Outcome = ConvOutcome::RunAborted; // files after a stopped run keep RunAborted
    bool Converted = false;
    bool Cut = false;    // converted, but the source ends inside a record or block
    std::string Message; // what the engine would have shown in a box (a missing folder, ...)
};

// Converts every file's Source to its Destination in one run and fills in the outcomes. A run that
// stops (a missing source folder, a destination folder that cannot be made) leaves the rest
// unconverted with the message of the file it stopped at.
void ConvertBatch(const BatchOptions& options, std::vector<BatchFile>& files);
