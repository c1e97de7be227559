// jpeg_source.cpp: filling and skipping the 4096-byte input buffer from an archive entry.
#include "assets/jpeg_source.h"

#include <jerror.h>

#include "assets/pak_archive.h"

namespace {

JpegPakSource* sourceOf(j_decompress_ptr info) {
    return reinterpret_cast<JpegPakSource*>(info->src);
}

void initSource(j_decompress_ptr info) {
    JpegPakSource* source = sourceOf(info);
    source->position = 0;
    source->startOfFile = TRUE;
}

boolean fillInputBuffer(j_decompress_ptr info) {
    JpegPakSource* source = sourceOf(info);
    uint32_t count = 0;
    if (source->position < source->entrySize) {
        const uint32_t left = source->entrySize - source->position;
        count = left < kJpegSourceBufferSize ? left : kJpegSourceBufferSize;
    }
    if (count > 0)
        count = pakReadAdvance(source->archive, source->entryIndex, source->position,
                               source->buffer, count);
    if (count == 0) {
        if (source->startOfFile)
            ERREXIT(info, JERR_INPUT_EMPTY);
        // A picture cut short still ends cleanly: the library sees an end-of-image marker.
        WARNMS(info, JWRN_JPEG_EOF);
        source->buffer[0] = 0xFF;
        source->buffer[1] = JPEG_EOI;
        count = 2;
    }
    source->manager.next_input_byte = source->buffer;
    source->manager.bytes_in_buffer = count;
    source->startOfFile = FALSE;
    return TRUE;
}

void skipInputData(j_decompress_ptr info, long count) {
    JpegPakSource* source = sourceOf(info);
    if (count <= 0)
        return;
    const auto wanted = static_cast<unsigned long>(count);
    if (wanted < source->manager.bytes_in_buffer) {
        source->manager.next_input_byte += wanted;
        source->manager.bytes_in_buffer -= wanted;
        return;
    }
    // Skipping past the entry's end lands on its end rather than wrapping the 32-bit position.
    const uint64_t target = uint64_t{source->position} + (wanted - source->manager.bytes_in_buffer);
    source->position =
        static_cast<uint32_t>(target < source->entrySize ? target : source->entrySize);
    source->manager.bytes_in_buffer = 0;
}

void termSource(j_decompress_ptr) {}

} // namespace

void jpegSetSource(j_decompress_ptr info, PakArchive* archive, int32_t entryIndex) {
    if (!info->src) {
        auto* source = static_cast<JpegPakSource*>((*info->mem->alloc_small)(
            reinterpret_cast<j_common_ptr>(info), JPOOL_PERMANENT, sizeof(JpegPakSource)));
        source->buffer = static_cast<JOCTET*>((*info->mem->alloc_small)(
            reinterpret_cast<j_common_ptr>(info), JPOOL_PERMANENT, kJpegSourceBufferSize));
        info->src = &source->manager;
    }
    JpegPakSource* source = sourceOf(info);
    source->manager.init_source = initSource;
    source->manager.fill_input_buffer = fillInputBuffer;
    source->manager.skip_input_data = skipInputData;
    source->manager.resync_to_restart = jpeg_resync_to_restart;
    source->manager.term_source = termSource;
    source->archive = archive;
    source->entryIndex = entryIndex;
    source->position = 0;
    const PakEntry* entry = pakEntry(archive, entryIndex);
    source->entrySize = entry ? entry->size : 0;
    source->manager.bytes_in_buffer = 0;
    source->manager.next_input_byte = nullptr;
}
