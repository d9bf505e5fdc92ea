#pragma once

#include <string>
#include <vector>

#include "platform/FormsRuntime.h"
#include "platform/ListViewControl.h"
#include "platform/SupportLibrary.h"

namespace dovrel {

// The port list for other programs: the selected row on the clipboard, the
// whole list in a file.
class PortExport {
public:
    PortExport(ListViewControl& lvPorts, FormsRuntime& runtime, SupportLibrary& support);

    // The selected row as one line of tab-separated text; nothing when no
    // row is selected.
    void CopySelectedPort();
    // Every row, in the order the list shows them, under a header row, as
    // comma-separated values or tab-separated text in UTF-8; the user picks
    // the file and its kind in the Save As dialog. A file that cannot be
    // written is reported with the system's reason.
    void SaveList();

    static std::vector<FileType> FileTypes();

private:
    ListViewControl& lvPorts_;
    FormsRuntime& runtime_;
    SupportLibrary& support_;
};

}  // namespace dovrel
