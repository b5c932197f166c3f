// The program at other DPIs than 96: the Properties window laid out by the
// DPI of its monitor and again when it moves to another, the tray images at
// the size the shell draws them, and the manifest that keeps the system from
// stretching the window. The DPI is faked through the seam: a Wine process
// keeps the DPI it started with.
#include "TestSupport.h"

#include <cmath>

#include <commctrl.h>

namespace {

constexpr UINT kDpiChanged = 0x02E0;  // WM_DPICHANGED

RECT InParent(HWND window)
{
    RECT rect;
    GetWindowRect(window, &rect);
    MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

int FontHeight(HFONT font)
{
    LOGFONTA face = {};
    GetObjectA(font, sizeof(face), &face);
    return -face.lfHeight;
}

struct Placed {
    const char* name;
    HWND window;
    HWND alsoCovers;  // the spin field's buttons, which share its rectangle
    TBounds table;    // 96-DPI figures; a label's size is its caption's: 0, 0
};

// One control of each kind and of each parent, with the window's fonts.
std::vector<Placed> Sample(const TfrmTamrik& form)
{
    return {
        {"PageControl1", form.PageControl1->Handle(), nullptr, {3, 4, 456, 171}},
        {"Panel1", form.Panel1->Handle(), nullptr, {4, 182, 216, 79}},
        {"Label2", form.Label2->Handle(), nullptr, {7, 6, 0, 0}},
        {"Edit1", form.Edit1->Handle(), nullptr, {7, 51, 202, 21}},
        {"btnOK", form.btnOK->Handle(), nullptr, {309, 227, 66, 25}},
        {"chkShowOnStartup", form.chkShowOnStartup->Handle(), nullptr, {229, 196, 153, 17}},
        {"chkMin", form.chkMin->Handle(), nullptr, {9, 8, 193, 17}},
        {"Label11", form.Label11->Handle(), nullptr, {12, 98, 0, 0}},
        {"txtIgnore", form.txtIgnore->Handle(), nullptr, {10, 115, 427, 21}},
        {"radShutdown", form.radShutdown->Handle(), nullptr, {37, 51, 148, 17}},
        {"spnDepth", form.spnDepth->Handle(), form.spnDepth->UpDown(), {200, 91, 64, 22}},
        {"Button4", form.Button4->Handle(), nullptr, {217, 58, 58, 23}},
        {"lstSites", form.lstSites->Handle(), nullptr, {237, 27, 207, 111}},
    };
}

// Every figure at dpi, within a pixel of the exact product (exact at 96);
// the fonts too, and each page fills its tab control below the tabs.
void ExpectLayoutAt(const TfrmTamrik& form, UINT dpi)
{
    SCOPED_TRACE("at " + std::to_string(dpi) + " DPI");
    const double scale = dpi / 96.0;
    const int slack = dpi == 96 ? 0 : 1;
    const auto scaled = [&](int seen, int table) { return std::abs(seen - table * scale) <= slack; };
    RECT client;
    GetClientRect(form.Handle(), &client);
    EXPECT_TRUE(scaled(client.right, 465) && scaled(client.bottom, 264)) << client.right << " by " << client.bottom;
    for (const Placed& control : Sample(form)) {
        RECT at = InParent(control.window);
        if (control.alsoCovers) {
            const RECT buttons = InParent(control.alsoCovers);
            UnionRect(&at, &at, &buttons);
        }
        EXPECT_TRUE(scaled(at.left, control.table.left) && scaled(at.top, control.table.top))
            << control.name << " at " << at.left << "," << at.top;
        if (control.table.width) {
            EXPECT_TRUE(scaled(at.right, control.table.left + control.table.width) &&
                        scaled(at.bottom, control.table.top + control.table.height))
                << control.name << " ends at " << at.right << "," << at.bottom;
        }
    }
    EXPECT_TRUE(scaled(FontHeight(form.Font()), 11) && scaled(FontHeight(form.btnOK->Font()), 11));
    EXPECT_TRUE(scaled(FontHeight(form.chkMin->Font()), 11) && scaled(FontHeight(form.Label2->Font()), 21));
    EXPECT_EQ(form.chkMin->Font(), form.chkTelnet->Font());
    // The label's size is its caption's in its font, as drawn.
    const HDC dc = GetDC(form.Label11->Handle());
    const HGDIOBJ previous = SelectObject(dc, form.Label11->Font());
    SIZE caption = {};
    GetTextExtentPoint32A(dc, "Applications to ignore:", 23, &caption);
    SelectObject(dc, previous);
    ReleaseDC(form.Label11->Handle(), dc);
    const RECT label = InParent(form.Label11->Handle());
    EXPECT_EQ(label.right - label.left, caption.cx);

    const HWND tabs = form.PageControl1->Handle();
    RECT area;
    GetClientRect(tabs, &area);
    TabCtrl_AdjustRect(tabs, FALSE, &area);
    for (int i = 0; i < form.PageControl1->PageCount(); ++i) {
        const RECT page = InParent(form.PageControl1->Page(i)->Handle());
        EXPECT_TRUE(EqualRect(&page, &area)) << "page " << i;
    }
}

}  // namespace

TEST_F(TamrikTest, PropertiesWindowIsLaidOutAtTheDpiOfItsMonitor)
{
    for (const UINT dpi : {96u, 120u, 144u, 192u}) {
        Seams().dpi = dpi;
        StartProgram();
        ExpectLayoutAt(Form(), dpi);
    }
}

// The system sends the new DPI with the rectangle it suggests; the window
// takes that rectangle, and everything in it the new DPI's figures and fonts.
TEST_F(TamrikTest, PropertiesWindowMovedToAMonitorOfAnotherDpiIsLaidOutAnew)
{
    StartProgram();
    Form().Show();
    const HFONT fontAt96 = Form().Font();
    RECT window, client;
    GetWindowRect(Form().Handle(), &window);
    GetClientRect(Form().Handle(), &client);
    const int frameWidth = window.right - window.left - client.right;
    const int frameHeight = window.bottom - window.top - client.bottom;
    const struct {
        UINT dpi;
        int left, top;
    } moves[] = {{144, 1100, 40}, {120, 200, 100}, {96, 10, 20}};
    for (const auto& move : moves) {
        const RECT suggested = {move.left, move.top, move.left + frameWidth + MulDiv(465, move.dpi, 96),
                                move.top + frameHeight + MulDiv(264, move.dpi, 96)};
        SendMessageA(Form().Handle(), kDpiChanged, MAKEWPARAM(move.dpi, move.dpi),
                     reinterpret_cast<LPARAM>(&suggested));
        GetWindowRect(Form().Handle(), &window);
        EXPECT_TRUE(EqualRect(&window, &suggested)) << "at " << move.dpi << " DPI";
        ExpectLayoutAt(Form(), move.dpi);
    }
    // The fonts of the DPIs left behind are gone.
    EXPECT_EQ(GetObjectType(fontAt96), 0u);
    EXPECT_EQ(GetObjectType(Form().Font()), static_cast<DWORD>(OBJ_FONT));
}

TEST_F(TamrikTest, TrayImagesAreMadeAtTheSizeTheShellDrawsSmallIcons)
{
    for (const int size : {16, 20, 24, 32}) {
        Seams().smallIconSize = size;
        StartProgram();
        const TfrmTamrik& form = Form();
        for (TQVTrayIcon* button : {form.trayTelnet, form.trayMSDOS, form.trayExplorer, form.trayIconMin,
                                    form.trayiconrestore, form.trayIconClose, form.trayIconShutdown})
            for (const TIcon* image : {&button->Icon1(), &button->Icon2()}) {
                if (image->Empty() && image == &button->Icon2())
                    continue;  // a launcher has no sunken image
                ICONINFO info = {};
                ASSERT_TRUE(GetIconInfo(image->Handle(), &info)) << button->Name();
                BITMAP mask = {};
                GetObjectA(info.hbmMask, sizeof(mask), &mask);
                DeleteObject(info.hbmMask);
                DeleteObject(info.hbmColor);
                EXPECT_EQ(mask.bmWidth, size) << button->Name();
            }
    }
}

// Each tray image is drawn at every size a shell asks for, so none of them
// is a scaled copy of another: the icon group holds an image of each size,
// and the one Windows picks for a size is that size's own. Checked here, not
// on the screen: Wine 8's own tray draws an icon larger than 16 pixels with
// its lowest rows shifted, a bare program's icons just the same.
TEST(TrayImages, AreDrawnAt16_20_24And32Pixels)
{
#pragma pack(push, 2)
    struct GroupEntry {
        BYTE width, height, colours, reserved;
        WORD planes, bits;
        DWORD bytes;
        WORD id;
    };
#pragma pack(pop)
    for (const char* name : {"TELNET", "MSDOS", "EXPLORER", "MINUP", "MINDOWN", "RESTOREUP", "RESTOREDOWN", "CLOSEUP",
                             "CLOSEDOWN", "SHUTDOWNUP", "SHUTDOWNDOWN"}) {
        const HRSRC found = FindResourceA(nullptr, name, MAKEINTRESOURCEA(14));  // RT_GROUP_ICON
        ASSERT_NE(found, nullptr) << name;
        auto* group = static_cast<BYTE*>(LockResource(LoadResource(nullptr, found)));
        const WORD count = reinterpret_cast<const WORD*>(group)[2];
        const auto* entries = reinterpret_cast<const GroupEntry*>(group + 6);
        std::vector<int> sizes;
        for (WORD i = 0; i < count; ++i)
            sizes.push_back(entries[i].width);
        EXPECT_EQ(sizes, (std::vector<int>{16, 20, 24, 32})) << name;
        for (WORD i = 0; i < count; ++i) {
            const int size = entries[i].width;
            EXPECT_EQ(LookupIconIdFromDirectoryEx(group, TRUE, size, size, LR_DEFAULTCOLOR), entries[i].id)
                << name << " at " << size;
        }
    }
}

// Per-monitor aware, v2 with v1 and system awareness for older systems, and
// still without an execution level, which would end file virtualization.
TEST(Manifest, DeclaresPerMonitorDpiAwarenessAndNoExecutionLevel)
{
    const HRSRC found = FindResourceA(nullptr, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
    ASSERT_NE(found, nullptr);
    const std::string manifest(static_cast<const char*>(LockResource(LoadResource(nullptr, found))),
                               SizeofResource(nullptr, found));
    EXPECT_NE(manifest.find(">true/pm</dpiAware>"), std::string::npos);
    EXPECT_NE(manifest.find(">PerMonitorV2, PerMonitor</dpiAwareness>"), std::string::npos);
    EXPECT_EQ(manifest.find("trustInfo"), std::string::npos);
    EXPECT_EQ(manifest.find("requestedExecutionLevel"), std::string::npos);
}
