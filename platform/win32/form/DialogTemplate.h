#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace dovrel::win32 {

// An in-memory dialog template (DLGTEMPLATE and its DLGITEMTEMPLATEs), in
// dialog units, for the program's small modal boxes.
class DialogTemplate {
public:
    DialogTemplate(DWORD style, const std::wstring& caption, short width, short height, WORD fontSize,
                   const std::wstring& font)
    {
        Add32(style | DS_SETFONT);
        Add32(0);             // extended style
        words_.push_back(0);  // item count, counted up by AddItem
        AddRect(0, 0, width, height);
        words_.push_back(0);  // no menu
        words_.push_back(0);  // the standard dialog class
        AddText(caption);
        words_.push_back(fontSize);
        AddText(font);
    }

    void AddItem(WORD classAtom, WORD id, DWORD style, short x, short y, short width, short height,
                 const std::wstring& text)
    {
        if (words_.size() % 2)
            words_.push_back(0);  // items start on a DWORD boundary
        Add32(style | WS_CHILD | WS_VISIBLE);
        Add32(0);
        AddRect(x, y, width, height);
        words_.push_back(id);
        words_.push_back(0xFFFF);  // a predefined class, by atom
        words_.push_back(classAtom);
        AddText(text);
        words_.push_back(0);  // no creation data
        ++words_[kItemCountIndex];
    }

    const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

    static constexpr WORD kButton = 0x0080;
    static constexpr WORD kEdit = 0x0081;
    static constexpr WORD kStatic = 0x0082;

private:
    static constexpr size_t kItemCountIndex = 4;

    void Add32(DWORD value)
    {
        words_.push_back(LOWORD(value));
        words_.push_back(HIWORD(value));
    }
    void AddRect(short x, short y, short width, short height)
    {
        for (const short value : {x, y, width, height})
            words_.push_back(static_cast<WORD>(value));
    }
    void AddText(const std::wstring& text)
    {
        words_.insert(words_.end(), text.begin(), text.end());
        words_.push_back(0);
    }

    std::vector<WORD> words_;
};

}  // namespace dovrel::win32
