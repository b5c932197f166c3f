// A timer component: raises OnTimer every Interval milliseconds while it is
// enabled and has a handler.
#pragma once

#include <string>

#include <windows.h>

#include "Component.h"
#include "Event.h"

class TTimer : public TComponent {
public:
    explicit TTimer(TComponent* owner, std::string name = {});
    ~TTimer() override;

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    UINT Interval() const { return interval_; }
    void SetInterval(UINT interval);

    TNotifyEvent OnTimer;

private:
    void Update();
    static void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD);

    bool enabled_ = true;
    UINT interval_ = 1000;
    UINT_PTR id_ = 0;
};
