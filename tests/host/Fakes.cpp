#include "tests/host/Fakes.h"

#include <cstring>
#include <limits>

#include "platform/Error.h"

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
        MaybeFail(support_.failOn, "LoadPlacement", support_.faults);
        return support_.placementStored;
    }
    void SavePlacement(const std::wstring& section, const std::wstring& name, Form& form, FormsRuntime& app,
                       Truth saveState) override
    {
        log_.push_back("SavePlacement '" + Utf8(section) + "' '" + Utf8(name) + "' " + Hex(form.hWnd()) + " " +
                       Utf8(app.AppTitle()) + " " + std::to_string(saveState));
        MaybeFail(support_.failOn, "SavePlacement", support_.faults);
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
        MaybeFail(support_.failOn, "ShowAbout", support_.faults);
    }
    void PressButton(CommandButton& button) override
    {
        log_.push_back("PressButton#" + std::to_string(serial_) + " " + Hex(button.hWnd()));
        MaybeFail(support_.failOn, "PressButton", support_.faults);
        if (button.onClick)
            button.onClick();
    }

private:
    EventLog& log_;
    FakeSupport& support_;
    int serial_;
};

}  // namespace

void MaybeFail(const std::string& failOn, const std::string& operation, FaultPlan* faults)
{
    if (faults)
        faults->RaiseIfFires(operation);
    if (!failOn.empty() && failOn == operation)
        throw Error(kErrSystem, InjectedFailure(operation));
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
    if (faults)
        faults->RaiseIfFires("frmMain.hWnd");
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

void FakeButton::SetEnabled(bool value)
{
    log_.push_back(name_ + ".Enabled = " + (value ? "True" : "False"));
    if (faults)
        faults->RaiseIfFires(name_ + ".Enabled");
    enabled = value;
}

void FakeButton::SetLeft(float value)
{
    log_.push_back(name_ + ".Left = " + std::to_string(value));
    if (faults)
        faults->RaiseIfFires(name_ + ".Left");
    if (refuseLeft)
        throw Error(kErrSystem, L"Injected failure of Left");
    left = value;
}

void FakeExtent::Move(float newLeft, float newTop, float newWidth, float newHeight)
{
    log_.push_back("lvPorts.Move " + std::to_string(newLeft) + " " + std::to_string(newTop) + " " +
                   std::to_string(newWidth) + " " + std::to_string(newHeight));
    if (faults)
        faults->RaiseIfFires("lvPorts.Move");
    if (newWidth < 0 || newHeight < 0)
        throw Error(kErrInvalidPropertyValue, L"Invalid property value");
    left = newLeft;
    top = newTop;
    width = newWidth;
    height = newHeight;
}

void FakeTimer::SetEnabled(bool value)
{
    log_.push_back(std::string("tmrInit.Enabled = ") + (value ? "True" : "False"));
    if (faults)
        faults->RaiseIfFires("tmrInit.Enabled");
    enabled = value;
}

void FakeRuntime::InitCommonControls()
{
    log_.push_back("InitCommonControls");
    MaybeFail(failOn, "InitCommonControls", faults);
}

MainFormControls FakeRuntime::CreateMainForm()
{
    log_.push_back("CreateMainForm");
    MaybeFail(failOn, "CreateMainForm", faults);
    return controls_;
}

void FakeRuntime::SetScreenMousePointer(MousePointer value)
{
    log_.push_back("MousePointer = " + std::to_string(static_cast<int>(value)));
    MaybeFail(failOn, "MousePointer", faults);
    pointer = value;
}

std::int32_t FakeRuntime::MsgBox(const std::wstring& text, std::int32_t style)
{
    log_.push_back("MsgBox '" + Utf8(text) + "' " + std::to_string(style));
    MaybeFail(failOn, "MsgBox", faults);
    return msgBoxAnswer;
}

std::wstring FakeRuntime::InputBox(const std::wstring& prompt, const std::wstring& defaultText)
{
    log_.push_back("InputBox '" + Utf8(prompt) + "' '" + Utf8(defaultText) + "'");
    MaybeFail(failOn, "InputBox", faults);
    return inputAnswer;
}

// --- support library ---

long FakeSupport::RegisterAppPath()
{
    log_.push_back("RegisterAppPath");
    MaybeFail(failOn, "RegisterAppPath", faults);
    return 1;
}

bool FakeSupport::IsInDesignEnvironment()
{
    log_.push_back("IsInDesignEnvironment");
    MaybeFail(failOn, "IsInDesignEnvironment", faults);
    return designEnvironment;
}

WindowHandle FakeSupport::GetRuntimeMainWindow()
{
    log_.push_back("GetRuntimeMainWindow");
    MaybeFail(failOn, "GetRuntimeMainWindow", faults);
    return 0x900;
}

void FakeSupport::SetWindowIconFromResource(WindowHandle window, const std::wstring& resourceName)
{
    log_.push_back("SetWindowIconFromResource " + Hex(window) + " " + Utf8(resourceName));
    MaybeFail(failOn, "SetWindowIconFromResource", faults);
}

long FakeSupport::FixContainerWindows()
{
    log_.push_back("FixContainerWindows");
    MaybeFail(failOn, "FixContainerWindows", faults);
    return 0;
}

long FakeSupport::CenterForm(WindowHandle window, std::int32_t flags)
{
    log_.push_back("CenterForm " + Hex(window) + " " + std::to_string(flags));
    MaybeFail(failOn, "CenterForm", faults);
    return 0;
}

long FakeSupport::OpenReadMe(std::int32_t flags)
{
    log_.push_back("OpenReadMe " + std::to_string(flags));
    MaybeFail(failOn, "OpenReadMe", faults);
    return 0;
}

std::wstring FakeSupport::StringFromAnsiPointer(const char* address)
{
    MaybeFail(failOn, "StringFromAnsiPointer", faults);
    if (!address)
        return L"";
    std::wstring text;
    for (const char* c = address; *c; ++c)
        text.push_back(static_cast<wchar_t>(static_cast<unsigned char>(*c)));
    return text;
}

std::wstring FakeSupport::CutRight(const std::wstring& text, std::int32_t count)
{
    MaybeFail(failOn, "CutRight", faults);
    if (count < 0)
        throw Error(kErrInvalidProcedureCall, L"Invalid procedure call or argument");
    return static_cast<std::size_t>(count) >= text.size() ? L"" : text.substr(0, text.size() - count);
}

std::unique_ptr<PlacementStore> FakeSupport::CreatePlacementStore()
{
    log_.push_back("CreatePlacementStore");
    MaybeFail(failOn, "CreatePlacementStore", faults);
    ++placementStoresMade;
    return std::make_unique<FakePlacementStore>(log_, *this);
}

std::unique_ptr<FormServices> FakeSupport::CreateFormServices()
{
    log_.push_back("CreateFormServices");
    MaybeFail(failOn, "CreateFormServices", faults);
    return std::make_unique<FakeFormServices>(log_, *this, ++formServicesMade);
}

// --- spooler ---

std::size_t FakeSpooler::BytesNeeded() const
{
    std::size_t bytes = ports.size() * sizeof(PortInfo2);
    for (const auto& port : ports)
        for (const auto* text : {&port.name, &port.monitor, &port.description})
            if (*text)
                bytes += (*text)->size() + 1;
    return bytes;
}

bool FakeSpooler::EnumPortsA(std::uint8_t* buffer, std::uint32_t bufferSize, std::int32_t& bytesNeeded,
                            std::int32_t& returned)
{
    offeredSizes.push_back(bufferSize);
    if (!buffer) {
        log_.push_back("EnumPorts size");
        if (Refused("EnumPorts size")) {
            LeaveRefusedCounts(faults->enumRefusal, bufferSize, bytesNeeded, returned);
            return false;
        }
        bytesNeeded = sizeCallBytes ? *sizeCallBytes : static_cast<std::int32_t>(BytesNeeded());
        returned = 0;
        return false;
    }
    log_.push_back("EnumPorts data " + std::to_string(bufferSize));
    if (Refused("EnumPorts data")) {
        LeaveRefusedCounts(faults->enumRefusal, bufferSize, bytesNeeded, returned);
        return false;
    }
    if (beforeDataCall)
        beforeDataCall(++dataCalls_);

    const std::size_t needed = BytesNeeded();
    bytesNeeded = static_cast<std::int32_t>(needed);
    if (bufferSize < needed) {
        returned = 0;
        return false;
    }
    std::uint8_t* strings = windowsLayout ? buffer + bufferSize : buffer + ports.size() * sizeof(PortInfo2);
    auto place = [this, &strings](const std::optional<std::string>& text) -> const char* {
        if (!text)
            return nullptr;
        if (windowsLayout)
            strings -= text->size() + 1;
        std::memcpy(strings, text->c_str(), text->size() + 1);
        const char* at = reinterpret_cast<const char*>(strings);
        if (!windowsLayout)
            strings += text->size() + 1;
        return at;
    };
    for (std::size_t i = 0; i < ports.size(); ++i) {
        PortInfo2 record{place(ports[i].name), place(ports[i].monitor), place(ports[i].description), ports[i].type, 0};
        std::memcpy(buffer + i * sizeof(PortInfo2), &record, sizeof record);
    }
    returned = static_cast<std::int32_t>(ports.size());
    if (afterDataCall)
        afterDataCall(buffer, bytesNeeded, returned);
    return true;
}

bool FakeSpooler::AddPortA(WindowHandle owner, const std::wstring& monitorName)
{
    log_.push_back("AddPort " + Hex(owner) + " '" + Utf8(monitorName) + "'");
    return !Refused("AddPort") && result;
}

bool FakeSpooler::DeletePortA(WindowHandle owner, const std::wstring& portName)
{
    log_.push_back("DeletePort " + Hex(owner) + " '" + Utf8(portName) + "'");
    return !Refused("DeletePort") && result;
}

bool FakeSpooler::ConfigurePortA(WindowHandle owner, const std::wstring& portName)
{
    log_.push_back("ConfigurePort " + Hex(owner) + " '" + Utf8(portName) + "'");
    return !Refused("ConfigurePort") && result;
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

Harness::Harness() : runtime(log, Controls())
{
    lvPorts.sharedLog = &log;
    faults.log = &log;
    for (FaultPlan** user : {&form.faults, &tmrInit.faults, &lvPorts.faults, &lvPortsExtent.faults, &cmdHelp.faults,
                             &cmdDelete.faults, &cmdAdd.faults, &cmdSettings.faults, &cmdCancel.faults,
                             &runtime.faults, &support.faults, &spooler.faults})
        *user = &faults;
}

MainFormControls Harness::Controls()
{
    return MainFormControls{form, tmrInit, lvPorts, lvPortsExtent, cmdHelp, cmdDelete, cmdAdd, cmdSettings, cmdCancel};
}

}  // namespace dovrel::test
