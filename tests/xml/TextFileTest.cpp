// Reading text files: byte-order marks, declared encodings, the UTF-8 test, NUL removal,
// big-endian swap, 8-bit conversion and the reading events of the log.
#include "XmlTestSupport.h"

#include "xml/TextFile.h"

#include <gtest/gtest.h>

namespace {

struct FileCase {
    const char* file;
    int flags;
    const char16_t* text;
    const wchar_t* log;
};

const FileCase kFileCases[] = {
    {"utf8_bom_declares_1252.xml", kEncodingUtf8Bom,
     u"<?xml version=\"1.0\" encoding=\"windows-1252\"?><a>\u00e9</a>",
     L"<bom/><read encoding=\"UTF-8\" length=\"54\"/><converted_to encoding=\"UTF-16\" length=\"53\"/>"},
    {"utf16le_bom.xml", kEncodingUtf16LeBom, u"<a>\u00e9\u20ac\U0001D11E</a>",
     L"<bom/><read encoding=\"UTF-16LE\" length=\"11\"/>"},
    {"utf16be_bom.xml", kEncodingUtf16BeBom, u"<a>\u00e9\u20ac\U0001D11E</a>",
     L"<bom/><read encoding=\"UTF-16BE\" length=\"11\"/><endian_swap/>"},
    {"utf16le_bom_odd_length.xml", kEncodingUtf16LeBom, u"<a>x</a>",
     L"<bom/><read encoding=\"UTF-16LE\" length=\"8\"/>"},
    {"utf16le_bom_nuls.xml", kEncodingUtf16LeBom, u"<a>xy</a>",
     L"<bom/><read encoding=\"UTF-16LE\" length=\"10\"/><nulls_removed count=\"1\"/>"},
    {"utf16le_without_bom.xml", 0, u"<a>plain</a>",
     L"<read encoding=\"UTF-8\" length=\"24\"/><nulls_removed count=\"12\"/>"
     L"<converted_to encoding=\"UTF-16\" length=\"12\"/>"},
    {"declared_windows_1252.xml", 0, u"<?xml version=\"1.0\" encoding=\"windows-1252\"?><a>\u20ac\u00e9</a>",
     L"<read encoding=\"windows-1252\" length=\"54\"/><converted_to encoding=\"UTF-16\" length=\"54\"/>"},
    {"declared_iso_8859_1.xml", 0, u"<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><a>\u0080\u00e9</a>",
     L"<read encoding=\"ISO-8859-1\" length=\"52\"/><converted_to encoding=\"UTF-16\" length=\"52\"/>"},
    {"declared_utf16_in_8bit.xml", 0, u"<?xml version=\"1.0\" encoding=\"utf-16\"?><a>\u00e9</a>",
     L"<read encoding=\"utf-16\" length=\"48\"/><converted_to encoding=\"UTF-16\" length=\"47\"/>"},
    {"declaration_after_blank_line.xml", 0, u"\n<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><a>\u20ac</a>",
     L"<read length=\"52\"/><converted_to encoding=\"UTF-16\" length=\"52\"/>"},
    {"no_declaration_starts_with_lt.xml", 0, u"<a>\ufffdx</a>",
     L"<read encoding=\"UTF-8\" length=\"9\"/><converted_to encoding=\"UTF-16\" length=\"9\"/>"},
    {"blank_line_utf8.xml", 0, u"\n<a>\u00e9</a>",
     L"<read encoding=\"UTF-8\" length=\"10\"/><utf8_detection/><converted_to encoding=\"UTF-16\" "
     L"length=\"9\"/>"},
    {"blank_line_ansi.xml", 0, u"\n<a>\u00e9x</a>",
     L"<read length=\"10\"/><converted_to encoding=\"UTF-16\" length=\"10\"/>"},
    {"nul_in_8bit.xml", 0, u"<a>xy</a>",
     L"<read encoding=\"UTF-8\" length=\"11\"/><nulls_removed count=\"2\"/>"
     L"<converted_to encoding=\"UTF-16\" length=\"9\"/>"},
    {"html_meta_charset.html", 0,
     u"<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=koi8-r\"></head>"
     u"<body>\u0430</body></html>",
     L"<read encoding=\"koi8-r\" length=\"108\"/><converted_to encoding=\"UTF-16\" length=\"108\"/>"},
    {"empty.xml", 0, u"",
     L"<read encoding=\"UTF-8\" length=\"0\"/><utf8_detection/><converted_to encoding=\"UTF-16\" "
     L"length=\"0\"/>"},
};

class TextFileTable : public ::testing::TestWithParam<FileCase> {};

TEST_P(TextFileTable, DecodesTheFile) {
    const FileCase& c = GetParam();
    XmlText text = XmlTextFromWide(L"old");
    int flags = -1;
    std::wstring log;
    ASSERT_TRUE(ReadTextFile(XmlFixturePath(c.file), text, flags, log));
    EXPECT_EQ(WideFromXmlText(text), Utf16(c.text));
    EXPECT_EQ(flags, c.flags);
    EXPECT_EQ(log, c.log);
}

INSTANTIATE_TEST_SUITE_P(Fixtures, TextFileTable, ::testing::ValuesIn(kFileCases), [](const auto& info) {
    std::string name = info.param.file;
    for (char& c : name)
        c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    return name;
});

TEST(TextFile, BigEndianReadsTheSameAsLittleEndian) {
    XmlDocument little, big;
    ASSERT_TRUE(little.Load(XmlFixturePath("utf16le_bom.xml")));
    ASSERT_TRUE(big.Load(XmlFixturePath("utf16be_bom.xml")));
    EXPECT_EQ(little.Text(), big.Text());
    EXPECT_EQ(little.Flags(), kEncodingUtf16LeBom);
    EXPECT_EQ(big.Flags(), kEncodingUtf16BeBom);
    ASSERT_TRUE(big.FindElement(L"a"));
    EXPECT_EQ(big.ElementText(), Utf16(u"\u00e9\u20ac\U0001D11E"));
}

TEST(TextFile, MissingFileIsAFileError) {
    XmlText text = XmlTextFromWide(L"old");
    int flags = -1;
    std::wstring log;
    EXPECT_FALSE(ReadTextFile(XmlFixturePath("no_such_file.xml"), text, flags, log));
    EXPECT_TRUE(text.empty());
    EXPECT_EQ(flags, 0);
    EXPECT_TRUE(log.starts_with(L"<file_error msg=\"")) << std::string(log.begin(), log.end());
    EXPECT_TRUE(log.ends_with(L"\" n=\"2\"/>")) << "file not found is error 2 on both systems";
    EXPECT_EQ(log.find_first_of(L"\r\n"), std::wstring::npos);
    EXPECT_GT(log.size(), std::wstring_view(L"<file_error msg=\"\" n=\"2\"/>").size()) << "the system's text";

    XmlDocument document;
    EXPECT_FALSE(document.Load(XmlFixturePath("no_such_file.xml")));
    EXPECT_TRUE(document.Text().empty());
    EXPECT_EQ(document.FreePos(), 1);
    EXPECT_FALSE(document.FindElement(L""));
    EXPECT_TRUE(document.ResultLog().starts_with(L"<file_error "));
}

TEST(TextFile, FolderIsAFileError) {
    std::string folder = std::string(NVX_TEST_DATA_DIR) + "/xml";
    XmlDocument document;
    EXPECT_FALSE(document.Load(std::wstring(folder.begin(), folder.end())));
    EXPECT_TRUE(document.Text().empty());
    EXPECT_TRUE(document.ResultLog().starts_with(L"<file_error msg=\""))
        << std::string(document.ResultLog().begin(), document.ResultLog().end());
    EXPECT_EQ(document.ResultLog().find(L"<read"), std::wstring::npos);
}

TEST(TextFile, EmptyFileLoadsButHasNoDocumentElement) {
    XmlDocument document;
    EXPECT_FALSE(document.Load(XmlFixturePath("empty.xml")));
    EXPECT_TRUE(document.ResultLog().ends_with(L"<no_root_element/>"));
}

TEST(TextFile, ManifestLikeFileLoadsAndNavigates) {
    XmlDocument document;
    ASSERT_TRUE(document.Load(XmlFixturePath("manifest_like.xml")))
        << std::string(document.ResultLog().begin(), document.ResultLog().end());
    ASSERT_TRUE(document.FindElement(L"manifest"));
    ASSERT_TRUE(document.FindChildElement(L"product"));
    ASSERT_TRUE(document.EnterElement());
    ASSERT_TRUE(document.FindChildElement(L"name"));
    ASSERT_TRUE(document.EnterElement());
    EXPECT_EQ(document.ElementText(), L"Lumetra & Co");
    ASSERT_TRUE(document.LeaveElement());
    ASSERT_TRUE(document.LeaveElement());
    ASSERT_TRUE(document.FindChildElement(L"language"));
    ASSERT_TRUE(document.FindChildElement(L"language"));
    ASSERT_TRUE(document.EnterElement());
    ASSERT_TRUE(document.FindChildElement(L"file"));
    ASSERT_TRUE(document.EnterElement());
    EXPECT_EQ(document.ElementText(), L"fr.msi");
}

TEST(TextFile, DecodeTextBytesMatchesReadingTheFile) {
    std::string bytes = "\xEF\xBB\xBF<a>\xC3\xA9</a>";
    XmlText text;
    int flags = 0;
    std::wstring log;
    DecodeTextBytes(bytes, text, flags, log);
    EXPECT_EQ(WideFromXmlText(text), Utf16(u"<a>\u00e9</a>"));
    EXPECT_EQ(flags, kEncodingUtf8Bom);
    XmlDocument document;
    EXPECT_TRUE(document.LoadFromBytes(bytes));
    EXPECT_EQ(document.Text(), text);
}

struct CodePageCase {
    const wchar_t* name;
    int code_page;
};

const CodePageCase kCodePageCases[] = {
    {L"", 0},
    {L"UTF-32", kCodePageUtf32Mark},
    {L"UTF-32BE", kCodePageUtf32Mark},
    {L"utf-32", 12000},
    {L"Utf-32", 12000},
    {L"utf-32be", 12001},
    {L"windows-1252", 1252},
    {L"WINDOWS-1252", 1252},
    {L"ISO-8859-1", 28591},
    {L"iso_8859-1:1987", 28591},
    {L"UTF-8", 65001},
    {L"utf8", 65001},
    {L"cp1256", 1256},
    {L"cp1256 ", 1256},
    {L"shifft_jis", 932},
    {L"_iso-2022-jp$sio", 50222},
    {L"extended_unix_code_packed_format_for_japanese", 20932},
    {L"x-mac-croatian", 10082},
    {L"koi8-r", 20866},
    {L"cp500", 775},
    {L"utf-8 ", -1},
    {L" utf-8", -1},
    {L"no-such-charset", -1},
    {L"x", -1},
};

class CodePageTable : public ::testing::TestWithParam<CodePageCase> {};

TEST_P(CodePageTable, MapsTheName) {
    EXPECT_EQ(CodePageFromName(GetParam().name), GetParam().code_page);
}

INSTANTIATE_TEST_SUITE_P(Names, CodePageTable, ::testing::ValuesIn(kCodePageCases));

TEST(CodePageFromName, NamesOfHundredCharactersOrMoreAreUnknown) {
    std::wstring name = L"utf-8";
    name.resize(100, L' ');
    EXPECT_EQ(CodePageFromName(name), -1);
    EXPECT_EQ(CodePageFromName(std::wstring(100000, L'a')), -1);
}

struct DeclarationCase {
    const char* name;
    const wchar_t* text;
    const wchar_t* encoding;
};

const DeclarationCase kDeclarationCases[] = {
    {"double_quotes", L"<?xml version=\"1.0\" encoding=\"windows-1252\"?><a/>", L"windows-1252"},
    {"single_quotes", L"<?xml version='1.0' encoding='koi8-r' ?>", L"koi8-r"},
    {"unquoted", L"<?xml encoding=latin1 ?>", L"latin1"},
    {"blanks_around_equals", L"<?xml version=\"1.0\" encoding = \"utf-8\"?>", L"utf-8"},
    {"no_encoding", L"<?xml version=\"1.0\"?><a/>", L""},
    {"not_at_offset_zero", L" <?xml version=\"1.0\" encoding=\"koi8-r\"?>", L""},
    {"other_target_skipped", L"<?xml-stylesheet href=\"a\"?><a/>", L""},
    {"truncated_declaration", L"<?xml version=\"1.0\" encoding=\"koi", L""},
    {"html_meta",
     L"<html><head><title>t</title><meta http-equiv=\"Content-Type\" "
     L"content=\"text/html; charset=iso-8859-2\"></head></html>",
     L"iso-8859-2"},
    {"html_meta_empty_element",
     L"<!DOCTYPE html><html><!-- c --><meta http-equiv='Content-Type' "
     L"content='text/html;charset=utf-8'/>",
     L"utf-8"},
    {"html_meta_without_charset_then_with",
     L"<html><meta http-equiv=\"Content-Type\" content=\"text/html\">"
     L"<meta http-equiv=\"Content-Type\" content=\"a; charset=cp1251\">",
     L"cp1251"},
    {"html_meta_other_equiv", L"<html><meta http-equiv=\"refresh\" content=\"charset=cp1251\">", L""},
    {"html_meta_after_head",
     L"<html><head></head><meta http-equiv=\"Content-Type\" "
     L"content=\"text/html; charset=koi8-r\">",
     L""},
    {"first_start_tag_not_html", L"<body><meta http-equiv=\"Content-Type\" content=\"charset=koi8-r\">", L""},
    {"scanner_error_ends_search", L"<html><1><meta http-equiv=\"Content-Type\" content=\"charset=koi8-r\">",
     L""},
    {"nothing", L"", L""},
};

class DeclarationTable : public ::testing::TestWithParam<DeclarationCase> {};

TEST_P(DeclarationTable, FindsTheDeclaredEncoding) {
    EXPECT_EQ(FindDeclaredEncoding(XmlTextFromWide(GetParam().text)), GetParam().encoding);
}

INSTANTIATE_TEST_SUITE_P(Texts, DeclarationTable, ::testing::ValuesIn(kDeclarationCases),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
