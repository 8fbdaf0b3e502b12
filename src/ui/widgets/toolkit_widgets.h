// Registers the widget classes of this folder with the layout builder, one
// per layout kind (title bar, tool bar). Scroll bars are made by the views
// that own them, not from tables.
#pragma once

void RegisterToolkitWidgets();
