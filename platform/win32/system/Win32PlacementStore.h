#pragma once

#include "platform/SupportLibrary.h"

namespace dovrel::win32 {

// Keeps a form's placement in the registry of the current user, under
// HKCU\Software\Orvane\Dovrel (and \<section> when a section is given), in
// a binary value of the given name. What is stored is the window's normal
// rectangle, the one it has when neither minimised nor maximised, so a
// window closed minimised or maximised comes back normal, where it was
// before; and the resolution it was saved at, so that at another one the
// window keeps its place and its client area its size in inches.
class Win32PlacementStore final : public PlacementStore {
public:
    // Applies a stored placement to the form's window without showing it.
    // False, changing nothing, when nothing is stored or what is stored is
    // damaged, of another format, or would put the window's title bar off
    // every monitor attached now.
    bool LoadPlacement(const std::wstring& section, const std::wstring& name, Form& form, FormsRuntime& app,
                       std::int32_t a, std::int32_t b, std::int32_t c, Truth restoreState) override;
    void SavePlacement(const std::wstring& section, const std::wstring& name, Form& form, FormsRuntime& app,
                       Truth saveState) override;
};

}  // namespace dovrel::win32
