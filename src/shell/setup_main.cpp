// SetUp.EXE's program entry: the library's state records start from their defaults, the one main
// window is created, and the program ends when its message loop does.
#include <windows.h>

#include "browse/browse.h"
#include "browse/winmanager.h"
#include "lib/application_win32.h"
#include "lib/forms.h"
#include "lib/forms_win32.h"
#include "lib/fs.h"
#include "lib/paths.h"
#include "lib/proc_win32.h"
#include "lib/recfile.h"
#include "lib/strnum.h"
#include "setup/editor.h"
#include "setup/infotools.h"
#include "setup/setupstate.h"
#include "shell/mainform.h"
#include "shell/mainstate.h"
#include "ui/question.h"

namespace {
void ResetProgramState() {
    ResetTextFormatSettings();
    ResetPathState();
    ResetFsState();
    ResetFieldLine();
    ResetBuiltSlots();
    ResetFormFrame();
    ResetChildWins();
    ResetBrowExp();
    ResetPathDialogs();
    ResetSetupState();
    ResetMainState();
    ResetApplication();
    ResetInfoState();
    ResetGeometry(EditorGeometry);
}
} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    InitComForProcess();
    ui::InstallQuestionBox();
    ResetProgramState();
    // A private copy of the program's icon, so a mode that brings its own may destroy it.
    SetApplicationIcon(
        static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(1), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE)));
    TForm1 form;
    ui::SetMainForm(&form);
    form.SetIcon(Application.Icon);
    form.Show();
    return ui::RunMessageLoop();
}
