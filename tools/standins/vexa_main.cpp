// Stand-in for VEXA.EXE, started from KORVO\Prg with the option text of the command-line page, "sim",
// "SIM", "test" or nothing. With "test" it writes the start report Doc\Start.REP below KORVO, the parent
// of its working directory; every other option only logs. Switches: those of standin.h.
#include "standin.h"

using namespace standin;

int main() {
    std::vector<std::string> words = Words();
    int code = 0;
    if (!words.empty() && Upper(words[0]) == "TEST" && !Failing("noreport")) {
        std::string korvo = DirOf(CurrentDir());
        MakeDirs(Join(korvo, "Doc"));
        bool ok = WriteLines(Join(korvo, "Doc\\Start.REP"),
                             {"VEXA start test", "Date: " + Today(), "Program: " + OwnPath(), "Result: OK"});
        code = ok ? 0 : 1;
    }
    return Finish("VEXA", code);
}
