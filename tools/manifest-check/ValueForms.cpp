#include "tools/manifest-check/ValueForms.h"

#include "config/FileNameRules.h"
#include "tools/manifest-check/ValueRules.h"

void CheckValueForm(CSourceFile& file, const LocatedText& value, std::wstring_view name, ValueForm form) {
    if (value.text.empty())
        return;
    std::wstring problem;
    const wchar_t* code = L"";
    switch (form) {
    case ValueForm::Version:
        if (!ReadStrictVersion(value.text))
            problem =
                L"is not four numbers separated by dots (such as 17.0.0.100); the installer's version rules "
                L"then read it as 0.0.0.0.";
        code = L"bad-version";
        break;
    case ValueForm::Url:
        problem = UrlProblem(value.text);
        if (!problem.empty())
            problem += L"; the installer cannot fetch it.";
        code = L"bad-url";
        break;
    case ValueForm::FileName:
        // The installer's own rule, its reason said of the value.
        problem = UnsafeFileNameReason(value.text);
        if (problem.starts_with(L"the name "))
            problem.erase(0, 9);
        if (!problem.empty())
            problem += L": the installer uses it as a file name in its own folders, so it must be a plain "
                       L"file name.";
        code = L"bad-file-name";
        break;
    }
    if (!problem.empty())
        file.Report(Severity::Error, code, value.element,
                    L"<" + std::wstring(name) + L"> \"" + value.text + L"\" " + problem);
}
