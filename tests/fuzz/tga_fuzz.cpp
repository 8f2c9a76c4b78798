// Fuzz target: bytes of a TGA file -> CTgaImage::TgaImageLoad. The reader
// takes a file name, so the bytes go into an in-memory file (memfd) that is
// opened again through /proc/self/fd/N: no disk, no leftover files.
#include "formats/TgaImage.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <sys/mman.h>
#include <unistd.h>

namespace {

const std::string& MemoryFileName()
{
    static const std::string name = [] {
        const int fd = memfd_create("kx-fuzz-tga", 0);
        if (fd < 0) {
            std::perror("memfd_create");
            std::abort();
        }
        return "/proc/self/fd/" + std::to_string(fd);
    }();
    return name;
}

int MemoryFile()
{
    return std::atoi(MemoryFileName().c_str() + sizeof("/proc/self/fd/") - 1);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const int fd = MemoryFile();
    if (ftruncate(fd, 0) != 0 || (size > 0 && pwrite(fd, data, size, 0) != static_cast<ssize_t>(size)))
        std::abort();

    CTgaImage image;
    const bool loaded = CTgaImage::TgaImageLoad(MemoryFileName().c_str(), &image);
    if (loaded) {
        if (!(image.bitsPerPixel == 24 || image.bitsPerPixel == 32))
            __builtin_trap();
        // Touch the first and last byte of the block: it must be as large
        // as the record says (ASan reports anything shorter).
        const std::size_t block = std::size_t(image.width) * image.height * (image.bitsPerPixel / 8);
        if (block > 0) {
            if (!image.pixels)
                __builtin_trap();
            volatile unsigned char first = image.pixels[0];
            volatile unsigned char last = image.pixels[block - 1];
            (void)first;
            (void)last;
        }
        image.cvUnloadImage();
    } else if (image.pixels) {
        __builtin_trap();  // a refused file leaves no block
    }
    return 0;
}
