// Event slots: an object and one of its member functions, or nothing.
// Raising an empty slot does nothing.
#pragma once

#include <functional>

class TComponent;

template <typename... Args>
class TEvent {
public:
    template <typename C>
    void Bind(C* object, void (C::*method)(Args...))
    {
        handler_ = [object, method](Args... args) { (object->*method)(args...); };
    }
    void Clear() { handler_ = nullptr; }
    bool Assigned() const { return static_cast<bool>(handler_); }
    void operator()(Args... args) const
    {
        if (handler_)
            handler_(args...);
    }

private:
    std::function<void(Args...)> handler_;
};

// The common event: Sender is the component that raises it.
using TNotifyEvent = TEvent<TComponent*>;

// Mouse events: which button, the shift keys held (a set of TShiftKey bits;
// empty is 0) and the position in screen or client coordinates.
enum class TMouseButton { mbLeft, mbRight, mbMiddle };
enum TShiftKey : unsigned { ssShift = 1, ssAlt = 2, ssCtrl = 4 };
using TShiftState = unsigned;
using TMouseEvent = TEvent<TComponent*, TMouseButton, TShiftState, int, int>;
using TMouseMoveEvent = TEvent<TComponent*, TShiftState, int, int>;
