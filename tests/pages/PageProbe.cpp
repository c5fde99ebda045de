// Test program run next to the real installer (scripts/demo-screenshot.sh): waits for a wizard
// page to show and, at that moment, reads the screen and records every visible control of the
// page: its rectangle in the page and whether anything but page background is painted in it.
//   page_probe ID TIMEOUT_SECONDS RECORD [REFERENCE]
// ID is a control of the page awaited. The page counts as shown when that control is visible
// and the wizard's thread has answered twice (it is back in its message loop; see HasSettled):
// the moment a person, or a screenshot, first sees it. The record goes to RECORD: "page WIDTH",
// then one control a line, "id left top width height painted label" (label: 1 a label with
// text, 2 one without).
// Every visible control must be painted: some pixel in it differs from the page background (a
// label without text has nothing to paint). With REFERENCE (the record of the same page at
// 96 DPI) every control visible there must be visible here too, its rectangle that one scaled to
// this screen's DPI within 2 pixels. Text does not grow exactly with the DPI (font heights are
// whole pixels, glyphs are hinted), so in a row laid out around a label's measured text the
// left edges and widths may be off by 1.5 % of the page's width more.
// Each fault is printed and the exit code is 3; exit code 1: the page was not shown in time.
#include "app/SingleInstance.h"
#include "resources/resource.h"
#include "skin/ScreenDpi.h"
#include "skin/ThemePalette.h"
#include "tests/support/InstallerProcess.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <string>
#include <vector>

