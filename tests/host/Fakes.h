#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/FormsRuntime.h"
#include "platform/Spooler.h"
#include "platform/SupportLibrary.h"
#include "tests/common/PortRecords.h"
#include "tests/host/FaultPlan.h"
#include "tests/host/RecordingListView.h"

namespace dovrel::test {

// Every fake below appends what it is asked to one shared log, so a test
// sees the order of steps across the runtime, the support library and the
// list (whose entries start with "lvPorts.").
using EventLog = std::vector<std::string>;

// Raises an Error when the fault plan, if any, fails the operation.
void MaybeFail(FaultPlan* faults, const std::string& operation);

class FakeForm final : public Form {
public:
    explicit FakeForm(EventLog& log, FaultPlan* faults = nullptr) : faults(faults), log_(log) {}
    WindowHandle hWnd() const override;
    float ScaleWidth() const override { return scaleWidth; }
    float ScaleHeight() const override { return scaleHeight; }
    bool Minimized() const override { return minimized; }
    void SetCaption(const std::wstring& text) override { caption = text; }
    bool minimized = false;
    std::wstring caption = L"Ports";
    float scaleWidth = 5475;
    float scaleHeight = 2355;
    void Show() override;
    void Unload() override;
    void PopupMenu(const std::string& menu, const ScreenPoint& at) override;
    bool loaded = false;
    bool unloaded = false;
    FaultPlan* faults = nullptr;

private:
    EventLog& log_;
};

class FakeButton final : public CommandButton {
public:
    FakeButton(EventLog& log, const ControlDefinition& design, WindowHandle window, FaultPlan* faults)
        : left(design.left), faults(faults), log_(log), design_(design), window_(window)
    {
    }
    WindowHandle hWnd() const override { return window_; }
    bool Enabled() const override { return enabled; }
    void SetEnabled(bool value) override;
    float Left() const override { return left; }
    void SetLeft(float value) override;
    float Top() const override { return design_.top; }
    float Width() const override { return design_.width; }
    float Height() const override { return design_.height; }
    bool enabled = true;
    float left;
    FaultPlan* faults;

private:
    EventLog& log_;
    const ControlDefinition design_;
    WindowHandle window_;
};

// The list's place on the window; refuses a negative size, as the real
// control does.
class FakeExtent final : public ControlExtent {
public:
    FakeExtent(EventLog& log, const ControlDefinition& design, FaultPlan* faults)
        : left(design.left), top(design.top), width(design.width), height(design.height), faults(faults), log_(log)
    {
    }
    float Left() const override { return left; }
    float Top() const override { return top; }
    float Width() const override { return width; }
    float Height() const override { return height; }
    void Move(float newLeft, float newTop, float newWidth, float newHeight) override;
    float left, top, width, height;
    FaultPlan* faults;

private:
    EventLog& log_;
};

class FakeMenuItem final : public MenuItem {
public:
    FakeMenuItem(EventLog& log, std::string name) : log_(log), name_(std::move(name)) {}
    bool Enabled() const override { return enabled; }
    void SetEnabled(bool value) override;
    bool enabled = true;

private:
    EventLog& log_;
    std::string name_;
};

class FakeTimer final : public Timer {
public:
    FakeTimer(EventLog& log, const ControlDefinition& design, FaultPlan* faults)
        : enabled(design.enabled), faults(faults), log_(log), name_(design.name), interval_(design.interval)
    {
    }
    bool Enabled() const override { return enabled; }
    void SetEnabled(bool value) override;
    std::int32_t Interval() const override { return interval_; }
    bool enabled;
    FaultPlan* faults;

private:
    EventLog& log_;
    std::string name_;
    std::int32_t interval_;
};

class FakeRuntime final : public FormsRuntime {
public:
    FakeRuntime(EventLog& log, FormControls& controls, FaultPlan* faults) : faults(faults), log_(log), controls_(controls)
    {
    }
    std::wstring AppTitle() const override { return L"Orvane - Dovrel"; }
    void InitCommonControls() override;
    FormControls& CreateForm(const FormDefinition& definition) override;
    void SetScreenMousePointer(MousePointer pointer) override;
    std::int32_t MsgBox(const std::wstring& text, std::int32_t style) override;
    std::wstring InputBox(const std::wstring& prompt, const std::wstring& defaultText) override;
    void SetClipboardText(const std::wstring& text) override;
    bool ShowSaveAs(const std::vector<FileType>& types, const std::wstring& fileName, SaveAsChoice& choice) override;

    MousePointer pointer = MousePointer::Default;
    std::wstring clipboard;
    std::optional<SaveAsChoice> saveAsAnswer;  // none: the user cancels
    std::int32_t msgBoxAnswer = kIdOk;
    std::function<void()> whileMsgBoxIsUp;
    std::wstring inputAnswer;
    FaultPlan* faults;

private:
    EventLog& log_;
    FormControls& controls_;
};

class FakeSupport final : public SupportLibrary {
public:
    explicit FakeSupport(EventLog& log, FaultPlan* faults = nullptr) : faults(faults), log_(log) {}
    long RegisterAppPath() override;
    bool IsInDesignEnvironment() override;
    WindowHandle GetRuntimeMainWindow() override;
    void SetWindowIconFromResource(WindowHandle window, const std::wstring& resourceName) override;
    long FixContainerWindows() override;
    long CenterForm(WindowHandle window, std::int32_t flags) override;
    long OpenReadMe(std::int32_t flags) override;
    std::wstring StringFromAnsiPointer(const char* address) override;
    std::wstring CutRight(const std::wstring& text, std::int32_t count) override;
    std::unique_ptr<PlacementStore> CreatePlacementStore() override;
    std::unique_ptr<FormServices> CreateFormServices() override;
    bool SaveFile(const std::wstring& path, const std::string& bytes, std::wstring& reason) override;
    // "<reason N>" for error N.
    std::wstring ErrorText(std::uint32_t error) override;
    bool CanStartAsAdministrator() override { return underUac; }
    std::uint32_t StartAsAdministrator(WindowHandle owner) override;
    std::uint32_t StartForServer(const std::wstring& server) override;

