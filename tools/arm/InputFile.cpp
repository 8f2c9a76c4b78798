// The files kalimbrax-arm reads (see InputFile.h).
#include "tools/arm/InputFile.h"

#include "base/Log.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>

bool CheckInputFile(const std::string& path, std::size_t maxBytes, const char* who)
{
    struct stat info;
    if (stat(path.c_str(), &info) != 0) {
        LogError("%s -- %s : fichier absent (%s)", who, path.c_str(), std::strerror(errno));
        return false;
    }
    if (!S_ISREG(info.st_mode)) {
        LogError("%s -- %s : pas un fichier ordinaire (un répertoire, un tube ou un périphérique)", who, path.c_str());
        return false;
    }
    if (static_cast<unsigned long long>(info.st_size) > maxBytes) {
        LogError("%s -- %s : %llu octets, %zu au plus", who, path.c_str(),
                 static_cast<unsigned long long>(info.st_size), maxBytes);
        return false;
    }
    return true;
}

bool ReadInputFile(const std::string& path, std::size_t maxBytes, const char* who, std::string* bytes)
{
    if (!CheckInputFile(path, maxBytes, who))
        return false;
    bytes->clear();
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) {
        LogError("%s -- %s : lecture impossible (%s)", who, path.c_str(), std::strerror(errno));
        return false;
    }
    char buffer[65536];
    std::size_t n;
    // Bounded again: the file may have grown since it was looked at.
    while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0 && bytes->size() <= maxBytes)
        bytes->append(buffer, n);
    const bool read = !std::ferror(file) && bytes->size() <= maxBytes;
    std::fclose(file);
    if (!read)
        LogError("%s -- %s : lecture impossible", who, path.c_str());
    return read;
}
