#pragma once
// Elements the installer never reads: out of their order, repeated, unknown, or entries it
// drops; and values that hold elements where the installer expects text.
#include "tools/manifest-check/ForwardReader.h"
#include "tools/manifest-check/ManifestLayout.h"
#include "tools/manifest-check/SourceFile.h"

#include <functional>

// True for a child the checker reads itself although the installer's reader may not (pins,
// the publisher): such children are neither unknown nor out of order.
using ExtraChildRule = std::function<bool(std::wstring_view parent, std::wstring_view child)>;

void CheckUnreadElements(CSourceFile& file, const CForwardReader& reader,
                         const std::vector<ReadContainer>& containers, const ExtraChildRule& is_extra);

// A value read from an element that holds elements reads as empty text.
void CheckTextOnly(CSourceFile& file, const CForwardReader& reader, const LocatedRecord& record);
