// The main window's process-wide state.
#include "shell/mainstate.h"

MainStateRecord MainState;
ApplicationRecord Application;

void ResetMainState() {
    MainState = MainStateRecord{};
    MainState.SetupMode = ModeSetupPanel;
    MainState.TempToolDir.Set("C:\\VEXA_$$$");
    MainState.InstallState = InstallNotRun;
    MainState.LastEditFile.Set("Hardware.DAT");
}

void ResetApplication() {
    SetApplicationIcon(nullptr);
    Application.Title.Set("SetUp");
}

void SetApplicationIcon(HICON icon) {
    if (Application.Icon && Application.Icon != icon) DestroyIcon(Application.Icon);
    Application.Icon = icon;
}
