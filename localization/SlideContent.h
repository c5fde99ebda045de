#pragma once
// Which product pictures the progress page shows, and whether the user's region is one where
// the License Terms must be accepted explicitly. Plain rules over their inputs; the page reads
// the DPI, the language and the registry.
#include <cstdint>
#include <string>
#include <vector>

// The slide folder of a language at a DPI: <language_folder><id>\slidesPro\<100|125|150|200>\.
std::wstring SlideFolder(const std::wstring& language_folder, int32_t language_id, int snapped_dpi);

// The folder name of the pictures drawn for a snapped DPI.
int SlideDpiFolder(int snapped_dpi);

// The Windows region (GeoID) as stored in the "Nation" value: a decimal number, 0 when it is
// missing or not a number.
int ParseGeoId(const std::wstring& nation);

// Whether a GeoID is one of the regions where the terms start unaccepted.
bool IsConsentGeoId(int geo_id);

// Paths longer than this are skipped, the way the folder check refuses longer folders.
inline constexpr std::size_t kMaxSlidePath = 263;
