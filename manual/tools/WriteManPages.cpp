// Writes the manual pages of all programs into the folder given, as the
// build's man/<program>.1.
#include "manual/Manuals.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

std::string fileName(manual::Program program) { return manual::manualOf(program).name + ".1"; }

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "Usage: %s folder\n", argc > 0 ? argv[0] : "write_man_pages");
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    for (const manual::Program program : manual::kPrograms) {
        const std::filesystem::path target = folder / fileName(program);
        std::ofstream page(target, std::ios::binary | std::ios::trunc);
        page << manual::manPage(program);
        page.close();
        if (!page) {
            std::fprintf(stderr, "%s: cannot write %s\n", argv[0], target.c_str());
            return 1;
        }
    }
    return 0;
}