namespace {

constexpr int kTolerance = 2;
constexpr DWORD kGraceMs = 50;
constexpr double kTextRowShare = 0.015; // of the page width, in rows laid out around text

enum LabelKind { kNoLabel = 0, kTextLabel = 1, kBlankLabel = 2 };

struct ControlRecord {
    int id = 0;
    RECT rect{}; // in the page's client coordinates
    bool painted = false;
    int label = kNoLabel;
};

struct PageRecord {
    int width = 0; // of the page's client area
    std::vector<ControlRecord> controls;
};

// The wizard (not the version check, which has the same class) with the control shown and its
// thread back in its loop; polled often, so that the page is caught as soon as it shows.
HWND WaitForShownPage(int id, DWORD timeout_ms, HWND* control) {
    const DWORD start = ::GetTickCount();
    for (;;) {
        HWND guide = ::FindWindowW(kInstallerWindowClass, nullptr);
        if (guide && !::GetDlgItem(guide, IDC_VALIDATOR_PROGRESS)) {
            *control = nvxtest::FindShownControl(guide, id);
            if (*control && nvxtest::HasSettled(guide))
                return guide;
        }
        if (::GetTickCount() - start >= timeout_ms)
            return nullptr;
        ::Sleep(2);
    }
}

// The screen's pixels over the rectangle (screen coordinates), top row first, as 0x00RRGGBB.
std::vector<std::uint32_t> ReadScreen(const RECT& area) {
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    std::vector<std::uint32_t> pixels;
    if (width <= 0 || height <= 0)
        return pixels;
    nvx::ClientDc screen(nullptr);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(info.bmiHeader), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    nvx::UniqueBitmap bitmap(::CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    nvx::UniqueMemoryDc memory(::CreateCompatibleDC(screen.get()));
    if (!screen || !bitmap || !memory)
        return pixels;
    HGDIOBJ previous = ::SelectObject(memory.get(), bitmap.get());
    const BOOL copied =
        ::BitBlt(memory.get(), 0, 0, width, height, screen.get(), area.left, area.top, SRCCOPY | CAPTUREBLT);
    ::GdiFlush();
    ::SelectObject(memory.get(), previous);
    if (!copied)
        return pixels;
    const auto* source = static_cast<const std::uint32_t*>(bits);
    pixels.assign(source, source + static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    for (std::uint32_t& pixel : pixels)
        pixel &= 0xFFFFFF;
    return pixels;
}

std::uint32_t Rgb(COLORREF color) {
    return (static_cast<std::uint32_t>(GetRValue(color)) << 16) |
           (static_cast<std::uint32_t>(GetGValue(color)) << 8) | GetBValue(color);
}

// Whether some pixel of the rectangle, where it lies in the captured client area, is not page
// background.
bool ShowsPaint(const std::vector<std::uint32_t>& pixels, const RECT& client, const RECT& rect,
                std::uint32_t background) {
    RECT area{};
    if (pixels.empty() || !::IntersectRect(&area, &rect, &client))
        return false;
    const int stride = client.right;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            if (pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(stride) + x] != background)
                return true;
    return false;
}

// Every visible control of the page as it is now. Under Wine what a program has drawn reaches
// the X server when its thread next waits, so a control not on screen yet gets one more look
// after kGraceMs: a control painted that late counts as painted, one painted later does not.
PageRecord RecordPage(HWND page) {
    RECT client{};
    ::GetClientRect(page, &client);
    POINT origin{0, 0};
    ::ClientToScreen(page, &origin);
    const RECT screen_area{origin.x, origin.y, origin.x + client.right, origin.y + client.bottom};
    const std::vector<std::uint32_t> pixels = ReadScreen(screen_area);
    const std::uint32_t background = Rgb(theThemePalette.window_background);

    PageRecord page_record;
    page_record.width = client.right;
    for (HWND child = ::GetWindow(page, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (!::IsWindowVisible(child))
            continue;
        ControlRecord record;
        record.id = ::GetDlgCtrlID(child);
        if (nvxtest::ClassName(child) == L"Static")
            record.label = nvxtest::WindowText(child).empty() ? kBlankLabel : kTextLabel;
        ::GetWindowRect(child, &record.rect);
        ::MapWindowPoints(nullptr, page, reinterpret_cast<POINT*>(&record.rect), 2);
        record.painted = ShowsPaint(pixels, client, record.rect, background);
        page_record.controls.push_back(record);
    }
    bool all_painted = true;
    for (const ControlRecord& r : page_record.controls)
        all_painted = all_painted && (r.painted || r.label == kBlankLabel);
    if (all_painted)
        return page_record;
    ::Sleep(kGraceMs);
    const std::vector<std::uint32_t> later = ReadScreen(screen_area);
    for (ControlRecord& r : page_record.controls)
        r.painted = r.painted || ShowsPaint(later, client, r.rect, background);
    return page_record;
}

bool Write(const std::wstring& path, const PageRecord& page) {
    std::ofstream out(path.c_str());
    out << "page " << page.width << '\n';
    for (const ControlRecord& r : page.controls)
        out << r.id << ' ' << r.rect.left << ' ' << r.rect.top << ' ' << r.rect.right - r.rect.left << ' '
            << r.rect.bottom - r.rect.top << ' ' << (r.painted ? 1 : 0) << ' ' << r.label << '\n';
    return static_cast<bool>(out);
}

PageRecord Read(const std::wstring& path) {
    PageRecord page;
    std::ifstream in(path.c_str());
    std::string word;
    in >> word >> page.width;
    ControlRecord r;
    int width = 0, height = 0, painted = 0;
    while (in >> r.id >> r.rect.left >> r.rect.top >> width >> height >> painted >> r.label) {
        r.rect.right = r.rect.left + width;
        r.rect.bottom = r.rect.top + height;
        r.painted = painted != 0;
        page.controls.push_back(r);
    }
    return page;
}

const ControlRecord* Find(const PageRecord& page, int id) {
    for (const ControlRecord& r : page.controls)
        if (r.id == id)
            return &r;
    return nullptr;
}

// Whether a label with text shares the control's row (their spans overlap vertically).
bool InTextRow(const PageRecord& page, const ControlRecord& control) {
    for (const ControlRecord& r : page.controls)
        if (r.label == kTextLabel && r.rect.top < control.rect.bottom && control.rect.top < r.rect.bottom)
            return true;
    return false;
}

std::string Describe(int id, const char* fault) {
    return "control " + std::to_string(id) + ": " + fault;
}

// The faults of the page, one line each: a visible control not painted, and, with the 96 DPI
// record, a control visible there that is not visible here or not where it is, scaled.
std::vector<std::string> Faults(const PageRecord& page, const PageRecord* reference) {
    std::vector<std::string> faults;
    for (const ControlRecord& r : page.controls)
        if (!r.painted && r.label != kBlankLabel)
            faults.push_back(Describe(r.id, "not painted (only page background)"));
    if (!reference)
        return faults;
    const DpiScale& scale = ScreenDpiScale();
    for (const ControlRecord& expected : reference->controls) {
        const ControlRecord* found = Find(page, expected.id);
        if (!found) {
            faults.push_back(Describe(expected.id, "not visible"));
            continue;
        }
        const int want[4] = {scale.ScaleX(expected.rect.left), scale.ScaleY(expected.rect.top),
                             scale.ScaleX(expected.rect.right - expected.rect.left),
                             scale.ScaleY(expected.rect.bottom - expected.rect.top)};
        const int got[4] = {found->rect.left, found->rect.top, found->rect.right - found->rect.left,
                            found->rect.bottom - found->rect.top};
        const int text_slack =
            InTextRow(*reference, expected) ? static_cast<int>(kTextRowShare * page.width) : 0;
        const int tolerance[4] = {kTolerance + text_slack, kTolerance, kTolerance + text_slack, kTolerance};
        for (int i = 0; i < 4; ++i)
            if (std::abs(want[i] - got[i]) > tolerance[i]) {
                char line[200];
                std::snprintf(line, sizeof line,
                              "at %d,%d size %dx%d, expected %d,%d size %dx%d (within %d, %d px)", got[0],
                              got[1], got[2], got[3], want[0], want[1], want[2], want[3], tolerance[0],
                              tolerance[1]);
                faults.push_back(Describe(expected.id, line));
                break;
            }
    }
    return faults;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 4 && argc != 5) {
        std::fwprintf(stderr, L"usage: page_probe ID TIMEOUT_SECONDS RECORD [REFERENCE]\n");
        return 2;
    }
    InitThemePalette();
    const int id = _wtoi(argv[1]);
    const DWORD timeout_ms = static_cast<DWORD>(_wtoi(argv[2])) * 1000;
    HWND control = nullptr;
    if (!WaitForShownPage(id, timeout_ms, &control))
        return 1;
    const PageRecord page = RecordPage(::GetParent(control));
    if (!Write(argv[3], page))
        return 2;
    PageRecord reference;
    if (argc == 5)
        reference = Read(argv[4]);
    if (argc == 5 && reference.controls.empty()) {
        std::printf("page_probe: no 96 DPI record of the page of control %d\n", id);
        return 3;
    }
    const std::vector<std::string> faults = Faults(page, argc == 5 ? &reference : nullptr);
    for (const std::string& fault : faults)
        std::printf("page_probe: page of control %d at %d DPI: %s\n", id, ScreenDpiScale().dpi_y,
                    fault.c_str());
    return faults.empty() ? 0 : 3;
}
