// The application object: title, icon, the hidden application window that
// owns the forms and carries the taskbar entry, the main form, the message
// loop with its terminated mark, the error box and the orderly end.
#pragma once

#include <exception>
#include <string>

#include <windows.h>

#include "Component.h"

class TForm;

class TApplication : public TComponent {
public:
    TApplication();
    ~TApplication() override;

    void Initialize();
    void SetTitle(const std::string& title);
    const std::string& Title() const { return title_; }
    HWND Handle() const { return handle_; }
    HICON Icon() const { return icon_; }

    // Makes a form owned by the application and sets ref before the form's
    // OnCreate runs, so the creation handler can reach the form through it.
    // The first form made becomes the main form.
    template <typename T>
    void CreateForm(T*& ref)
    {
        T* form = Make<T>();
        ref = form;
        Created(form);
    }
    TForm* MainForm() const { return mainForm_; }

    // Shows the main form, then takes and dispatches messages until the
    // application is terminated; then destroys the main form.
    void Run();
    // Processes every pending message of the thread, then returns. A quit
    // message met here only sets the terminated mark.
    void ProcessMessages();
    // Posts the quit message that ends the loop.
    void Terminate();
    bool Terminated() const { return terminated_; }

    // The error box: caption the title, the error text with a full stop
    // added, error icon, OK. The program goes on afterwards.
    void ShowException(const std::exception& error);
    // Runs f and turns any error it raises into the error box.
    template <typename F>
    void Guard(F&& f)
    {
        try {
            f();
        } catch (const std::exception& error) {
            ShowException(error);
        }
    }

    // Session end: destroys the main form (which writes what it must) once,
    // however many windows report the end, and ends the process.
    [[noreturn]] void EndSession();
    // Answers the session-end messages for any window of the program; true
    // when message was one of them.
    static bool SessionMessage(UINT message, WPARAM wParam, LRESULT& result);

private:
    void Created(TForm* form);
    bool ProcessMessage();
    void DestroyMainForm();
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    std::string title_;
    HWND handle_ = nullptr;
    HICON icon_ = nullptr;
    TForm* mainForm_ = nullptr;
    bool terminated_ = false;
    bool ended_ = false;
};

extern TApplication* Application;

// Text with a full stop added, as error boxes show it.
std::string WithFullStop(std::string text);

// Runs f; an error it raises goes to the application's error box and no
// further, so a call of it can stand at the edge of a window procedure or a
// timer callback.
template <typename F>
void Guarded(F&& f)
{
    try {
        f();
    } catch (const std::exception& error) {
        if (Application)
            Application->ShowException(error);
    }
}
