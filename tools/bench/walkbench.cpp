// walkbench TREE [ROUNDS] [--explorer]: the time ListFiles takes with subdirectories over TREE (best of
// the rounds). With --explorer (Windows build) it also opens the explorer on TREE, lists it with
// subdirectories and reports the longest time its window went without processing messages.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "browse/filetools.h"

#ifdef _WIN32
#include <windows.h>

#include "browse/browexp.h"
#include "lib/forms_win32.h"
#include "ui/form.h"
#endif

namespace {

class Counter : public LineTarget {
  public:
    long Count = 0;
    void Add(std::string_view) override { ++Count; }
};

double Seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

#ifdef _WIN32
// A timer message is due every 10 ms; the longest wait between two of them being taken from the
// queue is the longest time the window went without its messages processed.
DWORD lastTimer = 0, longestGap = 0;

LRESULT CALLBACK OnGetMessage(int code, WPARAM wParam, LPARAM lParam) {
    const MSG* msg = reinterpret_cast<const MSG*>(lParam);
    if (code == HC_ACTION && wParam == PM_REMOVE && msg->message == WM_TIMER && msg->wParam == 77) {
        DWORD now = GetTickCount();
        if (lastTimer) longestGap = std::max(longestGap, now - lastTimer);
        lastTimer = now;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void ExplorerListing(const std::string& tree) {
    PathBuf path;
    path.Set(tree);
    long lines = 0;
    double seconds = 0;
    ui::SetModalHook([&](ui::Form& form) {
        auto& explorer = static_cast<TDialBrowExp&>(form);
        HHOOK hook = SetWindowsHookExA(WH_GETMESSAGE, OnGetMessage, nullptr, GetCurrentThreadId());
        SetTimer(explorer.Handle(), 77, 10, nullptr);
        auto start = std::chrono::steady_clock::now();
        lastTimer = GetTickCount();
        explorer.SpeedSubDir.OnClick(); // the listing again, now with subdirectories
        seconds = Seconds(start);
        Sleep(20);
        ui::ProcessMessages(); // the time the listing's last step took counts too
        KillTimer(explorer.Handle(), 77);
        UnhookWindowsHookEx(hook);
        lines = explorer.Memo1.LineCount();
        explorer.SpeedCancel.OnClick();
    });
    bool accepted = false;
    ExecBrowExp("Bench", path, accepted);
    ui::SetModalHook(nullptr);
    std::printf("explorer: %ld lines listed in %.3f s, longest time without messages processed: %lu ms\n",
                lines, seconds, static_cast<unsigned long>(longestGap));
}
#endif

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: walkbench TREE [ROUNDS] [--explorer]\n");
        return 2;
    }
    std::string tree = argv[1];
    int rounds = argc > 2 && argv[2][0] != '-' ? std::max(1, std::atoi(argv[2])) : 3;
    double best = 0;
    long count = 0;
    for (int i = 0; i < rounds; ++i) {
        Counter lines;
        auto start = std::chrono::steady_clock::now();
        ListFiles("", tree, "*.*", lines, true);
        double t = Seconds(start);
        if (i == 0 || t < best) best = t;
        count = lines.Count;
    }
    std::printf("walk: %ld files in %.3f s\n", count, best);
#ifdef _WIN32
    if (std::string(argv[argc - 1]) == "--explorer") ExplorerListing(tree);
#endif
    return 0;
}
