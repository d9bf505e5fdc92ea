#include "tests/host/Fakes.h"

#include <cstring>
#include <limits>

#include "app/frmMainDesign.h"
#include "platform/Error.h"
#include "tests/common/PortRecords.h"

namespace dovrel::test {

namespace {

std::string Hex(WindowHandle handle)
{
    char text[32];
    std::snprintf(text, sizeof text, "0x%llx", static_cast<unsigned long long>(handle));
    return text;
}

class FakePlacementStore final : public PlacementStore {
public:
    FakePlacementStore(EventLog& log, FakeSupport& support) : log_(log), support_(support) {}
    bool LoadPlacement(const std::wstring& section, const std::wstring& name, Form& form, FormsRuntime& app,
                       std::int32_t a, std::int32_t b, std::int32_t c, Truth restoreState) override
    {
        log_.push_back("LoadPlacement '" + Utf8(section) + "' '" + Utf8(name) + "' " + Hex(form.hWnd()) + " " +
                       Utf8(app.AppTitle()) + " " + std::to_string(a) + " " + std::to_string(b) + " " +
                       std::to_string(c) + " " + std::to_string(restoreState));
        MaybeFail(support_.faults, "LoadPlacement");
        return support_.placementStored;
    }
    void SavePlacement(const std::wstring& section, const std::wstring& name, Form& form, FormsRuntime& app,
                       Truth saveState) override
    {
        log_.push_back("SavePlacement '" + Utf8(section) + "' '" + Utf8(name) + "' " + Hex(form.hWnd()) + " " +
                       Utf8(app.AppTitle()) + " " + std::to_string(saveState));
        MaybeFail(support_.faults, "SavePlacement");
        support_.placementStored = true;
    }

private:
    EventLog& log_;
    FakeSupport& support_;
};

class FakeFormServices final : public FormServices {
public:
    FakeFormServices(EventLog& log, FakeSupport& support, int serial) : log_(log), support_(support), serial_(serial) {}
    void ShowAbout(Form& form, FormsRuntime& app, const std::wstring& extra, const std::wstring& dedication) override
    {
        log_.push_back("ShowAbout#" + std::to_string(serial_) + " " + Hex(form.hWnd()) + " " + Utf8(app.AppTitle()) +
                       " '" + Utf8(extra) + "' '" + Utf8(dedication) + "'");
        MaybeFail(support_.faults, "ShowAbout");
    }
    void PressButton(CommandButton& button) override
    {
        log_.push_back("PressButton#" + std::to_string(serial_) + " " + Hex(button.hWnd()));
        MaybeFail(support_.faults, "PressButton");
        if (button.onClick)
            button.onClick();
    }

private:
    EventLog& log_;
    FakeSupport& support_;
    int serial_;
};

}  // namespace

void MaybeFail(FaultPlan* faults, const std::string& operation)
{
    if (faults)
        faults->RaiseIfFires(operation);
}

std::vector<std::string> EntriesStartingWith(const EventLog& log, const std::string& prefix)
{
    std::vector<std::string> entries;
    for (const auto& entry : log)
        if (entry.rfind(prefix, 0) == 0)
            entries.push_back(entry);
    return entries;
}

// --- forms runtime ---

WindowHandle FakeForm::hWnd() const
{
    MaybeFail(faults, "frmMain.hWnd");
    return 0x1000;
}

void FakeForm::Show()
{
    log_.push_back("Show");
    if (!loaded) {
        loaded = true;
        if (onLoad)
            onLoad();
    }
}

void FakeForm::Unload()
{
    log_.push_back("Unload");
    std::int16_t cancel = 0;
    if (onUnload)
        onUnload(cancel);
    unloaded = cancel == 0;
}

void FakeForm::PopupMenu(const std::string& menu, const ScreenPoint& at)
{
    log_.push_back("PopupMenu " + menu + " " + std::to_string(at.x) + "," + std::to_string(at.y));
}

void FakeMenuItem::SetEnabled(bool value)
{
    log_.push_back(name_ + ".Enabled = " + (value ? "True" : "False"));
    enabled = value;
}

void FakeButton::SetEnabled(bool value)
{
    log_.push_back(design_.name + ".Enabled = " + (value ? "True" : "False"));
    MaybeFail(faults, design_.name + ".Enabled");
    enabled = value;
}

void FakeButton::SetLeft(float value)
{
    log_.push_back(design_.name + ".Left = " + std::to_string(value));
    MaybeFail(faults, design_.name + ".Left");
    left = value;
}

void FakeExtent::Move(float newLeft, float newTop, float newWidth, float newHeight)
{
    log_.push_back("lvPorts.Move " + std::to_string(newLeft) + " " + std::to_string(newTop) + " " +
                   std::to_string(newWidth) + " " + std::to_string(newHeight));
    MaybeFail(faults, "lvPorts.Move");
    if (newWidth < 0 || newHeight < 0)
        throw Error(kErrInvalidPropertyValue, L"Invalid property value");
    left = newLeft;
    top = newTop;
    width = newWidth;
    height = newHeight;
}

void FakeTimer::SetEnabled(bool value)
{
    log_.push_back(name_ + ".Enabled = " + (value ? "True" : "False"));
    MaybeFail(faults, name_ + ".Enabled");
    enabled = value;
}

void FakeRuntime::InitCommonControls()
{
    log_.push_back("InitCommonControls");
    MaybeFail(faults, "InitCommonControls");
}

FormControls& FakeRuntime::CreateForm(const FormDefinition& definition)
{
    log_.push_back("CreateForm " + definition.name);
    MaybeFail(faults, "CreateForm");
    return controls_;
}

void FakeRuntime::SetScreenMousePointer(MousePointer value)
{
    log_.push_back("MousePointer = " + std::to_string(static_cast<int>(value)));
    MaybeFail(faults, "MousePointer");
    pointer = value;
}

std::int32_t FakeRuntime::MsgBox(const std::wstring& text, std::int32_t style)
{
    log_.push_back("MsgBox '" + Utf8(text) + "' " + std::to_string(style));
    MaybeFail(faults, "MsgBox");
    if (whileMsgBoxIsUp)
        whileMsgBoxIsUp();
    return msgBoxAnswer;
}

std::wstring FakeRuntime::InputBox(const std::wstring& prompt, const std::wstring& defaultText)
{
    log_.push_back("InputBox '" + Utf8(prompt) + "' '" + Utf8(defaultText) + "'");
    MaybeFail(faults, "InputBox");
    return inputAnswer;
}

void FakeRuntime::SetClipboardText(const std::wstring& text)
{
    log_.push_back("SetClipboardText");
    MaybeFail(faults, "SetClipboardText");
    clipboard = text;
}

bool FakeRuntime::ShowSaveAs(const std::vector<FileType>& types, const std::wstring& fileName, SaveAsChoice& choice)
{
    std::string offered;
    for (const FileType& type : types)
        offered += " " + Utf8(type.extension);
    log_.push_back("ShowSaveAs '" + Utf8(fileName) + "'" + offered);
    if (saveAsAnswer)
        choice = *saveAsAnswer;
    return saveAsAnswer.has_value();
}

// --- support library ---

long FakeSupport::RegisterAppPath()
{
    log_.push_back("RegisterAppPath");
    MaybeFail(faults, "RegisterAppPath");
    return 1;
}

bool FakeSupport::IsInDesignEnvironment()
{
    log_.push_back("IsInDesignEnvironment");
    MaybeFail(faults, "IsInDesignEnvironment");
    return designEnvironment;
}

WindowHandle FakeSupport::GetRuntimeMainWindow()
{
    log_.push_back("GetRuntimeMainWindow");
    MaybeFail(faults, "GetRuntimeMainWindow");
    return 0x900;
}

void FakeSupport::SetWindowIconFromResource(WindowHandle window, const std::wstring& resourceName)
{
    log_.push_back("SetWindowIconFromResource " + Hex(window) + " " + Utf8(resourceName));
    MaybeFail(faults, "SetWindowIconFromResource");
}

long FakeSupport::FixContainerWindows()
{
    log_.push_back("FixContainerWindows");
    MaybeFail(faults, "FixContainerWindows");
    return 0;
}

long FakeSupport::CenterForm(WindowHandle window, std::int32_t flags)
{
    log_.push_back("CenterForm " + Hex(window) + " " + std::to_string(flags));
    MaybeFail(faults, "CenterForm");
    return 0;
}

long FakeSupport::OpenReadMe(std::int32_t flags)
{
    log_.push_back("OpenReadMe " + std::to_string(flags));
    MaybeFail(faults, "OpenReadMe");
    return 0;
}

std::wstring FakeSupport::StringFromAnsiPointer(const char* address)
{
    MaybeFail(faults, "StringFromAnsiPointer");
    if (!address)
        return L"";
    std::wstring text;
    for (const char* c = address; *c; ++c)
        text.push_back(static_cast<wchar_t>(static_cast<unsigned char>(*c)));
    return text;
}

std::wstring FakeSupport::CutRight(const std::wstring& text, std::int32_t count)
{
    MaybeFail(faults, "CutRight");
    if (count < 0)
        throw Error(kErrInvalidProcedureCall, L"Invalid procedure call or argument");
    return static_cast<std::size_t>(count) >= text.size() ? L"" : text.substr(0, text.size() - count);
}

std::unique_ptr<PlacementStore> FakeSupport::CreatePlacementStore()
{
    log_.push_back("CreatePlacementStore");
    MaybeFail(faults, "CreatePlacementStore");
    ++placementStoresMade;
    return std::make_unique<FakePlacementStore>(log_, *this);
}

std::unique_ptr<FormServices> FakeSupport::CreateFormServices()
{
    log_.push_back("CreateFormServices");
    MaybeFail(faults, "CreateFormServices");
    return std::make_unique<FakeFormServices>(log_, *this, ++formServicesMade);
}

bool FakeSupport::SaveFile(const std::wstring& path, const std::string& bytes, std::wstring& reason)
{
    log_.push_back("SaveFile '" + Utf8(path) + "'");
    if (!saveRefusal.empty()) {
        reason = saveRefusal;
        return false;
    }
    savedBytes = bytes;
    return true;
}

std::wstring FakeSupport::ErrorText(std::uint32_t error)
{
    log_.push_back("ErrorText " + std::to_string(error));
    MaybeFail(faults, "ErrorText");
    return L"<reason " + std::to_wstring(error) + L">";
}

std::uint32_t FakeSupport::StartAsAdministrator(WindowHandle owner)
{
    log_.push_back("StartAsAdministrator " + Hex(owner));
    MaybeFail(faults, "StartAsAdministrator");
    return startRefusal;
}

std::uint32_t FakeSupport::StartForServer(const std::wstring& server)
{
    log_.push_back("StartForServer " + Utf8(server));
    MaybeFail(faults, "StartForServer");
    return startRefusal;
}

// --- spooler ---

FakePort Port(const char* name, std::uint32_t type)
{
    FakePort port;
    port.name = std::string(name);
    port.type = type;
    return port;
}

std::vector<PortStrings> FakeSpooler::Strings() const
{
    std::vector<PortStrings> strings;
    for (const auto& port : ports)
        strings.push_back({port.name ? port.name->c_str() : nullptr, port.monitor ? port.monitor->c_str() : nullptr,
                           port.description ? port.description->c_str() : nullptr, port.type});
    return strings;
}

std::size_t FakeSpooler::BytesNeeded() const
{
    return PortRecordBytes(Strings());
}

SpoolerResult FakeSpooler::EnumPortsA(std::uint8_t* buffer, std::uint32_t bufferSize, std::int32_t& bytesNeeded,
                                      std::int32_t& returned)
{
    const SpoolerResult refused{false, enumError};
    offeredSizes.push_back(bufferSize);
    if (!buffer) {
        log_.push_back("EnumPorts size");
        if (Refused("EnumPorts size")) {
            LeaveRefusedCounts(faults->enumRefusal, bufferSize, bytesNeeded, returned);
            return refused;
        }
        bytesNeeded = sizeCallBytes ? *sizeCallBytes : static_cast<std::int32_t>(BytesNeeded());
        returned = 0;
        return refused;
    }
    log_.push_back("EnumPorts data " + std::to_string(bufferSize));
    if (Refused("EnumPorts data")) {
        LeaveRefusedCounts(faults->enumRefusal, bufferSize, bytesNeeded, returned);
        return refused;
    }
    if (beforeDataCall)
        beforeDataCall(++dataCalls_);

    const std::size_t needed = BytesNeeded();
    bytesNeeded = static_cast<std::int32_t>(needed);
    if (bufferSize < needed) {
        returned = 0;
        return refused;
    }
    WritePortRecords(Strings(), buffer, bufferSize,
                     windowsLayout ? StringPlacement::FromEndOfBuffer : StringPlacement::AfterRecords);
    returned = static_cast<std::int32_t>(ports.size());
    if (afterDataCall)
        afterDataCall(buffer, bytesNeeded, returned);
    return {true, 0};
}

SpoolerResult FakeSpooler::AddPortA(WindowHandle owner, const std::wstring& monitorName)
{
    log_.push_back("AddPort " + Hex(owner) + " '" + Utf8(monitorName) + "'");
    return Refused("AddPort") ? SpoolerResult{} : result;
}

SpoolerResult FakeSpooler::DeletePortW(WindowHandle owner, const std::wstring& portName)
{
    log_.push_back("DeletePort " + Hex(owner) + " '" + Utf8(portName) + "'");
    return Refused("DeletePort") ? SpoolerResult{} : result;
}

SpoolerResult FakeSpooler::ConfigurePortW(WindowHandle owner, const std::wstring& portName)
{
    log_.push_back("ConfigurePort " + Hex(owner) + " '" + Utf8(portName) + "'");
    return Refused("ConfigurePort") ? SpoolerResult{} : result;
}

std::vector<std::wstring> FakeSpooler::PrintersUsingPort(const std::wstring& portName)
{
    log_.push_back("PrintersUsingPort '" + Utf8(portName) + "'");
    return printers;
}

namespace {

class FakePortWatch final : public PortWatch {
public:
    FakePortWatch(std::function<void()>& callback, const bool& watching) : callback_(callback), watching_(watching) {}
    ~FakePortWatch() override { callback_ = nullptr; }
    bool Watching() const override { return watching_; }

private:
    std::function<void()>& callback_;
    const bool& watching_;
};

}  // namespace

std::unique_ptr<PortWatch> FakeSpooler::WatchPorts(std::function<void()> onChanged)
{
    log_.push_back("WatchPorts");
    portsChanged = std::move(onChanged);
    return std::make_unique<FakePortWatch>(portsChanged, watching);
}

bool FakeSpooler::Refused(const std::string& operation)
{
    return faults && faults->Fires(operation);
}

void FakeSpooler::LeaveRefusedCounts(EnumRefusal refusal, std::uint32_t bufferSize, std::int32_t& bytesNeeded,
                                     std::int32_t& returned)
{
    const auto offered = static_cast<std::int32_t>(bufferSize);
    switch (refusal) {
    case EnumRefusal::CountsUntouched:
        break;
    case EnumRefusal::NoBytes:
        bytesNeeded = returned = 0;
        break;
    case EnumRefusal::NegativeCounts:
        bytesNeeded = returned = -1;
        break;
    case EnumRefusal::MoreBytesThanOffered:
        bytesNeeded = offered + static_cast<std::int32_t>(sizeof(PortInfo2));
        returned = 0;
        break;
    case EnumRefusal::AbsurdRecordCount:
        bytesNeeded = offered;
        returned = std::numeric_limits<std::int32_t>::max();
        break;
    }
}

// --- harness ---

template <typename Fake, typename... Arguments>
Fake& Harness::Made(Arguments&&... arguments)
{
    auto fake = std::make_shared<Fake>(std::forward<Arguments>(arguments)...);
    made_.push_back(fake);
    return *fake;
}

// The fakes of the port window's design, in its order: the runtime makes
// the real controls from the same definition.
FormControls& Harness::MadeFromDesign()
{
    WindowHandle button = 0x2000;
    for (const ControlDefinition& control : frmMainDesign().controls) {
        switch (control.kind) {
        case ControlKind::Timer:
            controls.Add(control.name, Made<FakeTimer>(log, control, &faults));
            break;
        case ControlKind::ListView: {
            auto& list = Made<RecordingListView>();
            list.sharedLog = &log;
            list.faults = &faults;
            controls.Add(control.name, list, Made<FakeExtent>(log, control, &faults));
            break;
        }
        case ControlKind::CommandButton:
            controls.Add(control.name, Made<FakeButton>(log, control, ++button, &faults));
            break;
        }
    }
    for (const MenuDefinition& menu : frmMainDesign().menus)
        for (const MenuItemDefinition& item : menu.items)
            if (!item.name.empty())
                controls.Add(item.name, Made<FakeMenuItem>(log, item.name));
    return controls;
}

namespace {

template <typename Fake, typename Control>
Fake& As(Control& control)
{
    return static_cast<Fake&>(control);
}

}  // namespace

Harness::Harness()
    : tmrInit(As<FakeTimer>(MadeFromDesign().TimerNamed("tmrInit"))),
      tmrPortsChanged(As<FakeTimer>(controls.TimerNamed("tmrPortsChanged"))),
      lvPorts(As<RecordingListView>(controls.ListView("lvPorts"))),
      lvPortsExtent(As<FakeExtent>(controls.Extent("lvPorts"))), cmdHelp(As<FakeButton>(controls.Button("cmdHelp"))),
      cmdDelete(As<FakeButton>(controls.Button("cmdDelete"))), cmdAdd(As<FakeButton>(controls.Button("cmdAdd"))),
      cmdSettings(As<FakeButton>(controls.Button("cmdSettings"))),
      cmdCancel(As<FakeButton>(controls.Button("cmdCancel")))
{
    faults.log = &log;
}

}  // namespace dovrel::test
