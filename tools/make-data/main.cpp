// main.cpp: builds data.pak from code: make-data <output path>.
#include <cstdio>
#include <exception>

#include "sound_effects.h"
#include "writers/pak_writer.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make-data <data.pak>\n");
        return 2;
    }
    try {
        std::vector<PakWriterEntry> entries;
        addSoundEffects(entries);
        if (!writePakFile(argv[1], entries)) {
            std::fprintf(stderr, "make-data: cannot write %s\n", argv[1]);
            return 1;
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
