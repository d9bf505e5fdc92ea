#include "app/frmMainDesign.h"

namespace dovrel {

namespace {

ControlDefinition Timer(const char* name, float left, float top, std::int32_t interval, bool enabled)
{
    ControlDefinition timer{ControlKind::Timer, name, L"", left, top};
    timer.interval = interval;
    timer.enabled = enabled;
    return timer;
}

ControlDefinition ListView(const char* name, float left, float top, float width, float height, int id, int tabIndex)
{
    ControlDefinition list{ControlKind::ListView, name, L"", left, top, width, height, id};
    list.tabIndex = tabIndex;
    return list;
}

enum class Esc { Ignored, Presses };

ControlDefinition Button(const char* name, const wchar_t* caption, float left, float top, float width, float height,
                         int id, int tabIndex, Esc esc = Esc::Ignored)
{
    ControlDefinition button{ControlKind::CommandButton, name, caption, left, top, width, height, id};
    button.tabIndex = tabIndex;
    button.cancel = esc == Esc::Presses;
    return button;
}

}  // namespace

const FormDefinition& frmMainDesign()
{
    static const FormDefinition design = [] {
        FormDefinition form;
        form.name = "frmMain";
        form.caption = L"Ports";
        // Client area, in twips from the screen's top left corner; the window
        // opens where its placement or centring puts it.
        form.clientLeft = 1530;
        form.clientTop = 1950;
        form.clientWidth = 5475;
        form.clientHeight = 2355;
        form.sizable = true;
        form.controlBox = true;
        form.minButton = false;
        form.maxButton = false;
        form.showInTaskbar = true;
        form.keyPreview = true;
        //                   face       points weight italic underline struck  charset (Cyrillic)
        form.font = FontDefinition{L"Tahoma", 9, 400, false, false, false, 204};
        form.controls = {
            //    name        left  top   interval (ms)  enabled
            Timer("tmrInit",  3000, 960,  1,             true),
            // Gathers the spooler's news of a burst of changes into one update.
            Timer("tmrPortsChanged", 3000, 1440, 300,    false),
            // Brings a print server's ports up to date where the server
            // tells of no changes.
            Timer("tmrServerPoll", 3000, 1920, 30000,    false),
            //       name       left  top   width  height  id   tab
            ListView("lvPorts", 120,  120,  3795,  2115,   100, 0),
            //     name           caption         left  top   width  height  id   tab
            Button("cmdHelp",     L"Help",        4020, 1800, 1335,  375,    101, 5),
            Button("cmdDelete",   L"Delete...",   4020, 1380, 1335,  375,    102, 4),
            Button("cmdAdd",      L"Add...",      4020, 960,  1335,  375,    103, 3),
            Button("cmdSettings", L"Settings...", 4020, 540,  1335,  375,    104, 2),
            Button("cmdCancel",   L"Cancel",      4020, 120,  1335,  375,    105, 1, Esc::Presses),
        };
        form.menus = {
            {"mnuPorts",
             {
                 {"mnuSettings", L"&Settings...", true},
                 {"mnuDelete", L"&Delete...\tDel"},
                 {},
                 {"mnuAdd", L"&Add..."},
                 {"mnuRefresh", L"&Refresh\tF5"},
                 {},
                 {"mnuCopy", L"&Copy\tCtrl+C"},
                 {"mnuSaveAs", L"Save &list as..."},
                 {},
                 {"mnuConnect", L"Co&nnect to server..."},
             }},
        };
        return form;
    }();
    return design;
}

}  // namespace dovrel
