// nvx-manifest-check MANIFEST [VERSION_XML] [--online] [--json]
// Checks a product manifest and its version.xml with the installer's own reader and rules
// before they are published. Exit code 0: clean; 1: warnings only; 2: errors; 3: wrong usage.
#include "tools/manifest-check/CheckRun.h"
#include "tools/manifest-check/Report.h"

#include <cstdio>
#include <string>
#include <vector>

#ifdef _WIN32
#include "net/InternetSession.h"
#else
#include "xml/Utf8.h"
#endif

namespace {

constexpr char kUsage[] =
    "usage: nvx-manifest-check MANIFEST [VERSION_XML] [--online] [--json]\n"
    "  checks a product manifest (and the version.xml published with it) the way the installer reads them\n"
    "  --online  fetch every address as the installer does and check the pinned SHA-256 values\n"
    "  --json    print the findings as JSON\n"
    "exit code: 0 clean, 1 warnings only, 2 errors, 3 wrong usage\n";

int Run(const std::vector<std::wstring>& arguments) {
    CheckRequest request;
    bool json = false;
    std::vector<std::wstring> files;
    for (const std::wstring& argument : arguments) {
        if (argument == L"--online")
            request.online = true;
        else if (argument == L"--json")
            json = true;
        else if (argument.starts_with(L"-"))
            files.assign(3, {}); // unknown option: usage
        else
            files.push_back(argument);
    }
    if (files.empty() || files.size() > 2) {
        std::fputs(kUsage, stderr);
        return 3;
    }
    request.manifest_path = files[0];
    if (files.size() == 2)
        request.version_xml_path = files[1];
#ifdef _WIN32
    CInternetSessionOwner session;
#endif
    Findings findings = RunChecks(request);
    std::string report = json ? FormatJson(findings) : FormatText(findings);
    std::fwrite(report.data(), 1, report.size(), stdout);
    std::fflush(stdout);
    return ExitCodeFor(findings);
}

} // namespace

#ifdef _WIN32
int wmain(int argc, wchar_t** argv) {
    return Run(std::vector<std::wstring>(argv + 1, argv + argc));
}
#else
int main(int argc, char** argv) {
    std::vector<std::wstring> arguments;
    for (int i = 1; i < argc; ++i) {
        XmlText units;
        AppendUtf8AsUtf16(argv[i], units);
        arguments.push_back(WideFromXmlText(units));
    }
    return Run(arguments);
}
#endif
