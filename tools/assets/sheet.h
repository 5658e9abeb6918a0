// The whole sprite sheet, composed from the individual pictures.
#pragma once

#include "canvas.h"

namespace assets {

Canvas drawSheet();

}  // namespace assets
