// Window kinds and geometry on real windows: kinds, release, placement records, maximized windows.
#include <gtest/gtest.h>

#include "lib/forms_win32.h"
#include "support/screens_win32.h"
#include "ui/controls.h"

namespace {

class TDialPlace : public ui::Form {
  public:
    ui::Button Button1;
    TDialPlace() {
        Create(
            {.clientWidth = 300, .clientHeight = 200, .border = ui::Border::Sizeable, .left = 40, .top = 30});
        Build({{.control = &Button1, .left = 8, .top = 8, .width = 75, .height = 25, .caption = "OK"}});
    }
};

struct Bounds {
    int left, top, width, height;
    bool operator==(const Bounds&) const = default;
};

FormGeometry Geo(int left, int top, int width, int height, int32_t flags) {
    return {left, top, width, height, 0, 0, 0, 0, 0, 0, 0, 0, flags};
}

Bounds BoundsOfForm(const ui::Form& form) {
    Bounds b{};
    BoundsOf(form, b.left, b.top, b.width, b.height);
    return b;
}

TEST(KindForms, KindRulesRecentCreationAndRelease) {
    ResetFormFrame();
    TDialPlace* explorer = nullptr;
    CreateKindForm(KindBrowExp, explorer);
    ASSERT_NE(explorer, nullptr);
    HWND hwnd = explorer->Handle();
    EXPECT_FALSE(explorer->Scaled);
    EXPECT_FALSE(GetWindowLongA(hwnd, GWL_STYLE) & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
    EXPECT_TRUE(GetWindowLongA(hwnd, GWL_STYLE) & WS_SYSMENU);
    EXPECT_EQ(FormFrame().Recent, explorer);
    EXPECT_EQ(FormFrame().RecentKind, 42);

    TDialPlace* scratch = nullptr;
    CreateKindForm(KindUnrecorded, scratch);
    EXPECT_EQ(FormFrame().Recent, explorer); // kind 99 is not recorded
    TDialPlace* plain = nullptr;
    CreateKindForm(KindBrowPath, plain);
    EXPECT_TRUE(plain->Scaled);
    EXPECT_TRUE(GetWindowLongA(plain->Handle(), GWL_STYLE) & WS_MAXIMIZEBOX);
    EXPECT_EQ(FormFrame().RecentKind, KindBrowPath);

    ReleaseForm(explorer);
    EXPECT_EQ(explorer, nullptr);
    EXPECT_TRUE(IsWindow(hwnd)); // destroyed only once the queue reaches it
    testsupport::PumpMessages(50);
    EXPECT_FALSE(IsWindow(hwnd));
    ReleaseForm(plain);
    EXPECT_EQ(FormFrame().Recent, nullptr);
    ReleaseForm(scratch);
    testsupport::PumpMessages(20);
}

TEST(Placement, PlaceFormByFlags) {
    int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
    TDialPlace form;
    int w = form.Width(), h = form.Height();
    const std::pair<FormGeometry, Bounds> cases[] = {
        {Geo(0, 0, 0, 0, 0), {(sw - w) / 2, CentreTop(h, sh), w, h}},
        {Geo(10, 20, 999, 999, GeoHasPlacement | GeoPositionOnly), {10, 20, w, h}},
        {Geo(70, 80, 0, 0, GeoHasPlacement), {70, 80, w, h}}};
    for (const auto& [g, expected] : cases) {
        form.SetBounds(70, 80, w, h);
        PlaceForm(form, g);
        EXPECT_EQ(BoundsOfForm(form), expected) << "flags " << g.Flags;
    }
}

TEST(Placement, MaximizedWindowReopensMaximizedWithItsNormalPlace) {
    FormGeometry g{};
    {
        TDialPlace first;
        first.Show();
        first.SetBounds(50, 60, 420, 320);
        SaveGeometry(first, g); // the normal place, kept while the window is maximized
        first.SetWindowState(ui::WindowState::Maximized);
        testsupport::PumpMessages(100);
        SaveGeometry(first, g);
    }
    TDialPlace second;
    PlaceForm(second, g);
    second.Show();
    testsupport::PumpMessages(100);
    EXPECT_EQ(second.GetWindowState(), ui::WindowState::Maximized);
    second.SetWindowState(ui::WindowState::Normal);
    testsupport::PumpMessages(100);
    EXPECT_EQ(BoundsOfForm(second), (Bounds{50, 60, 420, 320}));
}

} // namespace
