#include "Application.h"

#include <commctrl.h>

#include "Form.h"
#include "Platform.h"

TApplication* Application = nullptr;

namespace {

const char kApplicationClass[] = "TApplication";

}  // namespace

std::string WithFullStop(std::string text)
{
    if (text.empty() || text.back() != '.')
        text += '.';
    return text;
}

TApplication::TApplication() : TComponent(nullptr, "Application")
{
    Application = this;
}

TApplication::~TApplication()
{
    DestroyMainForm();
    DestroyOwned();
    if (handle_)
        DestroyWindow(handle_);
    if (Application == this)
        Application = nullptr;
}

void TApplication::Initialize()
{
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_TAB_CLASSES | ICC_UPDOWN_CLASS | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);

    const HINSTANCE instance = GetModuleHandleA(nullptr);
    icon_ = LoadIconA(instance, "MAINICON");
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = icon_;
    windowClass.lpszClassName = kApplicationClass;
    RegisterClassA(&windowClass);

    // Visible but of no size, so that it carries the taskbar entry until the
    // program hides it; it owns every form.
    const int x = GetSystemMetrics(SM_CXSCREEN) / 2;
    const int y = GetSystemMetrics(SM_CYSCREEN) / 2;
    handle_ = CreateWindowExA(0, kApplicationClass, title_.c_str(),
                              WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX | WS_VISIBLE,
                              x, y, 0, 0, nullptr, nullptr, instance, nullptr);
}

void TApplication::SetTitle(const std::string& title)
{
    title_ = title;
    if (handle_)
        SetWindowTextA(handle_, title_.c_str());
}

void TApplication::Created(TForm* form)
{
    Guard([form] { form->OnCreate(form); });
    if (!mainForm_)
        mainForm_ = form;
}

void TApplication::Run()
{
    if (mainForm_)
        mainForm_->Show();
    while (!terminated_) {
        if (!ProcessMessage())
            WaitMessage();
    }
    // A drain may have taken the quit message and a later close posted
    // another; left pending it would end the error box of the destruction
    // at once.
    MSG quit;
    while (PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
    DestroyMainForm();
}

bool TApplication::ProcessMessage()
{
    MSG msg;
    if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        return false;
    if (msg.message == WM_QUIT) {
        terminated_ = true;
        return true;
    }
    // Dialog keys (Tab, Enter, access keys) for the form the message is for.
    // There is no cancel button: Escape sends IDCANCEL, which no control
    // answers to, so it does nothing.
    const HWND root = msg.hwnd ? RootWindow(msg.hwnd) : nullptr;
    if (TForm* form = root ? TForm::FromHandle(root) : nullptr)
        if (form->DialogKey(msg) || IsDialogMessageA(root, &msg))
            return true;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
    return true;
}

void TApplication::ProcessMessages()
{
    while (ProcessMessage()) {
    }
}

void TApplication::Terminate()
{
    PostQuitMessage(0);
}

void TApplication::ShowException(const std::exception& error)
{
    Platform().messageBox(handle_, WithFullStop(error.what()).c_str(), title_.c_str(), MB_OK | MB_ICONERROR);
}

void TApplication::DestroyMainForm()
{
    if (!mainForm_)
        return;
    TForm* form = mainForm_;
    mainForm_ = nullptr;
    form->BeforeDestruction();
    Free(form);
}

void TApplication::EndSession()
{
    if (!ended_) {
        ended_ = true;
        DestroyMainForm();
    }
    ExitProcess(0);
}

bool TApplication::SessionMessage(UINT message, WPARAM wParam, LRESULT& result)
{
    if (message == WM_QUERYENDSESSION) {
        result = TRUE;  // the program never stands in the way
        return true;
    }
    if (message == WM_ENDSESSION) {
        if (wParam && Application)
            Application->EndSession();
        result = 0;
        return true;
    }
    return false;
}

LRESULT CALLBACK TApplication::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (SessionMessage(message, wParam, result))
        return result;
    switch (message) {
    case WM_CLOSE:
        // A close request to the application window closes the main form.
        if (Application && Application->MainForm())
            Application->Guard([] { Application->MainForm()->Close(); });
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}
