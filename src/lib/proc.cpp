#include "lib/proc.h"

#include "lib/paths.h"

std::string BuildCommandLine(std::string_view program, std::string_view directory, std::string_view args) {
    constexpr size_t maxLength = 239;
    NameBuf name;
    name.Set(program);
    EnsureExt("EXE", name);
    std::string path = JoinFile(directory, name.View());
    std::string line = path.find(' ') == std::string::npos ? path : "\"" + path + "\"";
    if (!args.empty()) {
        line += ' ';
        line += args;
    }
    if (line.size() > maxLength) line.resize(maxLength);
    return line;
}
