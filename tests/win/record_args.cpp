// Stands in for an uninstaller: writes its arguments and working folder to uninstall.txt there.
#include <windows.h>

#include <fstream>
#include <string>

int main() {
    std::string line = GetCommandLineA();
    // The program's own name, quoted or not, comes first.
    const size_t end = line[0] == '"' ? line.find('"', 1) + 1 : line.find(' ');
    line = end >= line.size() ? "" : line.substr(line.find_first_not_of(' ', end));
    char folder[MAX_PATH] = {};
    GetCurrentDirectoryA(sizeof folder, folder);
    std::ofstream("uninstall.txt", std::ios::binary) << line << '\n' << folder;
    return 0;
}
