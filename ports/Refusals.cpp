#include "ports/Refusals.h"

#include <algorithm>

namespace dovrel {

std::wstring TextWithReason(const std::wstring& fixedText, std::uint32_t error, SupportLibrary& support)
{
    if (error == 0)
        return fixedText;
    return fixedText + L"\r\n\r\n" + support.ErrorText(error);
}

std::wstring PrintersText(const std::vector<std::wstring>& printers)
{
    if (printers.empty())
        return std::wstring();
    std::wstring text = L"Printers that use the port:";
    const std::size_t named = std::min(printers.size(), kPrintersNamed);
    for (std::size_t index = 0; index < named; ++index)
        text += L"\r\n" + printers[index];
    if (printers.size() > named)
        text += L"\r\nand " + std::to_wstring(printers.size() - named) + L" more";
    return text;
}

}  // namespace dovrel
