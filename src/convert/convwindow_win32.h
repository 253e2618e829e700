// The conversion window TFormConv: the user picks a source folder and mask, marks files
// in the list, chooses the destination folder and naming, the convert mode and the text options, and
// converts the marked files or all of them with the engine (convert/convert.h). The options live in
// ConvSettings and TextFormatSettings and travel to VexaAsc.CFA when the window closes.
#pragma once

#include <string>

#include "convert/convsettings.h"
#include "lib/inputs_win32.h"
#include "ui/animate.h"
#include "ui/controls.h"

// The items of the delimiter box and the codes they stand for.
struct DelimiterItem {
    const char* Text;
    int Code;
};
extern const DelimiterItem DelimiterItems[9];

class TFormConv : public ui::Form, public PlacementTarget {
  public:
    ui::RadioGroup RadioGroupC{
        {"Full ASCII --> Binary", "Binary --> Full ASCII    ", "Binary --> Col ASCII"}};
    ui::GroupBox GroupBoxO;
    ui::CheckBox CheckBoxO;
    ui::CheckBox CheckBoxO9;
    ui::Label LabelO0;
    TModeBox ModeBoxO0{"dummy", "one", "all", "block"};
    ui::Label LabelO9;
    TStrEdit StrEditO9;
    ui::Label LabelO1;
    ui::ComboBox ComboBoxO1;
    ui::Label LabelO2;
    TModeBox ModeBoxO2{"nothing", "cr+lf", "cr+lf+eof"};
    ui::Label LabelO3;
    ui::SpinEdit SpinEditO3{1, 12};
    ui::GroupBox GroupBoxS;
    ui::Label LabelS1;
    TStrEdit StrEditS1;
    ui::Button ButtonS1;
    ui::Button ButtonS2;
    ui::Label LabelS2;
    TStrEdit StrEditS2;
    ui::GroupBox GroupBoxD;
    ui::CheckBox CheckBoxD;
    ui::Label LabelD1;
    TStrEdit StrEditD1;
    ui::Button ButtonD1;
    ui::Button ButtonD2;
    ui::Label LabelD2;
    ui::RadioButton RadioD0;
    ui::RadioButton RadioD1;
    ui::RadioButton RadioD2;
    TStrEdit StrEditD2;
    ui::Button BtnMark;
    ui::Button BtnAll;
    ui::Button BtnList;
    ui::ListBox FileBox;
    ui::Animate Animate;
    ui::Panel OutBox;

    bool ListDirty = false; // the list was emptied by an edit of the source folder or mask
    bool Updating = false;  // the enabling rules or the filling of the controls are running
    bool Running = false;   // a conversion run is going on

    TFormConv();

    void FormActivate();
    void FormClose(ui::CloseAction& action);
    void SettingsToControls(bool toControls);
    void UpdateControls();
    void RefreshList();
    void ConvertMarked(bool all);
    void ButtonBrowseClick(const ui::Control& sender); // ButtonS1, ButtonS2, ButtonD1, ButtonD2 by Tag
    void StrEditSourceChange();                        // StrEditS1 and StrEditS2

    // The source path of a list row, as the list shows it now (empty for no row).
    std::string FilePath(int row) const;
    void ShowFilePreview(); // the preview of the list's current file

    // The delimiter box: a code shown as its item or as its typed character, and read back.
    void DelimiterToControl(int code);
    int DelimiterFromControl() const;

    // The placement travels with the settings file.
    void SavePlacement(FormGeometry& geometry) override;
    void PlaceFrom(const FormGeometry& geometry) override;
    bool FixedBorder() const override { return true; }

  protected:
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

  private:
    bool activated_ = false;
};

// Creates the window (kind 81), shows it modally and releases it.
void ShowConvWindow();
