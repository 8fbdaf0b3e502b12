// Blocks of text of one or more lines (CR LF or LF between them), as labels
// show them, and the dialogs that size themselves to such a text: the
// message box and the question box take the room their message needs.
#pragma once

#include <cstddef>

#include "graphics/font_metrics.h"
#include "ui/widgets/layout_entry.h"

struct TextExtent {
  int width;  // the widest line
  int lines;
};

TextExtent MeasureTextBlock(const FontMetrics& metrics, const char* text);

// The length of the line at `text`, without its line end, and where the
// next line starts (null after the last).
std::size_t LineAt(const char* text, const char*& next);

// Gives entry `label` of a dialog's table the size `text` needs (the widest
// line plus 5 pixels, the lines plus 7), which may shrink it. The window and
// its title bar change by as much, what lies below the label moves with its
// bottom edge, and the buttons keep their place in the middle; the window
// stays wide enough for its buttons to keep 8 pixels from its edges.
void FitLayoutToText(LayoutEntry* table, int count, int label, const FontMetrics& metrics, const char* text);
// The change FitLayoutToText makes, for a label `dw` wider and `dh` higher:
// a tool that knows only a dialog's final size finds its buttons with it.
void GrowAroundText(LayoutEntry* table, int count, int label, int dw, int dh);
