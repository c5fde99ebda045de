#pragma once
// The site every request names in its Referer header; chosen at build time (NVX_REFERER_URL),
// empty for no header.
extern const wchar_t referer_url[];
