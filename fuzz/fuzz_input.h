// fuzz_input.h: turning a fuzzer's bytes into what the readers take: an archive holding them as
// one entry, or a stream over them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "assets/pak_archive.h"

// A file in memory (no disk) holding these bytes, reachable by path for as long as the process
// runs; every call replaces the previous contents.
std::string memoryFilePath(const uint8_t* data, size_t size);

// An archive in memory whose one entry, named `name`, holds the bytes. Close it with pakClose.
PakArchive* archiveWithEntry(const std::u16string& name, const uint8_t* data, size_t size);

// The real data.pak the build made, for the model the animations bake against.
std::string builtDataPak();
