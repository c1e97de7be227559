// browser_storage_web.cpp: players.dat's folder on IDBFS, synced in at start and out after
// every save.
#include "platform/browser_storage.h"

#include <emscripten.h>

#include "platform/folder_sync.h"

// clang-format off
EM_JS(void, mountKeptFolder, (const char* folderName), {
    const folder = UTF8ToString(folderName);
    const state = Module.drovanaStorage = { folder: folder, ready: false, busy: false,
                                            again: false, writes: 0 };
    try {
        FS.mkdirTree(folder);
        FS.mount(IDBFS, {}, folder);
    } catch (e) {
        console.warn('drovana: no persistent storage: ' + e);
        state.ready = true;
        return;
    }
    FS.syncfs(true, (error) => {
        if (error)
            console.warn('drovana: the kept profiles could not be read: ' + error);
        state.ready = true;
    });
});

EM_JS(int, keptFolderReady, (), {
    return Module.drovanaStorage && Module.drovanaStorage.ready ? 1 : 0;
});

// One copy at a time: a save during a copy asks for one more when it ends, so the last save
// is always the one kept. `writes` counts finished copies (the browser tests wait on it).
EM_JS(void, writeKeptFolder, (), {
    const state = Module.drovanaStorage;
    if (!state || !state.ready)
        return;
    if (state.busy) {
        state.again = true;
        return;
    }
    const copy = () => {
        state.busy = true;
        FS.syncfs(false, (error) => {
            if (error)
                console.warn('drovana: the profiles could not be kept: ' + error);
            ++state.writes;
            if (state.again) {
                state.again = false;
                copy();
            } else {
                state.busy = false;
            }
        });
    };
    copy();
});
// clang-format on

void browserStorageOpen(const char* folder) {
    mountKeptFolder(folder);
}

bool browserStorageReady() {
    return keptFolderReady() != 0;
}

// IDBFS writes the whole folder as it stands in one IndexedDB transaction: the renamed file
// lands whole or not at all, and the temporary file it came from is gone by then.
void syncFolderOf(const std::string&) {
    writeKeptFolder();
}

void keepFolderSoon(const std::string&) {
    writeKeptFolder();
}
