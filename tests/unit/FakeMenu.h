// A tray menu of captions for the site items' rebuild: it starts with the
// three fixed items and counts the items it frees.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "app/LaunchText.h"

struct FakeMenu {
    static std::vector<std::string> Fixed() { return {"Properties...", "-", "E&xit Tamrik"}; }

    std::vector<std::unique_ptr<std::string>> items;
    int deleted = 0;
    FakeMenu()
    {
        for (const std::string& fixed : Fixed())
            items.push_back(std::make_unique<std::string>(fixed));
    }
    int Count() const { return static_cast<int>(items.size()); }
    void Insert(int index, std::string* item) { items.emplace(items.begin() + index, item); }
    void Delete(int index)
    {
        items.erase(items.begin() + index);
        ++deleted;
    }
    std::vector<std::string> Captions() const
    {
        std::vector<std::string> captions;
        for (const auto& item : items)
            captions.push_back(*item);
        return captions;
    }

    // What a popup does: the site items built afresh, captions as shown.
    void Rebuild(const std::vector<std::string>& sites)
    {
        RebuildSiteItems(
            *this, sites, [] { return new std::string("-"); },
            [](const std::string& site) { return new std::string(MenuCaption(site)); });
    }
};
