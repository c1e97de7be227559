// pictures_folder.cpp: the pictures folder of the freedesktop user-dirs convention.
#include "platform/pictures_folder.h"

#include <cstdlib>

#include "platform/screenshot.h"

namespace {

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

} // namespace

std::string userPicturesFolder() {
    return picturesFolder(environment("HOME"), environment("XDG_CONFIG_HOME"));
}
