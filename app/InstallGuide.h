#pragma once
// The installer's main window, hosting the wizard pages.
#include "framework/Dialog.h"

class CInstallGuide : public CDialogEx {
public:
    CInstallGuide();

protected:
    BOOL OnInitDialog() override;
};
