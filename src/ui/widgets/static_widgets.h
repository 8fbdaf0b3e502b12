// Registers the widgets that only show something with the layout builder:
// label (kind 1), picture (kind 3) and resize grip (kind 10).
#pragma once

void RegisterStaticWidgets();
