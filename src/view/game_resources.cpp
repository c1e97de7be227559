// game_resources.cpp: opening and closing the game's long-lived resources in their order.
#include "view/game_resources.h"

#include "assets/pak_archive.h"
#include "assets/sound_set.h"
#include "match/match.h"
#include "view/engine3d.h"

void openArchiveAndEngine(GameResources& resources, const WideString& pakPath) {
    resources.pak = pakOpen(pakPath, 1);
    resources.engine = makeEngine3D(resources.pak);
}

void openSoundsAndMatch(GameResources& resources, SoundOutput* output) {
    resources.sounds = makeSoundSet(resources.pak, output);
    resources.match = createMatch();
}

void closeGameResources(GameResources& resources) {
    pakClose(resources.pak);
    destroyMatch(resources.match);
    destroySoundSet(resources.sounds);
    destroyEngine3D(resources.engine);
    resources = GameResources{};
}
