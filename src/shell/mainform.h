// The main window TForm1: the set-up panel with its command buttons, the installation
// page with OK and Cancel, and the command-line page that starts VEXA with an option. The mode decided
// on its first activation chooses what it shows; every command button hands its work to another module.
#pragma once

#include "ui/controls.h"

class TForm1 : public ui::Form {
  public:
    ui::Label Label0;
    ui::Memo Memo0;
    ui::Panel PanelC;
    ui::Label LabelC;
    ui::Label LabelC0;
    ui::GlyphButton BtnVexa{ui::Glyph::Run};
    ui::Edit EditC;
    ui::Button BtnInfoC;
    ui::GlyphButton BtnWinSet{ui::Glyph::Copy};
    ui::Button BtnBat;
    ui::Button BtnSys;
    ui::GlyphButton BtnCancel{ui::ButtonKind::Cancel};
    ui::GlyphButton BtnOk{ui::ButtonKind::Ok};
    ui::Panel PanelS;
    ui::GroupBox GroupBox1;
    ui::GlyphButton BtnConf{ui::Glyph::Setup};
    ui::GlyphButton BtnWin{ui::Glyph::Windows};
    ui::GroupBox GroupBox2;
    ui::GlyphButton BtnInfo1{ui::ButtonKind::Help};
    ui::GlyphButton BtnInfo2{ui::ButtonKind::Help};
    ui::GroupBox GroupBox3;
    ui::GlyphButton BtnHomePage{ui::Glyph::Globe};
    ui::GlyphButton BtnBugFix{ui::Glyph::Download};
    ui::GlyphButton BtnClose{ui::ButtonKind::Close};
    ui::GroupBox GroupBox4;
    ui::GlyphButton BtnEditor{ui::Glyph::Editor};
    ui::FileOpenDialog OpenDialog;
    ui::Timer Timer1;

    TForm1();
    ~TForm1() override;

    void FormActivate();
    // What the decided mode shows: the options loaded into EditC, the page of the mode, the version lines.
    void ShowModePage();
    void FormClose(ui::CloseAction& action);
    void Timer1Timer();

    void BtnOkClick();
    void BtnWinSetClick();
    void BtnConfClick(const ui::Control& sender);
    void BtnWinClick();
    void BtnInfo2Click();
    void BtnEditorClick();
    void BtnHomePageClick();
    void BtnBugFixClick();
    void BtnSysClick(const ui::Control& sender);
    void BtnCancelClick();
    void BtnVexaClick();
    void BtnInfoCClick();

    // The panel's command buttons and Close, enabled or disabled together while a command runs.
    void SetButtonsEnabled(bool enabled);
    void SetOkCancelEnabled(bool enabled);
    // Closes the window, which ends the program; while a command runs, once it has ended.
    void CloseMain();

    // Windows preparation on this window: the advice page, the preparation itself, and then the
    // start-file editor's buttons enabled.
    void WindowsSetup();
    // Turns the window into the advice page: the editor's buttons shown (still disabled), the memo with
    // the advice for this Windows and hardware in the place of the hidden label, the panel hidden.
    void ShowWindowsAdvice();

  private:
    // Marks a command running for its lifetime; a close asked for meanwhile happens when it ends.
    class Command {
      public:
        explicit Command(TForm1& form);
        ~Command();
        Command(const Command&) = delete;
        Command& operator=(const Command&) = delete;

      private:
        TForm1& form_;
    };

    void ShowVersionLines();
    void LoadModeIcon(const char* iconFile);
    void SaveCmdConfig();
    HICON smallIcon_ = nullptr;
};

// The maker's home page, opened by BtnHomePage.
extern const char* const HomePageAddress;
// Asks the shell to open an address with a working directory, its window shown normally; not waited for.
void OpenAddress(const char* address, const char* workDir);
