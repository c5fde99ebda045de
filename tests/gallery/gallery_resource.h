#pragma once
#define IDD_GALLERY 9100
#define IDD_GALLERY_FRAME 9101
