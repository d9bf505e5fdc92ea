#include "platform/win32/controls/ColumnWidths.h"

#include <algorithm>
#include <unordered_map>

#include "platform/win32/system/Screen.h"
#include "platform/win32/system/UniqueHandle.h"

namespace dovrel::win32 {

namespace {

// Room around a cell's text and a header's text, as the control draws them.
int CellPadding(int dpi)
{
    return 4 * SystemMetricAt(SM_CXEDGE, dpi) + MulDiv(6, dpi, ScreenDpi());
}

int HeaderPadding(int dpi)
{
    return 6 * SystemMetricAt(SM_CXEDGE, dpi) + MulDiv(6, dpi, ScreenDpi());
}

// A window's device context with a font selected, for measuring text. The
// font is selected back out before the context is given back.
class TextMeasure {
public:
    TextMeasure(HWND window, HFONT font) : dc_(GetDC(window), WindowDcTraits{window})
    {
        if (dc_ && font)
            oldFont_ = UniqueSelection(SelectObject(dc_.Get(), font), SelectionTraits{dc_.Get()});
    }

    bool Ready() const { return static_cast<bool>(dc_); }
    int Width(const std::wstring& text)
    {
        SIZE size = {};
        if (text.empty() || !GetTextExtentPoint32W(dc_.Get(), text.c_str(), static_cast<int>(text.size()), &size))
            return 0;
        return size.cx;
    }

private:
    UniqueWindowDc dc_;
    UniqueSelection oldFont_;  // after the context: it goes first
};

int WidestCell(TextMeasure& measure, const RowOrder& rows, int column)
{
    // Ports repeat their monitor, description and type: measure each text once.
    std::unordered_map<std::wstring, int> measured;
    int widest = 0;
    for (std::size_t position = 0; position < rows.Count(); ++position) {
        const std::wstring& text = rows.CellAt(position, column);
        auto found = measured.find(text);
        if (found == measured.end())
            found = measured.emplace(text, measure.Width(text)).first;
        widest = std::max(widest, found->second);
    }
    return widest;
}

}  // namespace

int FittingColumnWidth(const ListViewWindow& list, const RowOrder& rows, const std::vector<std::wstring>& headers,
                       int column, bool useHeader, int dpi)
{
    if (column < 0 || static_cast<std::size_t>(column) >= headers.size() || !list.InReportView())
        return -1;
    TextMeasure cells(list.hWnd(), list.Font());
    if (!cells.Ready())
        return -1;
    int width = WidestCell(cells, rows, column) + CellPadding(dpi);
    if (!useHeader)
        return width;

    const HWND header = list.Header();
    TextMeasure headerText(header, reinterpret_cast<HFONT>(SendMessageW(header, WM_GETFONT, 0, 0)));
    if (headerText.Ready())
        width = std::max(width, headerText.Width(headers[static_cast<std::size_t>(column)]) + HeaderPadding(dpi));

    if (static_cast<std::size_t>(column) + 1 == headers.size()) {
        int others = 0;
        for (int i = 0; i < column; ++i)
            others += list.ColumnWidth(i);
        width = std::max(width, list.ClientWidth() - others);
    }
    return width;
}

}  // namespace dovrel::win32
