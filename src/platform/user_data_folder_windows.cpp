// user_data_folder_windows.cpp: the user's roaming application data, as SDL names it for the game.
#include "platform/user_data_folder.h"

#include <SDL.h>

std::string userDataFolder() {
    // SDL makes the folder; with no organisation it is %APPDATA%\Drovana\.
    char* path = SDL_GetPrefPath("", "Drovana");
    if (!path)
        return "./";
    std::string folder = path;
    SDL_free(path);
    return folder;
}
