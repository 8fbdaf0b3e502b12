// Registers the controls of this folder with the layout builder, one class
// per layout kind: radio button (4), push button (5), check box (6), edit
// field (7) and text view (9). The image button, the log view and the tree
// view have no kind of their own; windows make them in ProvideWidget.
#pragma once

void RegisterControlWidgets();
