// The settings page hosted on its own: how its labels are told to draw their texts.
#include "pages/SettingPanel.h"

#include "resources/resource.h"
#include "skin/NVXStatic.h"
#include "tests/pages/PageTestHost.h"

#include <gtest/gtest.h>

using namespace pagetest;

namespace {

using SettingsPage = PageTest;

TEST_F(SettingsPage, LabelsDrawWithTheirTextFlags) {
    const struct {
        int id;
        UINT flags;
    } labels[] = {
        {IDC_TERMS_LABEL, 56},       // single line, bottom, left, word break
        {IDC_TERMS_LINK, 56},        //
        {IDC_SETTINGS_CAPTION, 58},  // single line, bottom, right, word break
        {IDC_LANGUAGE_LABEL, 54},    // single line, centred vertically, right, word break
        {IDC_ASSOCIATION_LABEL, 54}, //
        {IDC_FOLDER_LABEL, 54},      //
    };
    static_assert(DT_SINGLELINE + DT_BOTTOM + DT_WORDBREAK + DT_LEFT == 56);
    static_assert(DT_SINGLELINE + DT_BOTTOM + DT_WORDBREAK + DT_RIGHT == 58);
    static_assert(DT_SINGLELINE + DT_VCENTER + DT_WORDBREAK + DT_RIGHT == 54);
    LaunchOptions options;
    CSettingPanel page(theConfig, options);
    CPageTestHost host(0);
    ASSERT_TRUE(host.Open(page, IDD_SETTINGS));
    for (const auto& label : labels) {
        SCOPED_TRACE(label.id);
        auto* control = dynamic_cast<CNVXStatic*>(CWnd::FromHandle(page.GetDlgItem(label.id)));
        ASSERT_TRUE(control) << "not a skinned label";
        EXPECT_EQ(control->draw_flags, label.flags);
    }
}

} // namespace
