#pragma once
// A control's last picture together with the look it was rendered from. A paint with the same
// look copies the picture; a paint with another look renders it first. `Look` is compared with
// == and has the picture's `width` and `height`.
#include "skin/PaintCache.h"

#include <optional>
#include <utility>

template <typename Look> class CPaintMemo {
public:
    // Copies the picture of `look` to the target with its top-left corner at (x, y), first calling
    // render(surface, look) when the kept picture is of another look. render answers whether it
    // drew the whole picture. False when nothing was copied (no surface, or render failed).
    template <typename Render> bool Paint(HDC target, int x, int y, Look look, Render&& render) {
        if (look_ != look) {
            look_.reset();
            HDC surface = cache_.Surface(target, look.width, look.height);
            if (!surface || !render(surface, std::as_const(look)))
                return false;
            look_ = std::move(look);
        }
        cache_.CopyTo(target, x, y);
        return true;
    }

    // Forgets the look and frees the picture.
    void Clear() noexcept {
        look_.reset();
        cache_.Clear();
    }

private:
    CPaintCache cache_;
    std::optional<Look> look_; // what cache_ holds
};
