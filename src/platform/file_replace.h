// file_replace.h: a file replaced whole or not at all, and a second name kept for a file about to
// be replaced. The POSIX calls are in file_replace.cpp, the Windows ones in
// file_replace_windows.cpp: a rename over an existing file fails there.
#pragma once

#include <cstddef>
#include <string>

// Writes bytes to a temporary file in path's folder, on disk before it takes path's place, so a
// failure or a kill at any moment leaves the old file or the new one. False when nothing changed.
bool replaceFileWith(const std::string& path, const void* bytes, size_t size);

enum class SecondName { Kept, AlreadyTaken, Failed };

// Keeps the file at path under the name kept too, never over an existing file.
SecondName keepUnderSecondName(const std::string& path, const std::string& kept);
