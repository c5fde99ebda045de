// The Referer a build configured with NVX_REFERER_URL would send; linked into the Referer tests
// in place of the product's (empty) setting.
#include "net/RefererUrl.h"

extern const wchar_t referer_url[] = L"https://www.lumetra.example/download/";
