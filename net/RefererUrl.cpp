#include "net/RefererUrl.h"

// Kept in a file of its own so that a test program can link its own value in its place.
extern const wchar_t referer_url[] = NVX_REFERER_URL;
