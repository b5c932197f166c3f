// Components with an owner: an owner destroys what it owns, last made first.
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

class TComponent {
public:
    explicit TComponent(TComponent* owner, std::string name = {});
    virtual ~TComponent();
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    TComponent* Owner() const { return owner_; }
    const std::string& Name() const { return name_; }

    // Makes a component owned by this one; the owner keeps it alive.
    template <typename T, typename... Args>
    T* Make(Args&&... args)
    {
        auto component = std::make_unique<T>(this, std::forward<Args>(args)...);
        T* raw = component.get();
        owned_.push_back(std::move(component));
        return raw;
    }

    // Destroys one owned component now (a menu item taken out of its menu).
    void Free(TComponent* component);

protected:
    // Destroys the owned components, last made first. Derived classes call
    // it from their destructors when their children must go before their own
    // window does.
    void DestroyOwned();

private:
    TComponent* owner_;
    std::string name_;
    std::vector<std::unique_ptr<TComponent>> owned_;
};
