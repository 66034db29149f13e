// The About box.
#pragma once

// Shows the About box and returns when the user has closed it: the wide
// variant on the NT family, the 8-bit variant elsewhere.
void ShowAbout();

// The box's texts, for both widths.
extern const char AboutTextA[];
extern const wchar_t AboutTextW[];
