#include "Timer.h"

#include <map>

#include "Application.h"

namespace {

// Thread timers carry no pointer of their own: each is found by its id.
std::map<UINT_PTR, TTimer*>& Running()
{
    static std::map<UINT_PTR, TTimer*> timers;
    return timers;
}

}  // namespace

TTimer::TTimer(TComponent* owner, std::string name) : TComponent(owner, std::move(name)) {}

TTimer::~TTimer()
{
    enabled_ = false;
    Update();
}

void TTimer::SetEnabled(bool enabled)
{
    if (enabled == enabled_)
        return;
    enabled_ = enabled;
    Update();
}

void TTimer::SetInterval(UINT interval)
{
    if (interval == interval_)
        return;
    interval_ = interval;
    Update();
}

void TTimer::Update()
{
    if (id_) {
        KillTimer(nullptr, id_);
        Running().erase(id_);
        id_ = 0;
    }
    if (!enabled_ || interval_ == 0)
        return;
    id_ = SetTimer(nullptr, 0, interval_, Tick);
    if (id_)
        Running()[id_] = this;
}

void CALLBACK TTimer::Tick(HWND, UINT, UINT_PTR id, DWORD)
{
    const auto it = Running().find(id);
    if (it == Running().end())
        return;
    TTimer* timer = it->second;
    Guarded([timer] { timer->OnTimer(timer); });
}
