#include "base/FileReplace.h"

#include <string>

#include <sys/stat.h>
#include <unistd.h>

bool ReplaceFile(const char* fileName, const std::function<bool(FILE*)>& write)
{
    std::string temporary = std::string(fileName) + ".XXXXXX";
    const int fd = mkstemp(&temporary[0]);
    if (fd < 0)
        return false;
    // mkstemp creates the file for its owner only; the file gets the usual
    // rights, as fopen would have given it.
    const mode_t mask = umask(0);
    umask(mask);
    fchmod(fd, 0666 & ~mask);

    bool written = false;
    FILE* file = fdopen(fd, "wb");
    if (!file) {
        close(fd);
    } else {
        written = write(file);
        // Buffered bytes reach the file only here: a full disk shows at the
        // flush or at the close, not at fwrite.
        written = written && std::fflush(file) == 0 && fsync(fileno(file)) == 0;
        written = std::fclose(file) == 0 && written;
    }
    if (written && std::rename(temporary.c_str(), fileName) == 0)
        return true;
    std::remove(temporary.c_str());
    return false;
}
