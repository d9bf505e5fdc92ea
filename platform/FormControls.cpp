#include "platform/Error.h"
#include "platform/FormsRuntime.h"

namespace dovrel {

namespace {

template <typename Entry>
const Entry& Find(const std::map<std::string, Entry>& controls, const std::string& name)
{
    const auto found = controls.find(name);
    if (found == controls.end())
        throw Error(kErrInvalidIndex, L"The form has no control " + std::wstring(name.begin(), name.end()) + L".");
    return found->second;
}

}  // namespace

CommandButton& FormControls::Button(const std::string& name) const
{
    return *Find(buttons_, name);
}

ListViewControl& FormControls::ListView(const std::string& name) const
{
    return *Find(lists_, name).first;
}

ControlExtent& FormControls::Extent(const std::string& name) const
{
    return *Find(lists_, name).second;
}

Timer& FormControls::TimerNamed(const std::string& name) const
{
    return *Find(timers_, name);
}

MenuItem& FormControls::MenuItemNamed(const std::string& name) const
{
    return *Find(menuItems_, name);
}

void FormControls::Add(const std::string& name, CommandButton& button)
{
    buttons_[name] = &button;
}

void FormControls::Add(const std::string& name, ListViewControl& list, ControlExtent& extent)
{
    lists_[name] = {&list, &extent};
}

void FormControls::Add(const std::string& name, Timer& timer)
{
    timers_[name] = &timer;
}

void FormControls::Add(const std::string& name, MenuItem& item)
{
    menuItems_[name] = &item;
}

}  // namespace dovrel