    bool underUac = false;          // unelevated on a system with UAC
    std::uint32_t startRefusal = 0;  // what StartAsAdministrator answers
    std::string savedBytes;
    std::wstring saveRefusal;  // when set, SaveFile fails with this reason
    bool designEnvironment = false;
    bool placementStored = false;
    FaultPlan* faults;
    int placementStoresMade = 0;
    int formServicesMade = 0;

private:
    EventLog& log_;
};

// One port as the fake spooler serves it; a missing string is served as a
// null address.
struct FakePort {
    std::optional<std::string> name;
    std::optional<std::string> monitor = std::string("Local Monitor");
    std::optional<std::string> description = std::string("Local Port");
    std::uint32_t type = 1;
};

FakePort Port(const char* name, std::uint32_t type = 1);

// Lays the ports out as the spooler does: the records first, then their
// strings, with addresses pointing into the caller's buffer.
class FakeSpooler final : public Spooler {
public:
    FakeSpooler(EventLog& log, FaultPlan* faults) : faults(faults), log_(log) {}
    SpoolerResult EnumPortsA(std::uint8_t* buffer, std::uint32_t bufferSize, std::int32_t& bytesNeeded,
                             std::int32_t& returned) override;
    SpoolerResult AddPortA(WindowHandle owner, const std::wstring& monitorName) override;
    SpoolerResult DeletePortW(WindowHandle owner, const std::wstring& portName) override;
    SpoolerResult ConfigurePortW(WindowHandle owner, const std::wstring& portName) override;
    std::vector<std::wstring> PrintersUsingPort(const std::wstring& portName) override;
    std::unique_ptr<PortWatch> WatchPorts(std::function<void()> onChanged) override;

    std::size_t BytesNeeded() const;
    std::function<void()> portsChanged;  // what the watch calls; empty once it is gone
    bool watching = true;                // what the watch says of itself
    std::vector<PortStrings> Strings() const;

    std::vector<FakePort> ports;
    std::vector<std::uint32_t> offeredSizes;  // bufferSize of each call
    // Runs before every data call (not the size call): lets a test add
    // ports between the two calls, or change the answer.
    std::function<void(int dataCall)> beforeDataCall;
    // Replaces the answer of the data call after the records are written.
    std::function<void(std::uint8_t* buffer, std::int32_t& bytesNeeded, std::int32_t& returned)> afterDataCall;
    std::optional<std::int32_t> sizeCallBytes;  // overrides the size call's byte count
    // Strings packed downwards from the end of the buffer offered, as
    // Windows' spooler lays them out; otherwise right after the records, as
    // Wine's does.
    bool windowsLayout = false;
    SpoolerResult result{true, 0};              // what AddPort/DeletePort/ConfigurePort return
    std::uint32_t enumError = 0;                // the error a refused EnumPorts leaves
    std::vector<std::wstring> printers;         // what PrintersUsingPort answers
    FaultPlan* faults;                          // its refusals leave no error code

private:
    bool Refused(const std::string& operation);
    static void LeaveRefusedCounts(EnumRefusal refusal, std::uint32_t bufferSize, std::int32_t& bytesNeeded,
                                   std::int32_t& returned);

    EventLog& log_;
    int dataCalls_ = 0;
};

// The port window's fakes, made from its design as the runtime makes its
// controls, wired together, with one fault plan for all.
struct Harness {
    Harness();
    FormControls& Controls() { return controls; }

    EventLog log;
    FaultPlan faults;
    FakeForm form{log, &faults};

private:
    template <typename Fake, typename... Arguments>
    Fake& Made(Arguments&&... arguments);
    FormControls& MadeFromDesign();

    std::vector<std::shared_ptr<void>> made_;  // the controls' fakes

public:
    FormControls controls{form};
    FakeTimer& tmrInit;
    FakeTimer& tmrPortsChanged;
    RecordingListView& lvPorts;
    FakeExtent& lvPortsExtent;
    FakeButton& cmdHelp;
    FakeButton& cmdDelete;
    FakeButton& cmdAdd;
    FakeButton& cmdSettings;
    FakeButton& cmdCancel;
    FakeMenuItem& MenuItemNamed(const std::string& name) { return static_cast<FakeMenuItem&>(controls.MenuItemNamed(name)); }
    FakeRuntime runtime{log, controls, &faults};
    FakeSupport support{log, &faults};
    FakeSpooler spooler{log, &faults};
};

// Entries of the log that start with the prefix, in order.
std::vector<std::string> EntriesStartingWith(const EventLog& log, const std::string& prefix);

}  // namespace dovrel::test
