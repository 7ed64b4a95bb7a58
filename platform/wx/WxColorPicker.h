// The colour picker button and its popup of named colours, as wx windows.
#pragma once
#include "platform/UiServices.h"

class CDialog;
class wxWindow;

// The window of a "ColorPicker" custom control: a swatch of the control's colour and an arrow.
wxWindow* CreateColorPickerWindow(wxWindow* parent, CDialog& dlg, int id);
// Shows the popup below the anchor window until a colour is chosen or it is dismissed.
EPopupResult RunColorPopup(wxWindow* anchor, const CColorPopupRequest& request, COLORREF& color);
