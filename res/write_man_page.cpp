// Writes the manual page quorbel(1) for installation. It is made from the
// same option table as the parser and --help, so the three cannot disagree.
#include <cstdio>
#include <fstream>

#include "app/headless/command_line.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FILE.1\n", argv[0]);
        return 2;
    }
    std::ofstream file(argv[1], std::ios::binary);
    file << quorbel::ManPage();
    file.close();
    if (!file) {
        std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[1]);
        return 1;
    }
    return 0;
}
