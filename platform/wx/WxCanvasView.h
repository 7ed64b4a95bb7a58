// The wx view of the 2D canvas: paints the canvas's Cairo drawing and passes mouse and context
// menu input to the model.
#pragma once
#include "platform/wx/WxControlView.h"

std::shared_ptr<const CWxControlView> WxCanvasView();
