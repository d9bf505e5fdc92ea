#pragma once

#include <string>
#include <vector>

#include "platform/win32/controls/ListViewWindow.h"
#include "platform/RowOrder.h"

namespace dovrel::win32 {

// The width in pixels that fits every cell of a column (counted from 0) and,
// with useHeader, its header text too; then the last column also fills the
// room the others leave. -1 when the list cannot measure (not in report view,
// no such column, no device context), so that the control does it itself.
//
// The list measures its own texts: the control would ask for every row's
// text through the window system one message at a time, and under some
// systems it measures a header with another font than it draws it with and
// cuts the header off.
// The room around the texts is that of the scale the list is drawn at.
int FittingColumnWidth(const ListViewWindow& list, const RowOrder& rows, const std::vector<std::wstring>& headers,
                       int column, bool useHeader, int dpi);

}  // namespace dovrel::win32
