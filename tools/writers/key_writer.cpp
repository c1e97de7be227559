// key_writer.cpp: the .key layout: header, track name records, frames of keys and events.
#include "writers/key_writer.h"

#include <stdexcept>

#include "writers/chunk_writer.h"

namespace {

void putNameRecord(ChunkWriter& w, const std::string& name) {
    beginChunk(w, "NAME");
    putBytes(w, name.c_str(), name.size() + 1);
    endChunk(w);
}

void putEvent(ChunkWriter& w, const KeyEvent& event) {
    if (event.kind < KeyEventVisibility || event.kind > KeyEventGenerateEnd)
        throw std::invalid_argument("buildKeyFile: unknown event kind");
    beginChunk(w, kKeyEventTags[event.kind]);
    switch (event.kind) {
    case KeyEventVisibility:
        putNameRecord(w, event.name);
        putInt32(w, event.value);
        break;
    case KeyEventPartChange:
        putNameRecord(w, event.name);
        putNameRecord(w, event.secondName);
        break;
    case KeyEventSmooth:
    case KeyEventDamage:
        putInt32(w, event.value);
        break;
    case KeyEventTargetObject:
    case KeyEventSound:
    case KeyEventGenerate:
        putNameRecord(w, event.name);
        break;
    default:
        break;
    }
    endChunk(w);
}

} // namespace

std::vector<uint8_t> buildKeyFile(const KeyFileRecord& file) {
    ChunkWriter w;
    beginChunk(w, "FKEY");
    beginChunk(w, "INFO");
    putInt32(w, static_cast<int32_t>(file.trackNames.size()));
    putInt32(w, static_cast<int32_t>(file.frames.size()));
    endChunk(w);
    for (const std::string& name : file.trackNames) {
        if (name.size() + 1 > kMaxTrackNameBytes)
            throw std::invalid_argument("buildKeyFile: track name too long");
        putNameRecord(w, name);
    }
    for (const KeyFrameRecord& frame : file.frames) {
        if (frame.keys.size() != file.trackNames.size())
            throw std::invalid_argument("buildKeyFile: a frame needs one key per track");
        beginChunk(w, "KEY1");
        for (const KeyTrackKey& key : frame.keys) {
            putFloats(w, key.rotation, 4);
            putFloats(w, key.translation, 3);
            putFloats(w, key.unused, 3);
        }
        putInt32(w, static_cast<int32_t>(frame.events.size()));
        for (const KeyEvent& event : frame.events)
            putEvent(w, event);
        endChunk(w);
    }
    endChunk(w);
    return finishChunks(w);
}

KeyTrackKey makeTrackKey(const float rotation[4], const Vec3F& translation) {
    KeyTrackKey key;
    key.rotation[0] = rotation[0];
    key.rotation[1] = -rotation[1];
    key.rotation[2] = -rotation[2];
    key.rotation[3] = -rotation[3];
    key.translation[0] = translation.x;
    key.translation[1] = translation.y;
    key.translation[2] = translation.z;
    return key;
}
