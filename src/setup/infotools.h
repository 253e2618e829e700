// The information tools: the dialog TDialSetUp3 that writes reports about the PC, Windows
// and VEXA's configuration into KORVO\Doc, runs VEXA's own report tools, and shows the documents and
// reports read-only. What the dialog remembers lives for the run only.
#pragma once

#include <string_view>

#include "lib/paths.h"
#include "lib/recfile.h"
#include "ui/controls.h"

class TDialSetUp3 : public ui::Form {
  public:
    ui::GroupBox GroupBoxI;
    ui::Button ButtonI;
    ui::RadioButton RadioBtnI0;
    ui::RadioButton RadioBtnI1;
    ui::RadioButton RadioBtnI3;
    ui::RadioButton RadioBtnI4;
    ui::GroupBox GroupBoxL;
    ui::Button ButtonL0;
    ui::Button ButtonL1;
    ui::Button ButtonL2;
    ui::FileOpenDialog OpenDialog;

    TDialSetUp3();
    void ButtonIClick();
    void ButtonL0Click();
    void ButtonL1Click(const ui::Control& sender); // "Documentation" (Tag 1) and "Report" (Tag 2)

    // The radio button of a choice (0, 1, 3 or 4); nullptr for any other number.
    ui::RadioButton* ChoiceButton(int choice);
};

struct InfoStateRecord {
    int InfoChoice;       // the checked radio button's number: 0, 1, 3 or 4
    NameBuf LastDocument; // offered again by "Documentation"
    NameBuf LastReport;   // offered again by "Report"
};
extern InfoStateRecord InfoState;
// Start state: choice 1 (VEXA's configuration), no file names.
void ResetInfoState();

void ShowInfoTools();
// KORVO\Doc\WinConf.REP: versions, dates, directories and Windows version, one labelled line each.
// Reports are replaced whole: one that cannot be written says "File error", keeps the earlier report
// and returns false.
bool MakeWinConfReport();
// KORVO\Doc\FullConf.REP: the versions report, VEXA's own reports, its configuration files and the
// DOS start files in one file, then shown (not when it could not be written).
void MakeFullReport();
// Appends a text file to an open report under a heading line with its name: every line, or the first
// `limit` when limit is not 0, each cut to 128 characters. A file that cannot be opened adds nothing.
void AppendFileToReport(std::string_view path, int limit, RecordFile& report);
