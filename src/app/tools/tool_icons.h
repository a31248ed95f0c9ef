#pragma once
// Tool bar icons and pointer shapes of the editing tools, drawn in code.
#include <QCursor>
#include <QIcon>

#include "app/tools/map_tool.h"

namespace mireforge {

QIcon ToolIcon(Tool tool);
QCursor ToolCursor(Tool tool);

}  // namespace mireforge
