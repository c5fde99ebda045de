#pragma once
// A manifest written back as XML (UTF-8), for the copies the installer makes of itself: every
// field the reader takes, in the order it takes them, so that reading the result gives the same
// record. Comments and elements the reader skips are not kept.
#include "config/ManifestInfo.h"

#include <string>

std::string ManifestXml(const ManifestInfo& manifest);
