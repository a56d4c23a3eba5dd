// The trainee program's raised 3-D panels: the shared panel of core/ui.
#pragma once

#include "core/ui/panel.h"

namespace trainee {

class Panel : public ui::Panel {
 public:
  using ui::Panel::Panel;
};

}  // namespace trainee
