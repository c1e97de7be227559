// fuzz_input.cpp: memory-backed files for the fuzz targets.
#include "fuzz_input.h"

#include <stdexcept>
#include <sys/mman.h>
#include <unistd.h>

#include "writers/pak_writer.h"

namespace {

int memoryFile() {
    static const int fd = memfd_create("drovana-fuzz", 0);
    if (fd < 0)
        throw std::runtime_error("memfd_create failed");
    return fd;
}

} // namespace

std::string memoryFilePath(const uint8_t* data, size_t size) {
    const int fd = memoryFile();
    if (ftruncate(fd, 0) != 0 || pwrite(fd, data, size, 0) != static_cast<ssize_t>(size))
        throw std::runtime_error("cannot fill the memory file");
    return "/proc/self/fd/" + std::to_string(fd);
}

PakArchive* archiveWithEntry(const std::u16string& name, const uint8_t* data, size_t size) {
    const std::vector<uint8_t> bytes = buildPak({{name, std::vector<uint8_t>(data, data + size)}});
    return pakOpen(fromUtf8(memoryFilePath(bytes.data(), bytes.size())), 1);
}

std::string builtDataPak() {
    return DROVANA_DATA_PAK;
}
