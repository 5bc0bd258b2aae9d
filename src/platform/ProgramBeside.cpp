#include "platform/ProgramBeside.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <unistd.h>

void runProgramBeside(const char* name, char** arguments) {
    std::error_code error;
    const std::string path =
        (std::filesystem::read_symlink("/proc/self/exe", error).parent_path() / name).string();
    arguments[0] = const_cast<char*>(path.c_str());
    ::execv(path.c_str(), arguments);
    std::perror(path.c_str());
}
