#pragma once
// The window's design: its own settings and one row per control, as laid out before any
// handler runs.

#include <vector>

#include "toolkit/control.h"
#include "toolkit/form.h"

namespace pelmora {

FormSettings mainSettings();
const std::vector<ControlSpec>& mainDesign();

} // namespace pelmora
