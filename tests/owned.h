// owned.h: what the game makes and frees in pairs, held so that it is freed however a test ends
// (an ASSERT returns early and would skip a free at the end of the body).
#pragma once

#include <memory>

template <auto Free> struct FreedBy {
    template <typename T> void operator()(T* resource) const { Free(resource); }
};

// Owned<Model, freeModel> model{loadModelFile(...)}: freed when it goes out of scope.
template <typename T, auto Free> using Owned = std::unique_ptr<T, FreedBy<Free>>;
