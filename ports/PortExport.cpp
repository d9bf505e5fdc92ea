#include "ports/PortExport.h"

#include "listview/TableText.h"
#include "listview/modListViewSupport.h"

namespace dovrel {

namespace {

using modListViewSupport::ListViewHeaderTexts;
using modListViewSupport::ListViewItemTexts;

constexpr std::size_t kTabSeparated = 1;  // the second kind of file offered

}  // namespace

PortExport::PortExport(ListViewControl& lvPorts, FormsRuntime& runtime, SupportLibrary& support)
    : lvPorts_(lvPorts), runtime_(runtime), support_(support)
{
}

std::vector<FileType> PortExport::FileTypes()
{
    return {{L"Comma-separated values (*.csv)", L"csv"}, {L"Tab-separated text (*.txt)", L"txt"}};
}

void PortExport::CopySelectedPort()
{
    const auto selected = lvPorts_.SelectedItem();
    if (!selected)
        return;
    runtime_.SetClipboardText(TableText::TsvRecord(ListViewItemTexts(lvPorts_, *selected)));
}

void PortExport::SaveList()
{
    SaveAsChoice choice;
    if (!runtime_.ShowSaveAs(FileTypes(), L"Ports", choice))
        return;
    const auto record = choice.type == kTabSeparated ? TableText::TsvRecord : TableText::CsvRecord;
    std::wstring text = record(ListViewHeaderTexts(lvPorts_));
    const std::int32_t count = lvPorts_.ListItems().Count();
    for (std::int32_t position = 1; position <= count; ++position)
        text += record(ListViewItemTexts(lvPorts_, *lvPorts_.ListItems().Item(position)));

    std::wstring reason;
    if (!support_.SaveFile(choice.path, TableText::Utf8WithByteOrderMark(text), reason))
        runtime_.MsgBox(L"Can't save the list to " + choice.path + L".\r\n\r\n" + reason, kMbOk | kMbIconExclamation);
}

}  // namespace dovrel
