#pragma once
// The forms of single values (versions, addresses, file names), reported where they are wrong.
#include "tools/manifest-check/ForwardReader.h"
#include "tools/manifest-check/SourceFile.h"

enum class ValueForm { Version, Url, FileName };

// Nothing to report for an absent or empty value: whether it must be there is another check.
void CheckValueForm(CSourceFile& file, const LocatedText& value, std::wstring_view name, ValueForm form);
