// The small rules of the checker: SHA-256 against the standard's vectors, the file-name rule,
// the forms of versions and addresses, and the report's exit codes and JSON.
#include "config/FileNameRules.h"
#include "tools/manifest-check/Report.h"
#include "tools/manifest-check/Sha256.h"
#include "tools/manifest-check/ValueRules.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Sha256Hex(const std::string& bytes, size_t piece) {
    CSha256 hash;
    for (size_t at = 0; at < bytes.size(); at += piece)
        hash.Add(reinterpret_cast<const uint8_t*>(bytes.data()) + at, std::min(piece, bytes.size() - at));
    return hash.FinishHex();
}

TEST(CheckerSha256, MatchesTheStandardVectorsFedInAnyPieces) {
    const std::pair<std::string, const char*> vectors[] = {
        {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
        {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
         "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
        {"abcdefghbcdefghicdefghijdefghijkefghijklfghijklmghijklmnhijklmnoijklmnopjklmnopqklmnopqrlmnopqrs"
         "mnopqrstnopqrstu",
         "cf5b16a778af8380036ce59e7b0492370b249b11e8f07a51afac45037afee9d1"},
        {std::string(1000000, 'a'), "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
        // 55, 56 and 64 bytes: the padding's edges.
        {std::string(55, 'a'), "9f4390f8d30c2dd92ec9f095b65e2b9ae9b0a925a5258e241c9f1e910f734318"},
        {std::string(56, 'a'), "b35439a4ac6f0948b6d6f9e3c6af0f5f590ce20f1bde7090ef7970686ec6738a"},
        {std::string(64, 'a'), "ffe054fe7ae0cb6dc65c3af9b61d5209f439851db43d0ba5997337df154668eb"},
    };
    for (const auto& [bytes, digest] : vectors) {
        for (size_t piece : {size_t{1}, size_t{63}, size_t{64}, size_t{4096}})
            EXPECT_EQ(Sha256Hex(bytes, piece), digest) << bytes.size() << " bytes in pieces of " << piece;
    }
}

TEST(CheckerFileNames, RefusesWhatIsNoPlainFileName) {
    const std::pair<const wchar_t*, bool> names[] = {
        {L"vc_redist.exe", true},
        {L"Lumetra Professional", true},
        {L"1031.mst", true},
        {L"con.exe.bak", false}, // the device name counts before the first dot
        {L"Lumetra Photo/Video", false},
        {L"..\\evil.msi", false},
        {L"..", false},
        {L"a..b.exe", false},
        {L"C:evil.exe", false},
        {L"file.exe:stream", false},
        {L"tab\there.exe", false},
        {L"CON", false},
        {L"nul.txt", false},
        {L"Com1.exe", false},
        {L"LPT9", false},
        {L"COM0.exe", true}, // only COM1 to COM9 are devices
        {L"console.exe", true},
        {L"what?.exe", false},
        {L"setup.exe.", false},
        {L"setup.exe ", false},
        {L"", false},
    };
    for (const auto& [name, usable] : names)
        EXPECT_EQ(UnsafeFileNameReason(name).empty(), usable) << std::wstring(name).size();
}

TEST(CheckerValueForms, VersionsAreFourPlainNumbers) {
    EXPECT_TRUE(ReadStrictVersion(L"17.0.0.100"));
    EXPECT_TRUE(ReadStrictVersion(L"0.0.0.0"));
    for (const wchar_t* bad : {L"17.0.100", L"17.0.0.100.1", L"17..0.100", L"17.0.0.100 ", L" 17.0.0.100",
                               L"17.0.0.1a", L"17.0.0.-1", L"1.0.0.99999999999", L""})
        EXPECT_FALSE(ReadStrictVersion(bad)) << std::wstring(bad).size();
    auto v = [](const wchar_t* text) { return *ReadStrictVersion(text); };
    EXPECT_TRUE(IsLaterVersion(v(L"1.0.1.0"), v(L"1.0.0.9")));
    EXPECT_FALSE(IsLaterVersion(v(L"1.0.0.5"), v(L"1.0.0.5")));
    EXPECT_FALSE(IsLaterVersion(v(L"0.9.9.9"), v(L"1.0.0.0")));
}

TEST(CheckerValueForms, AddressesAreHttpOrHttpsWithAHost) {
    EXPECT_EQ(UrlProblem(L"http://127.0.0.1:8731/msi/p.msi"), L"");
    EXPECT_EQ(UrlProblem(L"HTTPS://cdn.example.com/p.msi"), L"");
    for (const wchar_t* bad : {L"ftp://h/p.msi", L"//h/p.msi", L"http:///p.msi", L"http://h/a b.msi",
                               L"p.msi", L"http://:80/p.msi"})
        EXPECT_NE(UrlProblem(bad), L"") << std::wstring(bad).size();
    EXPECT_TRUE(IsSha256Text(std::wstring(64, L'A')));
    EXPECT_FALSE(IsSha256Text(std::wstring(63, L'a')));
    EXPECT_FALSE(IsSha256Text(std::wstring(63, L'a') + L"g"));
    EXPECT_TRUE(IsPlainLanguageId(L"1031"));
    for (const wchar_t* bad : {L"", L"0", L" 1031", L"1031x", L"-1031", L"+1031"})
        EXPECT_FALSE(IsPlainLanguageId(bad));
}

TEST(CheckerReport, ExitCodesAndJsonForPipelines) {
    Findings findings;
    EXPECT_EQ(ExitCodeFor(findings), 0);
    findings.push_back({Severity::Note, L"not-checked", L"m.xml", 0, 0, L"n"});
    EXPECT_EQ(ExitCodeFor(findings), 0);
    findings.push_back({Severity::Warning, L"missing-pin", L"m.xml", 3, 5, L"w"});
    EXPECT_EQ(ExitCodeFor(findings), 1);
    findings.push_back({Severity::Error, L"bad-url", L"dir\\m.xml", 7, 9, L"<a> \"quoted\"\tand \u00e9"});
    EXPECT_EQ(ExitCodeFor(findings), 2);
    std::string json = FormatJson(findings);
    EXPECT_NE(json.find("\"errors\": 1, \"warnings\": 1, \"exit_code\": 2"), std::string::npos) << json;
    EXPECT_NE(json.find("{\"file\": \"dir\\\\m.xml\", \"line\": 7, \"column\": 9, \"severity\": \"error\", "
                        "\"code\": \"bad-url\", \"message\": \"<a> \\\"quoted\\\"\\u0009and \xc3\xa9\"}"),
              std::string::npos)
        << json;
    std::string text = FormatText(findings);
    EXPECT_NE(text.find("m.xml:3:5: warning: w [missing-pin]\n"), std::string::npos) << text;
    EXPECT_NE(text.find("1 error(s), 1 warning(s)\n"), std::string::npos) << text;
}

} // namespace
