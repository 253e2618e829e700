// A child program for the main window's tests: writes how it was started (the show command the starter
// asked for, its working directory and its command line) into the file SHOWPROBE_OUT names.
#include <windows.h>

#include <cstdio>

int main() {
    char out[MAX_PATH] = "";
    if (!GetEnvironmentVariableA("SHOWPROBE_OUT", out, MAX_PATH)) return 2;
    STARTUPINFOA si{};
    si.cb = sizeof si;
    GetStartupInfoA(&si);
    char dir[MAX_PATH] = "";
    GetCurrentDirectoryA(MAX_PATH, dir);
    FILE* f = std::fopen(out, "wb");
    if (!f) return 1;
    int show = (si.dwFlags & STARTF_USESHOWWINDOW) ? si.wShowWindow : -1;
    std::fprintf(f, "%d\r\n%s\r\n%s\r\n", show, dir, GetCommandLineA());
    std::fclose(f);
    return 0;
}
