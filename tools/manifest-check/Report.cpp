#include "tools/manifest-check/Report.h"

#include "framework/NarrowPath.h"

#include <cstdio>

namespace {

const char* SeverityName(Severity severity) {
    switch (severity) {
    case Severity::Note:
        return "note";
    case Severity::Warning:
        return "warning";
    case Severity::Error:
        break;
    }
    return "error";
}

int Count(const Findings& findings, Severity severity) {
    int count = 0;
    for (const Finding& finding : findings)
        count += finding.severity == severity ? 1 : 0;
    return count;
}

std::string JsonString(const std::wstring& text) {
    std::string out = "\"";
    for (char c : NarrowPath(text)) {
        auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (byte < 0x20) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", byte);
            out += escape;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

} // namespace

int ExitCodeFor(const Findings& findings) {
    if (Count(findings, Severity::Error) > 0)
        return 2;
    return Count(findings, Severity::Warning) > 0 ? 1 : 0;
}

std::string FormatText(const Findings& findings) {
    std::string out;
    for (const Finding& finding : findings) {
        out += NarrowPath(finding.file);
        if (finding.line > 0)
            out += ":" + std::to_string(finding.line) + ":" + std::to_string(finding.column);
        out += std::string(": ") + SeverityName(finding.severity) + ": " + NarrowPath(finding.message) +
               " [" + NarrowPath(finding.code) + "]\n";
    }
    out += std::to_string(Count(findings, Severity::Error)) + " error(s), " +
           std::to_string(Count(findings, Severity::Warning)) + " warning(s)\n";
    return out;
}

std::string FormatJson(const Findings& findings) {
    std::string out = "{\"errors\": " + std::to_string(Count(findings, Severity::Error)) +
                      ", \"warnings\": " + std::to_string(Count(findings, Severity::Warning)) +
                      ", \"exit_code\": " + std::to_string(ExitCodeFor(findings)) + ", \"problems\": [";
    for (size_t i = 0; i < findings.size(); ++i) {
        const Finding& finding = findings[i];
        out += i == 0 ? "\n  " : ",\n  ";
        out += "{\"file\": " + JsonString(finding.file) + ", \"line\": " + std::to_string(finding.line) +
               ", \"column\": " + std::to_string(finding.column) + ", \"severity\": \"" +
               SeverityName(finding.severity) + "\", \"code\": " + JsonString(finding.code) +
               ", \"message\": " + JsonString(finding.message) + "}";
    }
    out += findings.empty() ? "]}\n" : "\n]}\n";
    return out;
}
