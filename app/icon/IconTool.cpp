// quillmark-icon SIZE FILE: writes the program's icon as a SIZE × SIZE PNG file, for the build
// to install into the desktop's icon theme.

#include "WindowIcon.h"

#include <QString>

#include <cstdio>

int main(int argc, char** argv) {
    const int size = argc == 3 ? QString::fromLocal8Bit(argv[1]).toInt() : 0;
    if (size < 64) {
        std::fputs("usage: quillmark-icon SIZE FILE (SIZE 64 or more)\n", stderr);
        return 2;
    }
    if (!AppIconImage(size).save(QString::fromLocal8Bit(argv[2]), "PNG")) {
        std::fprintf(stderr, "quillmark-icon: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
