// The main window's process-wide state.
#include "shell/mainstate.h"

MainStateRecord MainState;

void ResetMainState() {
    MainState = MainStateRecord{};
    MainState.SetupMode = ModeSetupPanel;
    MainState.TempToolDir.Set("C:\\VEXA_$$$");
    MainState.InstallState = InstallNotRun;
    MainState.LastEditFile.Set("Hardware.DAT");
}
