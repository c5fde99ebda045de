#pragma once
// Resource ids of the PNG artwork (type "PNG"). Each picture exists for 100, 125, 150 and 200 %
// under four consecutive ids starting at the base id below (see PickDpiVariant).

#define IDB_CLOSE_GLYPH 106
#define IDB_MINIMIZE_GLYPH 110
#define IDB_MAXIMIZE_GLYPH 114
#define IDB_RESTORE_GLYPH 118
#define IDB_PRODUCT_LOGO 129
#define IDB_COMBO_CHEVRONS 144
#define IDB_CHECK_BOX_CHECKED 153
#define IDB_CHECK_BOX_UNCHECKED 157
#define IDB_CHEVRON_UP 161
#define IDB_CHEVRON_DOWN 165
