#pragma once
// Generated benchmark documents, written once into a folder and reused.
#include <string>

enum class BenchDocumentKind { ElementHeavy, TextHeavy };

// Writes (when missing) and returns the path of a UTF-8 document of about `bytes` bytes.
std::string BenchDocumentPath(const std::string& folder, BenchDocumentKind kind, size_t bytes);
