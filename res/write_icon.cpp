// Writes the application icon as a PNG for installation: the same drawing
// the window uses, at the size the desktop asks for.
#include <QImage>
#include <cstdio>
#include <cstdlib>

#include "app/gui/artwork.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s SIZE FILE.png\n", argv[0]);
        return 2;
    }
    int size = std::atoi(argv[1]);
    if (size < 16 || size > 1024) {
        std::fprintf(stderr, "%s: SIZE must be 16 to 1024\n", argv[0]);
        return 2;
    }
    if (!quorbel::gui::AppIcon(size).save(argv[2], "PNG")) {
        std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[2]);
        return 1;
    }
    return 0;
}
