// The framework's promises the program leans on: no error escapes a window
// procedure, and a check box reports every change of its state.
#include <stdexcept>
#include <vector>

#include "framework/Exception.h"

#include "TestSupport.h"

TEST_F(TamrikTest, AnErrorInAHandlerShowsTheErrorBoxAndTheRunGoesOn)
{
    StartProgram();
    std::string error;
    Handler fail{[&] { throw std::runtime_error(error); }};
    Form().btnHelp->OnClick.Bind(&fail, &Handler::Run);
    for (const char* text : {"Disk full", "Disk full."}) {
        Seams().boxes.clear();
        error = text;
        Click(Form().btnHelp);
        ASSERT_EQ(Seams().boxes.size(), 1u) << text;
        ExpectErrorBox(Seams().boxes[0], Application->Handle(), "Disk full.");
    }
    EXPECT_TRUE(IsWindow(Form().Handle()));
    EXPECT_FALSE(Application->Terminated());
}

TEST_F(TamrikTest, CheckBoxClickFollowsEveryChangeOfState)
{
    StartProgram();
    TCheckBox* box = Form().chkTelnet;
    ASSERT_FALSE(box->Checked());
    int clicks = 0;
    Handler count{[&] { ++clicks; }};
    box->OnClick.Bind(&count, &Handler::Run);
    const auto userClick = [box] { SendMessageA(box->Handle(), BM_CLICK, 0, 0); };
    const struct {
        std::function<void()> act;
        bool checked;
        int clicks;
    } steps[] = {
        {[box] { box->SetChecked(true); }, true, 1},
        {[box] { box->SetChecked(true); }, true, 1},  // no change, no click
        {[box] { box->SetChecked(false); }, false, 2},
        {userClick, true, 3},
        {userClick, false, 4},
        {[box] { box->OnClick.Clear(); }, false, 4},
        {userClick, true, 4},  // an empty slot does nothing
    };
    for (size_t i = 0; i < std::size(steps); ++i) {
        steps[i].act();
        EXPECT_EQ(box->Checked(), steps[i].checked) << "step " << i;
        EXPECT_EQ(clicks, steps[i].clicks) << "step " << i;
    }
    EXPECT_TRUE(Seams().boxes.empty());
}

namespace {

BOOL CALLBACK CollectWindow(HWND window, LPARAM list)
{
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    return TRUE;
}

}  // namespace

// The form is found from any of its controls the way GetAncestor(GA_ROOT)
// finds it, which Windows 95 lacks: through every level of nesting, but not
// from a window it merely owns.
TEST_F(TamrikTest, RootWindowIsTheTopLevelWindowAsGetAncestorFindsIt)
{
    StartProgram();
    const HWND form = Form().Handle();
    std::vector<HWND> windows{form};
    EnumChildWindows(form, CollectWindow, reinterpret_cast<LPARAM>(&windows));
    ASSERT_GT(windows.size(), 20u);
    size_t nested = 0;
    for (const HWND window : windows) {
        EXPECT_EQ(RootWindow(window), GetAncestor(window, GA_ROOT));
        EXPECT_EQ(RootWindow(window), form);
        nested += GetParent(window) != form && window != form;
    }
    EXPECT_GT(nested, 0u) << "no control below another control";
    const HWND owned = CreateWindowExA(0, "STATIC", "owned", WS_POPUP, 0, 0, 10, 10, form, nullptr, nullptr, nullptr);
    ASSERT_TRUE(owned);
    EXPECT_EQ(GetParent(owned), form);
    EXPECT_EQ(RootWindow(owned), owned);
    EXPECT_EQ(RootWindow(owned), GetAncestor(owned, GA_ROOT));
    DestroyWindow(owned);
    EXPECT_EQ(RootWindow(nullptr), nullptr);
}

// The library's errors arrive as the program's Exception, with the
// library's message and its figures filled in.
TEST(Runtime, LibraryErrorsAreExceptionsWithTheLibrarysMessage)
{
    const std::string text = "abc";
    try {
        (void)text.substr(5);
        FAIL() << "no error";
    } catch (const Exception& error) {
        EXPECT_STREQ(error.what(), "basic_string::substr: __pos (which is 5) > this->size() (which is 3)");
    }
    try {
        std::string().reserve(std::string().max_size() + 1);
        FAIL() << "no error";
    } catch (const Exception& error) {
        EXPECT_STREQ(error.what(), "basic_string::_M_create");
    }
    EXPECT_THROW((void)std::vector<int>().at(0), Exception);
}
