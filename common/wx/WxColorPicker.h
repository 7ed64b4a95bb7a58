// The colour picker's wx side: the button window and the popup of named colours.
#pragma once

// Registers the picker's view with the wx backend and makes the picker kind show the wx popup
// instead of taking queued picks; a windowed host calls it at start-up.
void RegisterWxColorPicker();
