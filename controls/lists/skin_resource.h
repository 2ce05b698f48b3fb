#pragma once
// The bars take their bitmap skins through the imaging library's loader.
#include "imaging/skin_bitmap.h"

namespace lumio::lists {

using lumio::ControlsModule;
using lumio::LoadBitmapSkin;

}  // namespace lumio::lists
