// pictures_folder.h: where F12 puts its screenshots.
#pragma once

#include <string>

// The user's pictures folder (UTF-8, no trailing separator); empty when there is none.
std::string userPicturesFolder();
