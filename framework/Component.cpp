#include "Component.h"

#include <algorithm>

TComponent::TComponent(TComponent* owner, std::string name)
    : owner_(owner), name_(std::move(name))
{
}

TComponent::~TComponent()
{
    DestroyOwned();
}

void TComponent::Free(TComponent* component)
{
    const auto it = std::find_if(owned_.begin(), owned_.end(),
                                 [component](const auto& p) { return p.get() == component; });
    if (it == owned_.end())
        return;
    std::unique_ptr<TComponent> doomed = std::move(*it);
    owned_.erase(it);
}

void TComponent::DestroyOwned()
{
    while (!owned_.empty()) {
        std::unique_ptr<TComponent> last = std::move(owned_.back());
        owned_.pop_back();
    }
}
