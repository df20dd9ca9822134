// Stands in for a program that others start: writes its arguments and working folder to
// uninstall.txt there, or adds its arguments as a line to the file RECORD_ARGS_TO names.
#include <windows.h>

#include <cstdlib>
#include <fstream>
#include <string>

int main() {
    std::string line = GetCommandLineA();
    // The program's own name, quoted or not, comes first.
    const size_t end = line[0] == '"' ? line.find('"', 1) + 1 : line.find(' ');
    line = end >= line.size() ? "" : line.substr(line.find_first_not_of(' ', end));
    if (const char* log = std::getenv("RECORD_ARGS_TO")) {
        return (std::ofstream(log, std::ios::binary | std::ios::app) << line << '\n').fail();
    }
    char folder[MAX_PATH] = {};
    GetCurrentDirectoryA(sizeof folder, folder);
    std::ofstream("uninstall.txt", std::ios::binary) << line << '\n' << folder;
    return 0;
}
