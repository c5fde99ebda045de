#include "skin/GdiOwners.h"

namespace skin {

namespace {
// UI thread only, like all painting.
long live_objects = 0;
} // namespace

long LiveGdiObjects() noexcept {
    return live_objects;
}

void detail::CountCreated() noexcept {
    ++live_objects;
}

void detail::CountDeleted() noexcept {
    --live_objects;
}

} // namespace skin
