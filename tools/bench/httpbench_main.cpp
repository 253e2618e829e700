// The download speed of the HTTP client, for `make bench`: httpbench URL FILE. Fetches URL into FILE
// with the download dialog's client, its status line updated on every block as in a real download
// (the dialog's fixed 250 ms event pauses left out), while a 20 ms timer measures the longest gap in
// the message pump: the most a Break click waits. Prints "bytes milliseconds longest-gap-ms".
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <exception>
#include <string>

#include "lib/msg.h"
#include "net/webload_win32.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: httpbench URL FILE\n");
        return 2;
    }
    TDialWebLoad dialog;
    dialog.Timer.SetEnabled(false);
    HttpClient& web = dialog.Web;
    web.Body = argv[2];
    web.Header = std::string(argv[2]) + ".head";
    web.OnConnect = web.OnDisconnect = nullptr;
    bool ok = false;
    web.OnSuccess = [&](int) { ok = true; };
    web.OnFailure = nullptr;
    dialog.Show();

    uint32_t last = TickCount(), longest = 0;
    ui::Timer probe{20};
    probe.OnTimer = [&] {
        longest = std::max(longest, TicksSince(last));
        last = TickCount();
    };
    probe.SetEnabled(true);
    uint32_t start = TickCount();
    last = start;
    try {
        web.Get(argv[1]);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "httpbench: %s\n", error.what());
        return 1;
    }
    uint32_t elapsed = TicksSince(start);
    if (!ok) {
        std::fprintf(stderr, "httpbench: status %d, %lld bytes\n", web.Status,
                     static_cast<long long>(web.BytesRecvd));
        return 1;
    }
    std::printf("%lld %u %u\n", static_cast<long long>(web.BytesRecvd), elapsed, longest);
    return 0;
}
