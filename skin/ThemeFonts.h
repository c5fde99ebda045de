#pragma once
// The four fonts the pages and controls share. The theme owns them; controls keep plain handles.
#include "framework/Handles.h"

struct ThemeFonts {
    nvx::UniqueFont font_body;   // Tahoma 14: labels, combo box text and list
    nvx::UniqueFont font_link;   // Tahoma 14 underlined: link labels
    nvx::UniqueFont font_button; // Tahoma 18: picture-button captions
    nvx::UniqueFont font_title;  // Arial 32 bold: page titles
};

extern ThemeFonts theThemeFonts;

// Creation is not checked: a font that cannot be made leaves its holder empty and text drawn
// with it falls back to the DC's font.
void CreateThemeFonts();
void DestroyThemeFonts();
