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
