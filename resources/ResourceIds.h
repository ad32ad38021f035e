#pragma once
// Resource numbers shared by Krelmix.rc and the code (plain defines, so the resource compiler
// reads them too).

// Art painted for a display scale above 100% (125, 150, 175 and 200%, the first to the fourth
// scale) has the number of its 100% resource plus this step times the scale's place; the link
// cursor's name has the scale's percent after it (CRSRLINKPOINT150). resources/ScaledArt.rc,
// written by tools/artgen, lists them.
#define KRELMIX_SCALED_RESOURCE_STEP 1000

// The main window's skin and its stored outline (RCDATA: N, then the region data).
#define IDB_SKIN_MAIN 100
#define IDR_SKIN_MAIN_OUTLINE 101

// Button glyphs, 32 x 32, 32 bits with premultiplied alpha; *_OFF is the disabled state.
#define IDB_GLYPH_ABOUT 200
#define IDB_GLYPH_SEARCH 201
#define IDB_GLYPH_SEARCH_OFF 202
#define IDB_GLYPH_DELETE 203
#define IDB_GLYPH_DELETE_OFF 204
#define IDB_GLYPH_STOP 205
#define IDB_GLYPH_STOP_OFF 206
#define IDB_GLYPH_CLEAN 207
#define IDB_GLYPH_CLEAN_OFF 208
#define IDB_GLYPH_TMP 209
#define IDB_GLYPH_TMP_OFF 210
#define IDB_GLYPH_EXIT 211
#define IDB_GLYPH_EXIT_OFF 212
#define IDB_GLYPH_SETTINGS 213

// The main window's banners, 88 x 31: Image1 (the product) and Image3.
#define IDB_BANNER1 300
#define IDB_BANNER2 301

// The About window: its skin and stored outline, the mascot (85 x 162) and the logo (176 x 49,
// keyed on its bottom-left pixel).
#define IDB_SKIN_ABOUT 400
#define IDR_SKIN_ABOUT_OUTLINE 401
#define IDB_MASCOT 402
#define IDB_LOGO 403

// The options dialog and sound editor share one skin (360 x 286), the mask and exclusion editors
// another (120 x 286); both keyed on black, which neither holds, so each window is a rectangle.
#define IDB_SKIN_OPTIONS 500
#define IDR_SKIN_OPTIONS_OUTLINE 501
#define IDB_SKIN_EDITORS 502
#define IDR_SKIN_EDITORS_OUTLINE 503
// The restore window's skin (500 x 336), keyed on black like them.
#define IDB_SKIN_RESTORE 504
#define IDR_SKIN_RESTORE_OUTLINE 505
