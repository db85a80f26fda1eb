// Writes the player's own pictures into the current folder: the key chart shown while paused
// (keyallocation_01.jpg) and the two arrows (to_left.jpg, to_right.jpg). With --frames it writes
// synthetic contents frames instead, each showing its frame number. Installed as zeltran-pictures.
//
//   zeltran_pictures
//   zeltran_pictures --frames FOLDER COUNT [WIDTH HEIGHT]
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "own_pictures.hpp"

namespace {

constexpr char kProgram[] = "zeltran-pictures";

int WriteOwnPictures() {
    for (size_t i = 0; i < kOwnPictureCount; ++i) {
        if (!SaveOwnPicture(kProgram, kOwnPictureFiles[i], OwnPicture(i))) return 1;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 1) return WriteOwnPictures();
    if ((argc == 4 || argc == 6) && std::strcmp(argv[1], "--frames") == 0) {
        const int count = std::atoi(argv[3]);
        const int width = argc == 6 ? std::atoi(argv[4]) : 320;
        const int height = argc == 6 ? std::atoi(argv[5]) : 240;
        if (count >= 0 && width > 0 && height > 0) {
            return WriteSyntheticFrames(kProgram, argv[2], count, width, height) ? 0 : 1;
        }
    }
    std::fprintf(stderr,
                 "usage: zeltran-pictures                      (pictures of the player)\n"
                 "       zeltran-pictures --frames FOLDER COUNT [WIDTH HEIGHT]\n");
    return 2;
}
