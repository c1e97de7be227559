// owned.h: what a test made, freed by its own free function however the test ends, an ASSERT
// that returns early included.
#pragma once

#include <memory>

template <auto Free> struct FreedBy {
    template <typename T> void operator()(T* made) const { Free(made); }
};

// A pointer from a make or open function, e.g. Owned<ImageButton, freeImageButton>.
template <typename T, auto Free> using Owned = std::unique_ptr<T, FreedBy<Free>>;

// A record made and freed in place, e.g. OwnedRecord<FrameBuffers, makeFrameBuffers,
// freeFrameBuffers>.
template <typename T, auto Make, auto Free> struct OwnedRecord : T {
    OwnedRecord() { Make(static_cast<T&>(*this)); }
    ~OwnedRecord() { Free(static_cast<T&>(*this)); }
    OwnedRecord(const OwnedRecord&) = delete;
    OwnedRecord& operator=(const OwnedRecord&) = delete;
};
