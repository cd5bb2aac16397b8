// Start-up of the launcher: no input method, the hand cursor and the product identity (title and
// icon).
#pragma once

#include "launcher/ProductTable.h"

namespace kel {

// The launcher takes no typed text, so it gets no input method: setting one up as the main
// window first activates costs about 6 ms under Wine, more than half of what showing a bare window
// takes.
void DisableInputMethod();

// The framework's hand-point cursor becomes the system's hand cursor.
void MapHandPointCursor();

// Reads "Name" from the configuration file into the application title.
void ApplyProductTitle();

// When the application title names a product, loads that product's icon group from the executable
// as the application icon. Returns the product row, or nullptr when the title names none (no icon
// is loaded then). Setting an icon costs a few milliseconds of window-system work, so the main
// window does it once it is painted.
const TProduct* ApplyProductIcon();

} // namespace kel
